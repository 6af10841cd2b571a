// The command line: the options, the help they write, and the program itself answering
// --help, --version and mistakes before it opens any window.
#include "tarvex/commandline.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <vector>

#include "support/command.h"
#include "support/files.h"
#include "support/tempdir.h"

namespace {

struct Reading {
    Tarvex::Options options;
    std::string out, err;
};

Reading read(std::vector<const char*> args) {
    args.insert(args.begin(), "kestrane");
    std::ostringstream out, err;
    Reading r{Tarvex::readCommandLine(int(args.size()), args.data(), out, err), "", ""};
    r.out = out.str();
    r.err = err.str();
    return r;
}

// What the program writes to standard error about a mistake on its command line.
std::string usageError(const std::string& what) {
    return "kestrane: " + what + "\nTry 'kestrane --help' for more information.\n";
}

TEST(CommandLine, OptionsAnswerAndStopOrRunTheGame) {
    const std::string help = Tarvex::helpText(), version = Tarvex::versionText();
    const struct {
        std::vector<const char*> args;
        bool run;
        int exitCode;
        std::string out, err;
    } cases[] = {
        {{}, true, 0, "", ""},
        {{"--help"}, false, 0, help, ""},
        {{"--version"}, false, 0, version, ""},
        // The first option that ends the program decides; what follows is not read.
        {{"--version", "--help"}, false, 0, version, ""},
        {{"--help", "--no-such-option"}, false, 0, help, ""},
        {{"--no-such-option", "--help"},
         false,
         2,
         "",
         usageError("unknown option '--no-such-option'")},
        {{"-h"}, false, 2, "", usageError("unknown option '-h'")},
        {{"--help=yes"}, false, 2, "", usageError("unknown option '--help=yes'")},
        {{"save.dat"}, false, 2, "", usageError("unexpected argument 'save.dat'")},
        {{"-"}, false, 2, "", usageError("unexpected argument '-'")},
    };
    for (const auto& c : cases) {
        const Reading r = read(c.args);
        SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args.front());
        EXPECT_EQ(r.options.run, c.run);
        EXPECT_EQ(r.options.exitCode, c.exitCode);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(CommandLine, HelpListsTheOptionsInEightyColumns) {
    const std::string help = Tarvex::helpText();
    for (const char* line : {"Usage: kestrane [OPTION]...\n", "\n  --help  ", "\n  --version  ",
                             "\n  --record FILE  ", "\n  --replay FILE  ", "\n  --scores  "})
        EXPECT_NE(help.find(line), std::string::npos) << line << " missing from\n" << help;
    // Every line fits a terminal of 80 columns.
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 80u) << line;
    int major, minor, patch, end = 0;
    const std::string version = Tarvex::versionText();
    EXPECT_TRUE(
        std::sscanf(version.c_str(), "kestrane %d.%d.%d\n%n", &major, &minor, &patch, &end) == 3 &&
        end == int(version.size()) && version.back() == '\n')
        << version;
}

// The replay is read, and the recording's folder checked, before the window opens.
TEST(CommandLine, ReplayAndRecordFilesAreCheckedBeforeTheGameRuns) {
    TestSupport::TempDir dir;
    const std::string replay = TestSupport::writeFile(
        dir.path("game.replay"),
        "kestrane-replay 1\nseeds move=1 fire=2 background=3 play=4\npaused 0\n0.5 +Z\nend\n");
    const Reading good = read({"--replay", replay.c_str()});
    EXPECT_TRUE(good.options.run) << good.err;
    ASSERT_TRUE(good.options.replay);
    EXPECT_EQ(*good.options.replay, Tarvex::loadReplayFile(replay).replay);

    // Pictures are saved by absolute paths: the game changes its working folder.
    const Reading shots =
        read({"--replay", replay.c_str(), "--shot", "12:b.png", "--shot", "3:a.png"});
    EXPECT_TRUE(shots.options.run) << shots.err;
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(shots.options.shots,
              (std::vector<Tarvex::ReplayShot>{{12, here + "/b.png"}, {3, here + "/a.png"}}));

    const Reading recording = read({"--record", "game.replay"});
    EXPECT_TRUE(recording.options.run) << recording.err;
    EXPECT_EQ(recording.options.recordFile,
              (std::filesystem::current_path() / "game.replay").string());

    const std::string bad =
        TestSupport::writeFile(dir.path("bad.replay"), "kestrane-replay 1\nseeds");
    const std::string folder = dir.dir().string();
    const struct {
        std::vector<const char*> args;
        int exitCode;
        std::string err;
    } faults[] = {
        {{"--replay", bad.c_str()},
         1,
         "kestrane: " + bad +
             ":2: expected the seeds line \"seeds move=N fire=N background=N "
             "play=N\"\n"},
        {{"--record", "/nonexistent/game.replay"},
         1,
         "kestrane: cannot record in /nonexistent/game.replay: the folder /nonexistent cannot be "
         "written\n"},
        {{"--record", folder.c_str()},
         1,
         "kestrane: cannot record in " + folder + ": it is a folder\n"},
        {{"--record", "a.replay", "--replay", replay.c_str()},
         2,
         usageError("--record and --replay cannot be used together")},
        {{"--replay"}, 2, usageError("option '--replay' needs FILE")},
        {{"--shot", "5:a.png"}, 2, usageError("--shot needs --replay")},
        {{"--replay", replay.c_str(), "--shot", "-1:a.png"},
         2,
         usageError("--shot needs FRAME:FILE, not '-1:a.png'")},
        {{"--replay", replay.c_str(), "--shot", "5x:a.png"},
         2,
         usageError("--shot needs FRAME:FILE, not '5x:a.png'")},
        {{"--replay", replay.c_str(), "--shot", "5:"},
         2,
         usageError("--shot needs FRAME:FILE, not '5:'")},
        {{"--replay", replay.c_str(), "--shot", "5:/nonexistent/a.png"},
         1,
         "kestrane: cannot save frame 5 in /nonexistent/a.png: the folder /nonexistent cannot be "
         "written\n"},
    };
    for (const auto& f : faults) {
        const Reading r = read(f.args);
        SCOPED_TRACE(f.args.back());
        EXPECT_FALSE(r.options.run);
        EXPECT_EQ(r.options.exitCode, f.exitCode);
        EXPECT_EQ(r.err, f.err);
        EXPECT_FALSE(r.options.replay);
    }
}

TEST(CommandLine, TheProgramAnswersWithoutADisplayAndWithTheRightStatus) {
    // Without a display the window cannot open, so an answer proves it was never tried.
    const std::string program = "env -u DISPLAY -u WAYLAND_DISPLAY " KESTRANE_PROGRAM;
    const struct {
        std::string args;
        int status;
        std::string output;
    } cases[] = {
        {"--help", 0, Tarvex::helpText()},
        {"--version", 0, Tarvex::versionText()},
        {"--bogus 2>&1", 2, usageError("unknown option '--bogus'")},
        // Complaints go to standard error, not to standard output.
        {"--bogus 2>/dev/null", 2, ""},
    };
    for (const auto& c : cases) {
        const TestSupport::CommandResult r = TestSupport::runCommand(program + " " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.output;
        EXPECT_EQ(r.output, c.output) << c.args;
    }
}

} // namespace
