#include "pyrane/resourcemanager.h"

#include "enginetest.h"
#include "pyrane/bitmapmanager.h"
#include "support/files.h"

using TestSupport::writeFile;

namespace {

// Loads a file's text and counts how often it had to.
class TextManager : public Pyrane::ResourceManager<std::string> {
public:
    std::string* createObject(const std::string& fullPath) override {
        ++_created;
        const std::string text = TestSupport::readFile(fullPath);
        if (text == "broken") throw std::runtime_error("broken file");
        return new std::string(text);
    }
    int _created = 0;
};

// Files are written by relative name into a temporary working directory.
class ResourceManagerTest : public testing::Test {
protected:
    TestSupport::TempDir _dir;
    TestSupport::CurrentDir _inside{_dir.dir()};
    TextManager _manager;
};

} // namespace

TEST_F(ResourceManagerTest, TheWorkingDirectoryComesFirstThenTheAddedOnesInOrder) {
    writeFile("player.png", "here");
    writeFile("images/player.png", "images");
    writeFile("images/enemy.png", "images");
    writeFile("bitmaps/enemy.png", "bitmaps");
    // A folder of the right name is not the file.
    std::filesystem::create_directory("logo.png");
    writeFile("bitmaps/logo.png", "bitmaps");
    for (const char* dir : {" \timages//\n", "bitmaps", "images/", " \t\n"})
        _manager.addPath(dir);
    EXPECT_EQ(_manager.path(), (std::list<std::string>{"", "images/", "bitmaps/"}));
    EXPECT_EQ(*_manager.get("player.png") + *_manager.get("enemy.png") + *_manager.get("logo.png"),
              "hereimagesbitmaps");
    EXPECT_EQ(_manager.getEntry("logo.png")->_path, "bitmaps/");
}

TEST_F(ResourceManagerTest, ANameIsLoadedOnceUntilPurgedAndFailuresRecordNothing) {
    writeFile("player.png", "ship");
    std::string* first = _manager.get("player.png");
    EXPECT_EQ(_manager.get("player.png"), first);
    EXPECT_EQ(_manager._created, 1);
    writeFile("player.png", "new");
    _manager.purge();
    EXPECT_EQ(*_manager.get("player.png"), "new");
    // A known name keeps its first object; the second is deleted.
    EXPECT_FALSE(_manager.addEntry(new std::string("second"), "player.png", ""));
    EXPECT_EQ(*_manager.get("player.png"), "new");

    // The key is the name as asked for, letter case included.
    EXPECT_EQ(errorOf([&] { _manager.get("images/Player.png"); }),
              "ResourceManager(Base) - cannot find resource file: images/Player.png");
    writeFile("bad.png", "broken");
    EXPECT_EQ(errorOf([&] { _manager.get("bad.png"); }), "broken file");
    EXPECT_EQ(_manager.getEntry("bad.png"), nullptr);
    EXPECT_EQ(_manager._created, 3);
}

TEST_F(ResourceManagerTest, BitmapManagerLoadsInactiveBitmapsFromThePictureFolders) {
    TestSupport::app();
    Pyrane::Renderer2D renderer;
    Pyrane::BitmapManager manager(renderer);
    EXPECT_EQ(manager.path(), (std::list<std::string>{"", "images/", "bitmaps/", "resources/",
                                                      "resources/images/", "resources/bitmaps/"}));
    auto opaque = [](int, int) { return Colour(255, 0, 0, 255); };
    std::filesystem::create_directories("resources/bitmaps");
    std::filesystem::create_directories("images");
    TestSupport::writePng("resources/bitmaps/ship.png", 16, 8, opaque);
    TestSupport::writePng("images/odd.png", 48, 32, opaque);

    Pyrane::Bitmap* ship = manager.get("ship.png");
    EXPECT_EQ(ship->pixelColor({3, 3}), Colour(255, 0, 0, 255));
    EXPECT_EQ(ship->texID(), 0u);
    manager.activateAll();
    EXPECT_NE(ship->texID(), 0u);
    // Errors name the file as found.
    EXPECT_EQ(errorOf([&] { manager.get("odd.png"); }),
              "file 'images/odd.png' is not pow2 pixelsize");
    // Without a renderer nothing is made, and activating skips the empty entry.
    Pyrane::BitmapManager none;
    EXPECT_EQ(none.get("ship.png"), nullptr);
    none.activateAll();
}
