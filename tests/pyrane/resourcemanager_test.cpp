#include "pyrane/resourcemanager.h"

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/tempdir.h"

namespace {

using TestSupport::TempDir;
using TestSupport::writeFile;

// Loads a file's text and counts how often it had to.
class TextManager : public Pyrane::ResourceManager<std::string> {
public:
    std::string* createObject(const std::string& fullPath) override {
        ++_created;
        std::ifstream in(fullPath, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (text == "broken") throw std::runtime_error("broken file");
        return new std::string(text);
    }
    int _created = 0;
};

// A temporary working directory holding files by relative path.
class ResourceManagerTest : public testing::Test {
protected:
    TempDir _dir;
    TestSupport::CurrentDir _inside{_dir.dir()};
    TextManager _manager;
};

TEST_F(ResourceManagerTest, TheWorkingDirectoryComesFirstThenTheAddedOnesInOrder) {
    writeFile("player.png", "here");
    writeFile("images/player.png", "images");
    writeFile("images/enemy.png", "images");
    writeFile("bitmaps/enemy.png", "bitmaps");
    writeFile("bitmaps/font.png", "bitmaps");
    _manager.addPath("images");
    _manager.addPath("bitmaps");

    EXPECT_EQ(*_manager.get("player.png"), "here");
    EXPECT_EQ(*_manager.get("enemy.png"), "images");
    EXPECT_EQ(*_manager.get("font.png"), "bitmaps");
    EXPECT_EQ(_manager.getEntry("player.png")->_path, "");
    EXPECT_EQ(_manager.getEntry("font.png")->_path, "bitmaps/");
    EXPECT_EQ(_manager.getEntry("font.png")->_filename, "font.png");
}

TEST_F(ResourceManagerTest, AFolderOfTheRightNameIsNotTheFile) {
    std::filesystem::create_directory("logo.png");
    writeFile("images/logo.png", "images");
    _manager.addPath("images");
    EXPECT_EQ(*_manager.get("logo.png"), "images");
}

TEST_F(ResourceManagerTest, ANameIsLoadedOnceAndServedFromTheCacheAfterwards) {
    writeFile("player.png", "ship");
    std::string* first = _manager.get("player.png");
    std::filesystem::remove("player.png");
    EXPECT_EQ(_manager.get("player.png"), first);
    EXPECT_EQ(_manager._created, 1);

    // The cache key is the name as asked for, letter case included.
    writeFile("images/player.png", "ship");
    EXPECT_NE(_manager.get("images/player.png"), first);
    EXPECT_EQ(_manager.getEntry("Player.png"), nullptr);
    EXPECT_THROW(_manager.get("Player.png"), std::runtime_error);
    EXPECT_EQ(_manager._created, 2);
}

TEST_F(ResourceManagerTest, AMissingFileIsReportedByTheNameAskedFor) {
    _manager.addPath("images");
    try {
        _manager.get("images/none.png");
        FAIL() << "a missing file was found";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "ResourceManager(Base) - cannot find resource file: images/none.png");
    }
    EXPECT_EQ(_manager.getEntry("images/none.png"), nullptr);
}

TEST_F(ResourceManagerTest, AFailedLoadRecordsNothing) {
    writeFile("bad.png", "broken");
    EXPECT_THROW(_manager.get("bad.png"), std::runtime_error);
    EXPECT_EQ(_manager.getEntry("bad.png"), nullptr);
    writeFile("bad.png", "mended");
    EXPECT_EQ(*_manager.get("bad.png"), "mended");
}

TEST_F(ResourceManagerTest, SearchDirectoriesAreTrimmedAndListedOnce) {
    EXPECT_EQ(_manager.path(), (std::list<std::string>{""}));
    _manager.addPath("images");
    _manager.addPath(" \timages//\n");
    _manager.addPath("resources/images/");
    _manager.addPath(" \t\n");
    _manager.addPath("//");
    EXPECT_EQ(_manager.path(), (std::list<std::string>{"", "images/", "resources/images/"}));

    writeFile("resources/images/tile.png", "tile");
    EXPECT_EQ(*_manager.get("tile.png"), "tile");
}

TEST_F(ResourceManagerTest, PurgeForgetsEverythingSoTheNextGetLoadsAgain) {
    writeFile("player.png", "old");
    _manager.get("player.png");
    _manager.purge();
    EXPECT_EQ(_manager.getEntry("player.png"), nullptr);
    writeFile("player.png", "new");
    EXPECT_EQ(*_manager.get("player.png"), "new");
    EXPECT_EQ(_manager._created, 2);
}

TEST_F(ResourceManagerTest, AddingAKnownNameKeepsTheFirstObject) {
    EXPECT_TRUE(_manager.addEntry(new std::string("first"), "name", "dir/"));
    EXPECT_FALSE(_manager.addEntry(new std::string("second"), "name", ""));
    EXPECT_EQ(*_manager.get("name"), "first");
    EXPECT_EQ(_manager.getEntry("name")->_path, "dir/");
}

} // namespace
