#include "common_classes/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/environment.h"
#include "support/files.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

using TestSupport::EnvironmentVariable;

TEST(Folders, AssetsAreBesideTheProgramElseInTheInstalledShareFolder) {
    TestSupport::TempDir root;
    const fs::path build = root.dir() / "build", bin = root.dir() / "usr/bin";
    TestSupport::writeFile((build / "bitmaps/player.png").string(), "");
    TestSupport::writeFile((root.dir() / "usr/share/kestrane/bitmaps/player.png").string(), "");
    fs::create_directories(bin);
    fs::create_directories(root.dir() / "lonely");

    EXPECT_EQ(Folders::assets(build, "../share/kestrane", "bitmaps"), build);
    EXPECT_EQ(Folders::assets(bin, "../share/kestrane", "bitmaps"),
              root.dir() / "usr/share/kestrane");
    // Neither has them: the program's own folder, where the loaders then name the files.
    EXPECT_EQ(Folders::assets(root.dir() / "lonely", "../share/kestrane", "bitmaps"),
              root.dir() / "lonely");
}

TEST(Folders, PlayerDataIsBesideTheProgramWhereWritableElseInTheUsersDataFolder) {
    TestSupport::TempDir root;
    const fs::path portable = root.dir() / "portable", installed = root.dir() / "bin";
    fs::create_directories(portable / "data");
    fs::create_directories(installed);
    const std::string home = (root.dir() / "home").string();
    const std::string xdg = (root.dir() / "xdg").string();
    EnvironmentVariable homeVariable("HOME", home);

    const struct {
        fs::path program;
        std::optional<std::string> xdgDataHome;
        fs::path expected;
    } cases[] = {
        {portable, xdg, portable / "data"},
        {installed, xdg, fs::path(xdg) / "kestrane"},
        {installed, std::nullopt, fs::path(home) / ".local/share/kestrane"},
        {installed, "", fs::path(home) / ".local/share/kestrane"},
        // A relative XDG_DATA_HOME is not to be used.
        {installed, "relative/xdg", fs::path(home) / ".local/share/kestrane"},
    };
    for (const auto& c : cases) {
        EnvironmentVariable xdgVariable("XDG_DATA_HOME", c.xdgDataHome);
        EXPECT_EQ(Folders::playerData(c.program, "kestrane"), c.expected)
            << c.program << " with XDG_DATA_HOME " << c.xdgDataHome.value_or("unset");
    }

    // data/ beside the program that cannot be written is passed over, as is a file of
    // that name (root may write anywhere, so that case is only checked for others).
    EnvironmentVariable xdgVariable("XDG_DATA_HOME", xdg);
    TestSupport::writeFile((installed / "data").string(), "not a folder");
    EXPECT_EQ(Folders::playerData(installed, "kestrane"), fs::path(xdg) / "kestrane");
    if (geteuid() != 0) {
        fs::permissions(portable / "data", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(Folders::playerData(portable, "kestrane"), fs::path(xdg) / "kestrane");
        fs::permissions(portable / "data", fs::perms::owner_all);
    }
}

TEST(Folders, MakeBuildsTheMissingFoldersForTheOwnerOnly) {
    TestSupport::TempDir root;
    const fs::path deep = root.dir() / "home/.local/share/kestrane";
    ASSERT_TRUE(Folders::make(deep));
    for (fs::path f = deep; f != root.dir(); f = f.parent_path()) {
        struct stat info;
        ASSERT_EQ(stat(f.c_str(), &info), 0) << f;
        EXPECT_EQ(info.st_mode & 0777, 0700u) << f;
    }
    EXPECT_TRUE(Folders::make(deep)) << "a folder that is there already";
    // A file where a folder should be.
    TestSupport::writeFile((root.dir() / "file").string(), "x");
    EXPECT_FALSE(Folders::make(root.dir() / "file"));
    EXPECT_FALSE(Folders::make(root.dir() / "file/below"));
}

} // namespace
