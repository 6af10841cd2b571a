// The replay file's reader and writer: round trips, and damaged or hostile files that
// must give a fault naming their line, never a crash or a game of their own.
#include "tarvex/replay/replayfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common_classes/platform/win32defs.h"
#include "support/files.h"
#include "support/tempdir.h"

namespace {

using namespace Tarvex;
using namespace std::string_literals;

KeyMessage key(KeyMessage::Kind kind, unsigned int code) {
    return KeyMessage{kind, code};
}

// 125 frames: a check after frames 60 and 120, every kind of key and step.
Replay sample() {
    Replay r;
    r.seeds = {0, 4294967295u, 1733541234u, 7};
    r.paused = true;
    for (int i = 0; i < 125; ++i)
        r.frames.push_back({1.0 / 60 + i * 1e-7, {}});
    r.frames[0].keys = {key(KeyMessage::PRESS, VK_LEFT), key(KeyMessage::PRESS, VK_SPACE)};
    r.frames[1].step = 0; // a repaint
    r.frames[2].keys = {key(KeyMessage::REPEAT, VK_SPACE), key(KeyMessage::RELEASE, VK_LEFT),
                        key(KeyMessage::PRESS, VK_OTHER_BASE + 127), key(KeyMessage::PRESS, 'P')};
    r.frames[3].step = 86400;
    r.frames[4].step = 1e-300;
    r.checks = {{60, 1234.5f, 2, 80.25f, 16, 3, 4, 5},
                {120, 1e9f, 0, std::numeric_limits<float>::quiet_NaN(), -0.0f, 0, 0, 0}};
    r.endKeys = {key(KeyMessage::PRESS, VK_ESCAPE)};
    return r;
}

TEST(ReplayFile, WhatIsWrittenReadsBackTheSameAndReadsAsText) {
    const Replay original = sample();
    const std::string text = writeReplay(original);
    const ReplayReading reading = readReplay(text);
    ASSERT_TRUE(reading.ok()) << reading.errorLine << ": " << reading.error;
    EXPECT_EQ(reading.replay, original);
    EXPECT_TRUE(std::signbit(reading.replay.checks[1].shipY));

    EXPECT_EQ(text.substr(0, text.find("\n0.0166668")),
              "kestrane-replay 1\nseeds move=0 fire=4294967295 background=1733541234 play=7\n"
              "paused 1\n0.016666666666666666 +LEFT +SPACE\n0");
    EXPECT_NE(text.find(" *SPACE -LEFT +#639 +P\n"), std::string::npos);
    EXPECT_NE(text.find("check 60 score=1234.5 lives=2 ship=80.25,16 enemies=3 bullets=4 "
                        "enemybullets=5\n"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 12), "end +ESCAPE\n");

    // Hand-edited files: Windows line ends, runs of spaces.
    std::string edited = "kestrane-replay 1\r\nseeds  move=1 fire=2 background=3 play=4\r\n"
                         "paused 0\r\n0.5   +Z  -Z\r\nend\r\n";
    const ReplayReading e = readReplay(edited);
    ASSERT_TRUE(e.ok()) << e.error;
    EXPECT_EQ(e.replay.seeds, (GameSeeds{1, 2, 3, 4}));
    ASSERT_EQ(e.replay.frames.size(), 1u);
    EXPECT_EQ(e.replay.frames[0].keys, (std::vector<KeyMessage>{key(KeyMessage::PRESS, 'Z'),
                                                                key(KeyMessage::RELEASE, 'Z')}));
}

TEST(ReplayFile, KeyMessagesAreTheWindowsOwn) {
    for (auto [msg, lParam, kind] :
         {std::tuple{WM_KEYDOWN, 1L, KeyMessage::PRESS},
          {WM_KEYDOWN, 1L | KEY_PREVIOUSLY_DOWN, KeyMessage::REPEAT},
          {WM_KEYUP, 1L | KEY_PREVIOUSLY_DOWN | KEY_TRANSITION_UP, KeyMessage::RELEASE}}) {
        KeyMessage k;
        ASSERT_TRUE(KeyMessage::from(msg, VK_UP, lParam, k));
        EXPECT_EQ(k, key(kind, VK_UP));
        EXPECT_EQ(k.message(), msg);
        EXPECT_EQ(k.lParam(), lParam);
    }
    KeyMessage k;
    EXPECT_FALSE(KeyMessage::from(WM_PAINT, 0, 0, k));
}

// Every fault found, with the line it is on and a word of what it says.
TEST(ReplayFile, DamagedAndHostileFilesGiveTheFaultAndItsLine) {
    const std::string head = "kestrane-replay 1\nseeds move=1 fire=2 background=3 play=4\n"
                             "paused 0\n";
    std::string sixty;
    for (int i = 0; i < 60; ++i)
        sixty += "0.016\n";
    const std::string check = "check 60 score=0 lives=2 ship=80,16 enemies=0 bullets=0 "
                              "enemybullets=0\n";
    const std::string megabyteLine(1 << 20, 'x');
    struct Case {
        std::string text;
        int line;
        std::string says;
    };
    const Case cases[] = {
        {"", 1, "empty"},
        {"\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, 1, "not text"},
        {"kestrane-replay 2\n", 1, "version 2"},
        {"kestrane-replay one\n", 1, "not a number"},
        {"kestrane-replay\n", 1, "not a Kestrane replay"},
        {"KESTRANE-REPLAY 1\n", 1, "not a Kestrane replay"},
        {"kestrane-replay 1\n", 1, "truncated"},
        {"kestrane-replay 1\nseeds move=1 fire=2 background=3\n", 2, "seeds line"},
        {"kestrane-replay 1\nseeds move=1 fire=2 background=3 play=4294967296\n", 2,
         "out of range"},
        {"kestrane-replay 1\nseeds move=-1 fire=2 background=3 play=4\n", 2, "not a number"},
        {"kestrane-replay 1\nseeds fire=1 move=2 background=3 play=4\n", 2, "expected move="},
        {head.substr(0, head.size() - 9) + "paused 2\n", 3, "paused 0"},
        {head, 3, "truncated"},
        {head + "0.016 +LEFT\n0.016 +SPA", 5, "unknown key 'SPA'"},
        {head + "0.016\n0.01\0\x16\n"s, 5, "not text"},
        {head + "0.016\nend +ESC", 5, "truncated"},
        {head + "-0.5\nend\n", 4, "negative"},
        {head + "nan\nend\n", 4, "not a number"},
        {head + "inf\nend\n", 4, "not a finite number"},
        {head + "1e400\nend\n", 4, "out of range"},
        {head + "100000\nend\n", 4, "longer than a day"},
        {head + "0x10\nend\n", 4, "not a number"},
        {head + "0.016 LEFT\nend\n", 4, "expected a key"},
        {head + "0.016 +left\nend\n", 4, "unknown key"},
        {head + "0.016 +#99999999999999999999\nend\n", 4, "unknown key"},
        {head + "0.016 +" + megabyteLine + "\nend\n", 4, "longer than 4096"},
        {head + megabyteLine, 4, "longer than 4096"},
        {head + "\nend\n", 4, "empty line"},
        {head + "0.016\nend\n0.016\n", 6, "after the end"},
        {head + "end\nend\n", 5, "after the end"},
        {head + sixty + "0.016\n", 64, "no check"},
        {head + sixty + "end\n" + check, 65, "after the end"},
        {head + "0.016\n" + check, 5, "does not belong after frame 1"},
        {head + sixty + check + check, 65, "does not belong"},
        {head + sixty +
             "check 60 score=0 lives=99999999999 ship=1,2 enemies=0 bullets=0 "
             "enemybullets=0\n",
         64, "out of range"},
        {head + sixty +
             "check 60 score=1e39 lives=2 ship=1,2 enemies=0 bullets=0 "
             "enemybullets=0\n",
         64, "out of range"},
        {head + sixty + "check 60 score=0 lives=2 ship=1 enemies=0 bullets=0 enemybullets=0\n", 64,
         "ship=X,Y"},
        {head + sixty + "check 60 score=0 lives=2 ship=1,2 enemies=0\n", 64, "expected \"check"},
    };
    for (const Case& c : cases) {
        const ReplayReading r = readReplay(c.text);
        EXPECT_FALSE(r.ok()) << c.says;
        EXPECT_EQ(r.errorLine, c.line) << c.says << ": " << r.error;
        EXPECT_NE(r.error.find(c.says), std::string::npos) << r.error;
        EXPECT_EQ(r.replay, Replay()) << "a fault leaves nothing half read";
    }
}

// A file cut anywhere, even inside a line, a number or a key's name, is no replay.
TEST(ReplayFile, EveryCutOfAFileIsRefused) {
    const std::string text = writeReplay(sample());
    for (std::size_t size = 0; size < text.size(); ++size) {
        const ReplayReading r = readReplay(text.substr(0, size));
        ASSERT_FALSE(r.ok()) << size;
        ASSERT_GE(r.errorLine, 1);
        ASSERT_LE(r.errorLine, 131);
    }
}

TEST(ReplayFile, LoadingNamesTheFileAndTheLine) {
    TestSupport::TempDir dir;
    const std::string good = TestSupport::writeFile(dir.path("good.replay"), writeReplay(sample()));
    const ReplayReading ok = loadReplayFile(good);
    ASSERT_TRUE(ok.ok()) << ok.error;
    EXPECT_EQ(ok.replay, sample());

    const std::string bad = TestSupport::writeFile(
        dir.path("bad.replay"),
        "kestrane-replay 1\nseeds move=1 fire=2 background=3 play=4\npaused 0\n0.1 +NOPE\n");
    EXPECT_EQ(loadReplayFile(bad).error, bad + ":4: unknown key 'NOPE'");

    const std::string missing = dir.path("missing.replay");
    EXPECT_EQ(loadReplayFile(missing).error,
              missing + ": cannot read the replay: No such file or directory");
    EXPECT_EQ(loadReplayFile(dir.dir().string()).error,
              dir.dir().string() + ": cannot read the replay: Is a directory");

    // Larger than any game: refused before it is read as a replay.
    const std::string huge = dir.path("huge.replay");
    TestSupport::writeFile(huge, std::string((64 << 20) + 1, '\n'));
    EXPECT_NE(loadReplayFile(huge).error.find(huge + ": the file is larger than 64 MB"),
              std::string::npos);
}

} // namespace
