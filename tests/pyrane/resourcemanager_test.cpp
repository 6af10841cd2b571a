#include "pyrane/resourcemanager.h"

#include "enginetest.h"
#include "pyrane/bitmapmanager.h"
#include "support/files.h"

namespace {

// Pictures of one colour written by relative name into a temporary working directory,
// and a bitmap manager that finds them.
class ResourceManagerTest : public EngineTest {
protected:
    void write(const std::filesystem::path& name, Rgb c, int w = 16) {
        std::filesystem::create_directories(name.parent_path().empty() ? "." : name.parent_path());
        TestSupport::writePng(name, w, 16, [=](int, int) { return Colour(c[0], c[1], c[2], 255); });
    }
    Rgb colourOf(const std::string& name) {
        const Colour p = manager.get(name)->pixelColor({0, 0});
        return {p.r, p.g, p.b};
    }

    TestSupport::CurrentDir inside{dir.dir()};
    BitmapManager manager{renderer};
};

} // namespace

TEST_F(ResourceManagerTest, TheWorkingDirectoryComesFirstThenThePictureFoldersInOrder) {
    EXPECT_EQ(manager.path(), (std::list<std::string>{"", "images/", "bitmaps/", "resources/",
                                                      "resources/images/", "resources/bitmaps/"}));
    write("player.png", red);
    write("images/player.png", green);
    write("images/enemy.png", green);
    write("resources/bitmaps/enemy.png", blue);
    // A folder of the right name is not the file.
    std::filesystem::create_directory("logo.png");
    write("resources/logo.png", blue);
    EXPECT_EQ(
        (std::vector<Rgb>{colourOf("player.png"), colourOf("enemy.png"), colourOf("logo.png")}),
        (std::vector<Rgb>{red, green, blue}));
    EXPECT_EQ(manager.getEntry("logo.png")->_path, "resources/");
}

TEST_F(ResourceManagerTest, APictureIsLoadedOnceWithoutTextureUntilActivatedOrPurged) {
    write("ship.png", red);
    Bitmap* ship = manager.get("ship.png");
    EXPECT_EQ(ship->texID(), 0u);
    write("ship.png", green);
    EXPECT_EQ(manager.get("ship.png"), ship);
    manager.activateAll();
    EXPECT_NE(ship->texID(), 0u);
    manager.purge();
    EXPECT_EQ(colourOf("ship.png"), green);
    // A known name keeps its first object; the second is deleted.
    EXPECT_FALSE(
        manager.addEntry(new Bitmap(dir.path("ship.png"), renderer, true), "ship.png", ""));
    EXPECT_EQ(colourOf("ship.png"), green);
}

TEST_F(ResourceManagerTest, FailuresNameTheFileAsAskedForOrAsFoundAndRecordNothing) {
    // The key is the name as asked for, letter case included.
    write("ship.png", red);
    EXPECT_EQ(errorOf([&] { manager.get("images/Ship.png"); }),
              "ResourceManager(Base) - cannot find resource file: images/Ship.png");
    write("images/odd.png", red, 48);
    EXPECT_EQ(errorOf([&] { manager.get("odd.png"); }),
              "file 'images/odd.png' is not pow2 pixelsize");
    EXPECT_EQ(manager.getEntry("odd.png"), nullptr);
    // Without a renderer nothing is made, and activating skips the empty entry.
    BitmapManager none;
    EXPECT_EQ(none.get("ship.png"), nullptr);
    none.activateAll();
}
