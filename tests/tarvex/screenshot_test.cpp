// Screenshots: where they go, what they hold and what the player is told.
#include "tarvex/screenshot.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

#include "support/files.h"
#include "support/gamesession.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

using TestSupport::Pixel;

// The files in a folder, the shorter names first: a shot before the second of its second.
std::vector<fs::path> shotsIn(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.push_back(entry.path());
    return found;
}

// A PNG file's pixels, rows from the top.
std::vector<Pixel> readPng(const fs::path& file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return {};
    image.format = PNG_FORMAT_RGBA;
    std::vector<Pixel> pixels(image.width * image.height);
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    width = int(image.width);
    height = int(image.height);
    return pixels;
}

class ScreenshotTest : public TestSupport::GameTest {
protected:
    void TearDown() override {
        game.screenshotFolder.clear();
        GameTest::TearDown();
    }
    // One frame of the title menu that stands still.
    static void still() {
        Tarvex::stateMenu.dt = 0;
        Tarvex::stateMenu.frame();
    }
    TestSupport::TempDir dir;
};

TEST_F(ScreenshotTest, F12SavesThePictureFourTimesLargerUnderANewNameAndSaysSo) {
    game.screenshotFolder = dir.dir().string();
    keyDown(VK_F12);
    testing::internal::CaptureStderr();
    still();
    const std::string said = testing::internal::GetCapturedStderr();
    const std::vector<Pixel> shown = readPicture();
    ASSERT_EQ(shotsIn(dir.dir()).size(), 1u);
    const fs::path first = shotsIn(dir.dir())[0];
    keyDown(VK_F12);
    still();

    // A second shot never replaces the first, even within the same second.
    const std::vector<fs::path> shots = shotsIn(dir.dir());
    ASSERT_EQ(shots.size(), 2u) << "the second of the same second has a name of its own";
    const std::string name = first.filename().string();
    EXPECT_TRUE(name.starts_with("kestrane-20") && name.ends_with(".png")) << name;
    EXPECT_EQ(said, "kestrane: screenshot saved in " + first.string() + "\n");

    int width = 0, height = 0;
    const std::vector<Pixel> file = readPng(first, width, height);
    ASSERT_EQ(std::pair(width, height), std::pair(640, 400));
    // Below the notice, which the field shows over the picture saved, each 4 x 4 block
    // of the file is the pixel the player saw.
    int wrong = 0, differentOverNotice = 0;
    for (int row = 0; row < 400; ++row)
        for (int x = 0; x < 640; ++x) {
            const Pixel seen = shown[(99 - row / 4) * 160 + x / 4];
            const bool differs = file[std::size_t(row) * 640 + x] != seen;
            (row < 4 * 20 ? differentOverNotice : wrong) += differs;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(differentOverNotice, 0) << "the notice is on the field, not in the file";
}

TEST_F(ScreenshotTest, AFolderThatCannotBeWrittenIsToldOnTheFieldAndTheGameGoesOn) {
    game.screenshotFolder = dir.path("missing/folder");
    keyDown(VK_F12);
    testing::internal::CaptureStderr();
    still();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(said.starts_with("kestrane: no screenshot: cannot write in ")) << said;
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
}

TEST(ScreenshotFolder, ThePicturesFolderOfTheUserDirsElseTildePicturesElseTheFallback) {
    TestSupport::TempDir home;
    const std::string was = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.dir().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_PICTURES_DIR");
    EXPECT_EQ(Tarvex::Screenshot::folder("/data"), "/data");
    fs::create_directory(home.dir() / "Pictures");
    EXPECT_EQ(Tarvex::Screenshot::folder("/data"), home.path("Pictures"));
    TestSupport::writeFile(home.path(".config/user-dirs.dirs"),
                           "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(Tarvex::Screenshot::folder("/data"), home.path("Bilder"));
    setenv("HOME", was.c_str(), 1);
}

} // namespace
