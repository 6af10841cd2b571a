#include "pyrane/bitmapmanager.h"

#include <gtest/gtest.h>

#include "pyrane/renderer2d.h"
#include "support/files.h"
#include "support/glwindow.h"
#include "support/pngwriter.h"
#include "support/tempdir.h"

namespace {

using Pyrane::Bitmap;
using Pyrane::BitmapManager;
using TestSupport::writePng;

// Pictures are written by relative name into a temporary working directory.
class BitmapManagerTest : public testing::Test {
protected:
    void SetUp() override { TestSupport::app(); }

    TestSupport::TempDir _dir;
    TestSupport::CurrentDir _inside{_dir.dir()};
};

TEST_F(BitmapManagerTest, PicturesAreSearchedInTheWorkingDirectoryThenThePictureFolders) {
    BitmapManager manager;
    EXPECT_EQ(manager.path(), (std::list<std::string>{"", "images/", "bitmaps/", "resources/",
                                                      "resources/images/", "resources/bitmaps/"}));
    manager.addPath(" images/ ");
    EXPECT_EQ(manager.path().size(), 6u);
}

TEST_F(BitmapManagerTest, BitmapsComeLoadedWithoutTextureUntilActivated) {
    Pyrane::Renderer2D renderer;
    BitmapManager manager(renderer);
    std::filesystem::create_directories("resources/bitmaps");
    std::filesystem::create_directories("bitmaps");
    writePng("resources/bitmaps/ship.png", 16, 8, 255, 0, 0, 255);
    writePng("bitmaps/font.png", 32, 32, 0, 0, 255, 50);

    Bitmap* ship = manager.get("ship.png");
    Bitmap* font = manager.get("font.png");
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->w(), 16);
    EXPECT_EQ(ship->h(), 8);
    EXPECT_EQ(ship->pixelColor({3, 3}).r, 255);
    EXPECT_NE(ship->bitmaskData(), nullptr);
    EXPECT_EQ(ship->texID(), 0u);
    EXPECT_EQ(manager.getEntry("ship.png")->_path, "resources/bitmaps/");

    manager.activateAll();
    EXPECT_NE(ship->texID(), 0u);
    EXPECT_NE(font->texID(), 0u);
    EXPECT_NE(ship->texID(), font->texID());
    EXPECT_EQ(manager.get("ship.png"), ship);
}

TEST_F(BitmapManagerTest, PictureErrorsNameTheFileFoundAndKeepNothing) {
    Pyrane::Renderer2D renderer;
    BitmapManager manager(renderer);
    std::filesystem::create_directories("images");
    writePng("images/odd.png", 48, 32, 0, 0, 0, 255);
    try {
        manager.get("odd.png");
        FAIL() << "a picture of 48 x 32 pixels loaded";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "file 'images/odd.png' is not pow2 pixelsize");
    }
    EXPECT_EQ(manager.getEntry("odd.png"), nullptr);
}

TEST_F(BitmapManagerTest, WithoutRendererNothingIsCreated) {
    Pyrane::Renderer2D renderer; // outlives the bitmaps, which give back their textures
    BitmapManager manager;
    writePng("ship.png", 8, 8, 255, 255, 255, 255);
    EXPECT_EQ(manager.get("ship.png"), nullptr);
    ASSERT_NE(manager.getEntry("ship.png"), nullptr);
    manager.activateAll(); // skips the empty entry

    manager.renderer(renderer);
    manager.purge();
    ASSERT_NE(manager.get("ship.png"), nullptr);
    EXPECT_EQ(manager.get("ship.png")->w(), 8);
}

} // namespace
