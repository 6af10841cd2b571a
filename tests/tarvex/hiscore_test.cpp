// Saves that survive a kill and a data folder that cannot be written, tried on a program
// that saves the settings and the hiscore through the game's own functions.
#include "tarvex/hiscore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <sstream>
#include <thread>

#include "support/atomicfiletest.h"
#include "support/childprocess.h"
#include "support/files.h"
#include "support/saveversions.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;
using TestSupport::ChildProcess;
using TestSupport::readFile;

namespace {

// The settings file exactly as a whole save of version n writes it.
std::string settingsText(int n, const TestSupport::TempDir& dir) {
    const std::string file = dir.path("expected.conf");
    EXPECT_TRUE(TestSupport::savedSettings(n).save(file));
    return readFile(file);
}

// The number of the last whole "tag N" line in output, or fallback when there is none.
int lastSaved(const std::string& output, char tag, int fallback) {
    int last = fallback;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        if (!lines.eof() && line.size() > 2 && line[0] == tag && line[1] == ' ')
            last = std::stoi(line.substr(2));
    return last;
}

// The number after "\nversion  " in a settings file's text; -1 when there is none.
int versionIn(const std::string& text) {
    const std::string key = "\nversion  ";
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return -1;
    const std::size_t end = text.find('\n', at + key.size());
    if (end == std::string::npos) return -1;
    return std::stoi(text.substr(at + key.size(), end - at - key.size()));
}

TEST(Saving, AKillAtAnyMomentLeavesEachFileOldOrNewAndWhole) {
    TestSupport::TempDir scratch, data;
    const std::string conf = data.path("kestrane.conf"), dat = data.path("kestrane.dat");
    ASSERT_TRUE(TestSupport::savedSettings(0).save(conf));
    ASSERT_TRUE(Tarvex::writeHiscoreFile(dat, TestSupport::savedHiscore(0)));
    int settingsVersion = 0, hiscoreVersion = 0, leftovers = 0;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> microseconds(0, 12000);
    for (int round = 0; round < 200; ++round) {
        const int first = std::max(settingsVersion, hiscoreVersion) + 1;
        ChildProcess child(KESTRANE_SAVECHILD,
                           {"loop", data.dir().string(), std::to_string(first)});
        // The kill comes at a random moment after the first save, however slow the machine.
        ASSERT_TRUE(child.readUntil("s " + std::to_string(first) + "\n", 30)) << child.output();
        const auto killAt =
            std::chrono::steady_clock::now() + std::chrono::microseconds(microseconds(random));
        while (std::chrono::steady_clock::now() < killAt)
            child.read(0.001);
        const int status = child.kill(SIGKILL);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << child.output();

        // Each file holds the last version the child said it saved (the old one when it
        // said none), or the one it was saving when it died, whole.
        auto wholeVersions = [&](char tag, int old) {
            const int said = lastSaved(child.output(), tag, -1);
            return said < 0 ? std::pair(old, first) : std::pair(said, said + 1);
        };
        const auto [oldSettings, newSettings] = wholeVersions('s', settingsVersion);
        const std::string text = readFile(conf);
        settingsVersion = versionIn(text);
        ASSERT_GE(settingsVersion, 0) << "round " << round << ": " << text.substr(0, 80);
        ASSERT_TRUE(settingsVersion == oldSettings || settingsVersion == newSettings)
            << "round " << round << ": " << settingsVersion;
        ASSERT_EQ(text, settingsText(settingsVersion, scratch)) << "round " << round;

        const auto [oldHiscore, newHiscore] = wholeVersions('h', hiscoreVersion);
        const std::optional<float> hiscore = Tarvex::readHiscoreFile(dat);
        ASSERT_TRUE(hiscore && readFile(dat).size() == 4) << "round " << round;
        hiscoreVersion = int(*hiscore / 10);
        ASSERT_EQ(*hiscore, TestSupport::savedHiscore(hiscoreVersion));
        ASSERT_TRUE(hiscoreVersion == oldHiscore || hiscoreVersion == newHiscore)
            << "round " << round << ": " << hiscoreVersion;

        // A kill in the middle of writing leaves that write's own file beside the two.
        for (const fs::directory_entry& entry : fs::directory_iterator(data.dir()))
            if (entry.path() != conf && entry.path() != dat) {
                fs::remove(entry.path());
                ++leftovers;
            }
    }
    // Every round saved before its kill, and some kills fell in the middle of a write (how
    // many depends on how busy the machine is).
    EXPECT_GT(settingsVersion, 200) << "every round saved";
    EXPECT_GT(leftovers, 0) << "some kills came in the middle of a write";
    std::cout << "[          ] " << std::max(settingsVersion, hiscoreVersion) << " versions saved, "
              << leftovers << " unfinished writes killed\n";
}

TEST(Saving, AFolderThatCannotBeWrittenKeepsTheOldFilesAndIsNamedOnce) {
    TestSupport::TempDir dir;
    const fs::path data = dir.dir() / "data";
    const std::string conf = (data / "kestrane.conf").string(),
                      dat = (data / "kestrane.dat").string();
    fs::create_directories(data);
    ASSERT_TRUE(TestSupport::savedSettings(7).save(conf));
    ASSERT_TRUE(Tarvex::writeHiscoreFile(dat, TestSupport::savedHiscore(7)));
    const std::string oldSettings = readFile(conf), oldHiscore = readFile(dat);
    fs::permissions(dir.dir(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(data, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);

    const std::string said = dir.path("stderr.txt");
    ChildProcess child(KESTRANE_SAVECHILD, {"readonly", data.string()}, said);
    const int status = child.wait();
    fs::permissions(data, fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status)) << child.output();
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the saver could not give up its rights";
    EXPECT_EQ(child.output(), "settings 0\nhiscore 0\nsettings 0\nhiscore 0\nreads 70.000000\n");
    EXPECT_EQ(readFile(conf), oldSettings);
    EXPECT_EQ(readFile(dat), oldHiscore);
    EXPECT_EQ(TestSupport::filesIn(data), 2);
    EXPECT_EQ(readFile(said), "Kestrane: the hiscore was not saved: cannot create a file beside " +
                                  dat + ": Permission denied\n");
}

} // namespace
