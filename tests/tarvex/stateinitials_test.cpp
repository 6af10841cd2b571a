// A finished game that enters the table of records asks for initials: the keys a player
// uses, what is kept however the entry ends, and the games that enter no table.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "support/gamesession.h"
#include "support/recordstest.h"
#include "tarvex/stateinitials.h"

namespace {

using namespace Tarvex;

class StateInitialsTest : public TestSupport::RecordsTest {};

TEST_F(StateInitialsTest, HeldKeysDoNothingAndFreshOnesPickTheLettersOfTheKeptRecord) {
    finishGame(1234);
    keyDown(VK_SPACE, true); // fire held from play, repeating
    EXPECT_EQ(game.currentState(), &statePlay) << "the statistics stay";
    keyDown(VK_SPACE);
    ASSERT_EQ(game.currentState(), &stateInitials);
    EXPECT_EQ(stateInitials.initials, "AAA");

    for (int key : {VK_UP, VK_SPACE, VK_RETURN, int('Z')})
        keyDown(key, true);
    EXPECT_EQ(stateInitials.initials, "AAA");
    EXPECT_EQ(stateInitials.position, 0);
    keyDown(VK_UP);
    keyDown(VK_UP);    // C
    keyDown(VK_RETURN);
    keyDown(VK_DOWN);  // below A the alphabet wraps to its end, a space
    keyDown(VK_LEFT);
    keyDown(VK_DOWN);  // B
    keyDown(VK_SPACE);
    keyDown(VK_SPACE);
    EXPECT_EQ(stateInitials.initials, "B A");
    keyDown('Z');
    EXPECT_EQ(game.currentState(), &stateMenu);

    const RecordTable& table = game.records.table();
    ASSERT_EQ(table.records.size(), 1u);
    const Record& kept = table.records[0];
    EXPECT_EQ(kept.initials, "B A");
    EXPECT_EQ(kept.score, 1234);
    EXPECT_EQ(kept.kills, statePlay._statKills);
    EXPECT_EQ(kept.accuracy, statePlay._statAccuracy);
    const ReplayReading replay = loadReplayFile(game.records.replayPath(kept));
    ASSERT_TRUE(replay.ok()) << replay.error;
    EXPECT_EQ(replay.replay, game.recorder.replay());
    EXPECT_FALSE(replay.replay.frames.empty());

    finishGame(99);
    keyDown(VK_SPACE);
    EXPECT_EQ(stateInitials.initials, "B A") << "the last initials are offered first";
}

TEST_F(StateInitialsTest, TheKeyboardsKeysAreThePlayersBindingAndAPadsItsOwn) {
    game.playerOptions.bind(PlayerOptions::Fire, 'A');
    game.playerOptions.bind(PlayerOptions::Up, 'W');
    finishGame(800);
    keyDown('A');
    ASSERT_EQ(game.currentState(), &stateInitials);
    keyDown('W');
    keyDown('W');      // C
    keyDown(VK_UP);    // bound to nothing now, as Space is
    keyDown('A');
    keyDown(VK_SPACE);
    game.message(game.hwnd(), WM_KEYDOWN, VK_UP, 1 | KEY_FROM_PAD);    // the d-pad: B
    game.message(game.hwnd(), WM_KEYDOWN, VK_SPACE, 1 | KEY_FROM_PAD); // the pad's A
    EXPECT_EQ(stateInitials.initials, "CBA");
    EXPECT_EQ(stateInitials.position, 2);
    keyDown(VK_RETURN);
    EXPECT_EQ(game.currentState(), &stateMenu);
}

TEST_F(StateInitialsTest, EscapeOrHalfAMinuteWithoutAKeyKeepsWhatIsShown) {
    finishGame(500);
    keyDown(VK_SPACE);
    keyDown(VK_RETURN);
    keyDown(VK_UP);
    keyDown(VK_ESCAPE);
    EXPECT_EQ(game.currentState(), &stateMenu);

    finishGame(700);
    statePlay._gameOverTime = statePlay._gameOverDuration; // the statistics time out
    frame(&statePlay, 0);
    ASSERT_EQ(game.currentState(), &stateInitials);
    keyDown(VK_DOWN);
    frame(&stateInitials, 29.9);
    EXPECT_EQ(game.currentState(), &stateInitials);
    frame(&stateInitials, 0.1);
    EXPECT_EQ(game.currentState(), &stateMenu);
    EXPECT_EQ(initials(), (std::vector<std::string>{" BA", "ABA"}));
    EXPECT_EQ(game.records.table().records[0].score, 700);
}

TEST_F(StateInitialsTest, ClosingTheProgramOnTheStatisticsKeepsTheGameWithTheInitialsOffered) {
    finishGame(500);
    keyDown(VK_SPACE);
    keyDown(VK_UP);
    keyDown(VK_ESCAPE);
    finishGame(800);
    game.close(); // the window closed, or SIGTERM
    game.startSound();
    EXPECT_EQ(initials(), (std::vector<std::string>{"BAA", "BAA"}));
    const Record& kept = game.records.table().records[0];
    EXPECT_EQ(kept.score, 800);
    const ReplayReading replay = loadReplayFile(game.records.replayPath(kept));
    ASSERT_TRUE(replay.ok()) << replay.error;
    EXPECT_EQ(replay.replay, game.recorder.replay());
}

TEST_F(StateInitialsTest, AGameLeftByEscapeOrScoringNothingEntersNoTable) {
    game.play();
    statePlay._score = 5000;
    keyDown(VK_ESCAPE);
    EXPECT_EQ(game.currentState(), &stateMenu);

    finishGame(0);
    keyDown(VK_SPACE);
    EXPECT_EQ(game.currentState(), &stateMenu);
    EXPECT_TRUE(game.records.table().records.empty());
    EXPECT_FALSE(std::filesystem::exists(game.records.tablePath()));
}

} // namespace
