// A game recorded from the menu to its end through the main loop, and replayed: the same
// game again, whatever the window sends meanwhile, and a stop where it no longer matches.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "support/command.h"
#include "support/files.h"
#include "support/gamesession.h"
#include "support/scriptedframes.h"
#include "support/tempdir.h"
#include "tarvex/background.h"
#include "tarvex/enemy/firescript.h"
#include "tarvex/enemy/movescript.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/replay/gamestart.h"
#include "tarvex/replay/recorder.h"
#include "tarvex/replay/replayer.h"
#include "tarvex/replay/replayshots.h"

namespace {

using namespace Tarvex;
using TestSupport::ScriptedFrames;

// What a game leaves on the field, background included.
struct Outcome {
    GameCheck check;
    int shotsFired;
    std::vector<std::vector<float>> rows;
    bool operator==(const Outcome&) const = default;
};

Outcome outcome() {
    Outcome o{checkGame(statePlay, 0), statePlay._shotsFired, {}};
    for (const Background* layer : {&statePlay._background1, &statePlay._background2})
        for (const Background::Row& row : layer->_rows)
            o.rows.push_back(row.xs);
    return o;
}

class RecordReplayTest : public TestSupport::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
    }
    void TearDown() override {
        game.observer(nullptr);
        game.frameSource(nullptr);
        GameTest::TearDown();
    }

    // A game started from the menu by Space: the ship flies left, firing, then right;
    // a repaint comes in at frame 100; Escape at frame 150 ends the game. Returns the
    // check values the game had after frames 60 and 120 of the play state.
    std::vector<GameCheck> recordGame(Recorder& recorder) {
        game.observer(&recorder);
        std::vector<GameCheck> seen;
        ScriptedFrames frames(1.0 / 60, 150);
        frames.beforeFrame = [&](int n) {
            if (n == 61) seen.push_back(checkGame(statePlay, 60));
            if (n == 120) seen.push_back(checkGame(statePlay, 120));
            switch (n) {
            case 1:
                keyDown(VK_SPACE); // to the menu: it starts the game
                break;
            case 2:
                keyDown(VK_LEFT);
                keyDown(VK_SPACE);
                break;
            case 3:
                keyDown(VK_SPACE, true);
                break;
            case 40:
                keyUp(VK_LEFT);
                keyDown(VK_RIGHT);
                break;
            case 100:
                frames.repaint();
                break;
            case 150:
                keyDown(VK_ESCAPE);
                break;
            }
        };
        TestSupport::runWhileFed(frames);
        game.observer(nullptr);
        return seen;
    }

    // Plays the replay through the main loop until it ends.
    void play(Replayer& replayer) {
        EXPECT_LT(TestSupport::runWhileFed(replayer, 100000), 100000);
        EXPECT_TRUE(replayer.finished());
        EXPECT_EQ(game.currentState(), &stateMenu);
    }

};

TEST_F(RecordReplayTest, TheRecordingHoldsWhatThePlayStateReceivedAndTheStepsItRanWith) {
    TestSupport::TempDir dir;
    Recorder recorder(dir.path("game.replay"));
    const std::vector<GameCheck> seen = recordGame(recorder);
    ASSERT_TRUE(recorder.done());
    const Replay& r = recorder.replay();

    EXPECT_FALSE(r.paused);
    // Frames 1 to 149 of the loop and the repaint, each with the keys that came before it.
    ASSERT_EQ(r.frames.size(), 150u);
    using K = KeyMessage;
    EXPECT_EQ(r.frames[0], (ReplayFrame{1.0 / 60, {}})) << "the key that started the game "
                                                           "went to the menu";
    EXPECT_EQ(r.frames[1].keys, (std::vector<K>{{K::PRESS, VK_LEFT}, {K::PRESS, VK_SPACE}}));
    EXPECT_EQ(r.frames[2].keys, (std::vector<K>{{K::REPEAT, VK_SPACE}}));
    EXPECT_EQ(r.frames[39].keys, (std::vector<K>{{K::RELEASE, VK_LEFT}, {K::PRESS, VK_RIGHT}}));
    EXPECT_EQ(r.frames[99], (ReplayFrame{0, {}}));
    EXPECT_EQ(r.endKeys, (std::vector<K>{{K::PRESS, VK_ESCAPE}}));
    EXPECT_EQ(r.checks, seen);
    ASSERT_EQ(r.checks.size(), 2u);
    EXPECT_NE(r.checks[0].shipX, r.checks[1].shipX);

    // Written when the game ended.
    const ReplayReading file = loadReplayFile(dir.path("game.replay"));
    ASSERT_TRUE(file.ok()) << file.error;
    EXPECT_EQ(file.replay, r);
    EXPECT_TRUE(recorder.error().empty());
}

// The player's keys reach the play state, and so the recording, as the game's own; a
// replay hands those on untouched, whatever the keys are bound to while it runs.
TEST_F(RecordReplayTest, KeysAreRecordedAsTheGamesOwnAfterTheBindingAndReplayUnderAnother) {
    game.playerOptions.bind(PlayerOptions::Left, VK_RIGHT); // Left and Right trade keys
    Recorder recorder;
    recordGame(recorder);
    const Replay& r = recorder.replay();
    using K = KeyMessage;
    EXPECT_EQ(r.frames[1].keys, (std::vector<K>{{K::PRESS, VK_RIGHT}, {K::PRESS, VK_SPACE}}));
    ASSERT_FALSE(r.checks.empty());
    EXPECT_GT(r.checks[0].shipX, 80) << "the window's Left steered right";

    Replayer replayer(r, false);
    play(replayer);
    EXPECT_EQ(replayer.failure(), "");
    EXPECT_EQ(replayer.frames(), 150);
}

TEST_F(RecordReplayTest, AReplayThatNoLongerMatchesStopsOutOfStep) {
    Recorder recorder;
    recordGame(recorder);

    // A check that does not hold, or steps that do not give the game that was checked.
    Replay wrongCheck = recorder.replay();
    wrongCheck.checks[1].enemyBullets += 1;
    Replay wrongStep = recorder.replay();
    wrongStep.frames[20].step = 0.1;
    for (const auto& [replay, frame] : {std::pair(wrongCheck, 120), {wrongStep, 60}}) {
        messageBoxes.clear();
        Replayer replayer(replay, false);
        play(replayer);
        const std::string failure = "replay out of step at frame " + std::to_string(frame);
        EXPECT_EQ(replayer.failure(), failure);
        EXPECT_EQ(replayer.frames(), frame) << "no frame after the one out of step";
        EXPECT_EQ(messageBoxes, (std::vector<std::string>{"Replay: " + failure}));
    }

    // A game that would end before its recording does.
    Replay early = recorder.replay();
    early.frames[5].keys.push_back({KeyMessage::PRESS, VK_ESCAPE});
    Replayer replayer(early, false);
    play(replayer);
    EXPECT_EQ(replayer.failure(), "replay out of step at frame 6");
}

TEST_F(RecordReplayTest, WindowKeysAndRepaintsDuringAReplayNeverReachTheGameButEscapeEndsIt) {
    Recorder recorder;
    recordGame(recorder);
    const Outcome recorded = outcome();

    Replayer replayer(recorder.replay(), false);
    game.frameSource(&replayer);
    for (int pass = 0; pass < 100; ++pass) {
        if (pass % 10 == 0) {
            Platform::postMessage(game.hwnd(), WM_KEYDOWN, pass % 20 ? VK_RIGHT : 'P', 1);
            Platform::postMessage(game.hwnd(), WM_PAINT, 0, 0);
            Platform::postMessage(game.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1 | KEY_PREVIOUSLY_DOWN);
        }
        game.runPass();
    }
    EXPECT_EQ(game.paused, false);
    Platform::postMessage(game.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    play(replayer);
    EXPECT_EQ(replayer.failure(), "") << "the replay stayed in step and Escape is no fault";
    EXPECT_LT(replayer.frames(), 110);
    EXPECT_TRUE(messageBoxes.empty());

    Replayer again(recorder.replay(), false);
    play(again);
    EXPECT_EQ(outcome(), recorded);
}

TEST_F(RecordReplayTest, F12DuringADemoSavesAScreenshotAndTheDemoGoesOnTillAnotherKey) {
    Recorder recorder;
    recordGame(recorder);
    TestSupport::TempDir shots;
    game.screenshotFolder = shots.dir().string();
    Replayer replayer(recorder.replay(), false);
    replayer.demo("DEMO", [](const std::string&) {});
    game.frameSource(&replayer);
    game.runPass();
    Platform::postMessage(game.hwnd(), WM_KEYDOWN, VK_F12, 1);
    game.runPass();
    game.runPass();
    game.screenshotFolder.clear();
    EXPECT_EQ(game.frameSource(), &replayer);
    EXPECT_EQ(game.currentState(), &statePlay);
    EXPECT_FALSE(std::filesystem::is_empty(shots.dir())) << "no screenshot saved";
    Platform::postMessage(game.hwnd(), WM_KEYDOWN, 'P', 1);
    game.runPass();
    EXPECT_EQ(game.currentState(), &stateMenu);
}

TEST_F(RecordReplayTest, AStepOfADayHoldsARealTimeReplayOnlyBriefly) {
    Recorder recorder;
    recordGame(recorder);
    Replay slept = recorder.replay();
    slept.checks.clear();
    slept.frames[10].step = 86400; // the computer slept for a day during the game

    Replayer replayer(slept, true);
    const auto started = std::chrono::steady_clock::now();
    play(replayer);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(replayer.frames(), 150);
    // 150 frames of 1/60 s and one wait cut short: not the day, nor a long wait for each
    // frame after it to make up the day.
    EXPECT_LT(seconds, 30);
}

TEST_F(RecordReplayTest, SeedingPutsEveryGeneratorWhereTheFirstGameFindsIt) {
    const GameSeeds seeds{11, 22, 33, 44};
    std::srand(1);
    const int firstRand = std::rand();
    RandWeighted<int> unseeded = statePlay._enemyChooser;
    unseeded.seed(RandGenerator::defaultSeed);
    RandGenerator reference[4];
    for (int i = 0; i < 4; ++i)
        reference[i].seed(11u * unsigned(i + 1));

    for (int i = 0; i < 50; ++i) {
        std::rand();
        statePlay._enemyChooser();
        MultiEntity::_rand.rand();
    }
    statePlay._timeSincePowerup = 0.5;
    seedGame(seeds);
    EXPECT_EQ(std::rand(), firstRand);
    EXPECT_EQ(MultiEntity::_rand.rand(), RandGenerator().rand());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(statePlay._enemyChooser(), unseeded());
    EXPECT_EQ(MoveScript::_rand.rand(), reference[0].rand());
    EXPECT_EQ(FireScript::_rand.rand(), reference[1].rand());
    EXPECT_EQ(Background::generator().rand(), reference[2].rand());
    EXPECT_EQ(statePlay._rand.rand(), reference[3].rand());
    EXPECT_EQ(statePlay._timeSincePowerup, statePlay._powerupInterval);
}

TEST_F(RecordReplayTest, AGameCutShortIsStillRecordedAndAnUnwritableFileIsReported) {
    Recorder recorder("/nonexistent-folder/game.replay");
    game.observer(&recorder);
    game.paused = true; // a game started paused stays so until P
    ScriptedFrames frames(0.02, 30);
    frames.beforeFrame = [](int n) {
        if (n == 1) keyDown('Q');
    };
    // The script's 30 frames, and one more on the clock as the loop takes over.
    TestSupport::runWhileFed(frames);
    keyDown(VK_UP);
    EXPECT_TRUE(recorder.recording());
    recorder.finish(); // the window closed during the game
    EXPECT_TRUE(recorder.done());
    EXPECT_TRUE(recorder.replay().paused);
    EXPECT_EQ(recorder.replay().frames.size(), 31u);
    EXPECT_EQ(recorder.replay().endKeys, (std::vector<KeyMessage>{{KeyMessage::PRESS, VK_UP}}));
    EXPECT_NE(recorder.error().find("/nonexistent-folder/game.replay"), std::string::npos);

    // Only the next game is recorded.
    game.menu();
    game.play();
    EXPECT_TRUE(recorder.done());
}

// Ends the game at the play state's frame `at`, in the recording and in its replay alike,
// so that a test reaches the game-over screen without playing a game out; passes
// everything on to the recorder when there is one.
struct GameOverAt : OpenglAppMultistate::Observer {
    GameOverAt(int at, Recorder* recorder) : at(at), recorder(recorder) {}
    void entering(OpenglAppMultistate::State* s) override {
        if (recorder) recorder->entering(s);
    }
    void left(OpenglAppMultistate::State* s) override {
        if (recorder) recorder->left(s);
    }
    void message(OpenglAppMultistate::State* s, unsigned int msg, unsigned int w,
                 long l) override {
        if (recorder) recorder->message(s, msg, w, l);
    }
    void frameStarting(OpenglAppMultistate::State* s, double dt) override {
        if (recorder) recorder->frameStarting(s, dt);
        if (s == &statePlay && ++frames == at) statePlay.gameOver();
    }
    void frameDone(OpenglAppMultistate::State* s) override {
        if (recorder) recorder->frameDone(s);
    }
    int at;
    Recorder* recorder;
    int frames = 0;
};

// However a recorded game ended, its replay shows it to that end and no further: a key on
// the game-over screen, the game-over screen running out by itself, the window closing
// in the middle of play.
TEST_F(RecordReplayTest, EveryWayAGameEndsReplaysToItsEnd) {
    enum Ending { KEY_AT_GAME_OVER, GAME_OVER_RUNS_OUT, WINDOW_CLOSED };
    for (const Ending ending : {KEY_AT_GAME_OVER, GAME_OVER_RUNS_OUT, WINDOW_CLOSED}) {
        SCOPED_TRACE(ending);
        game.menu();
        Recorder recorder;
        GameOverAt over(ending == WINDOW_CLOSED ? -1 : 5, &recorder);
        game.observer(&over);
        ScriptedFrames frames(0.05, ending == GAME_OVER_RUNS_OUT ? 300 : 100);
        frames.beforeFrame = [&](int n) {
            if (n == 1) keyDown(VK_SPACE);
            if (n == 60 && ending == KEY_AT_GAME_OVER) keyDown(VK_RETURN);
        };
        TestSupport::runWhileFed(frames);
        if (ending == WINDOW_CLOSED) recorder.finish();
        ASSERT_TRUE(recorder.done());
        if (ending == GAME_OVER_RUNS_OUT) {
            EXPECT_TRUE(recorder.replay().endKeys.empty());
        }
        const int recorded = int(recorder.replay().frames.size());

        GameOverAt replayed(over.at, nullptr);
        game.observer(&replayed);
        Replayer replayer(recorder.replay(), false);
        play(replayer);
        EXPECT_EQ(replayer.failure(), "");
        EXPECT_EQ(replayer.frames(), recorded);
        EXPECT_TRUE(messageBoxes.empty());
        game.observer(nullptr); // it goes out of scope with this round
    }
}

// The program itself, started with --replay on a recording made in this process: a fresh
// process shows the same game to its end, and stops one that was altered with a message
// box that nobody clicks; SIGTERM ends the program all the same, the box with it. Each
// program gets a few seconds: a line that comes late or a program deaf to the signal
// shows as a failure, not as a test that waits forever.
TEST_F(RecordReplayTest, TheProgramReplaysAGameRecordedInAnotherProcess) {
    Recorder recorder;
    recordGame(recorder);
    Replay altered = recorder.replay();
    altered.checks[0].score += 10;
    TestSupport::TempDir dir;
    const std::string output = dir.path("output");
    // Waits for the line, gives a box the time to open, then ends the program.
    auto replay = [&](const Replay& r, const std::string& line) {
        const std::string file = TestSupport::writeFile(dir.path("game.replay"), writeReplay(r));
        return TestSupport::runCommand(
            KESTRANE_PROGRAM " --replay " + file + " >" + output + " 2>&1 & pid=$!; " +
            "for i in $(seq 100); do grep -qs '" + line + "' " + output +
            " && break; sleep 0.1; done; sleep 1; " +
            // The box is a child process that SDL starts and the program waits for.
            "box=$(cat /proc/$pid/task/*/children); [ -n \"$box\" ] && echo 'box shown'; " +
            "kill $pid; for i in $(seq 30); do kill -0 $pid 2>/dev/null || break; sleep 0.1; " +
            "done; kill -0 $pid 2>/dev/null && echo 'deaf to SIGTERM' && kill -9 $pid; " +
            "wait $pid; echo \"status $?\"; " +
            "for p in $box; do kill -0 $p 2>/dev/null && echo 'box left open'; done; " +
            "cat " + output);
    };
    const std::string shown = replay(recorder.replay(), "replay has ended").output;
    EXPECT_NE(shown.find("kestrane: the replay has ended after 150 frames\n"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("status 143"), std::string::npos) << "ended by SIGTERM\n" << shown;
    const std::string stopped = replay(altered, "out of step").output;
    EXPECT_NE(stopped.find("Replay: replay out of step at frame 60\n"), std::string::npos)
        << stopped;
    EXPECT_NE(stopped.find("status 143"), std::string::npos) << stopped;
    // The X fonts that scripts/install-deps.sh installs let the box open on the virtual display.
    EXPECT_NE(stopped.find("box shown"), std::string::npos) << stopped;
    EXPECT_EQ(stopped.find("deaf to SIGTERM"), std::string::npos) << stopped;
    EXPECT_EQ(stopped.find("box left open"), std::string::npos) << stopped;
}

} // namespace

// Pictures of chosen frames of a replay: frames of play, and of the title that follows it
// (idle there longer than the attract mode waits, which a replay never enters), saved once
// drawn; the program quits after the last, or as soon as one cannot be saved.
TEST_F(RecordReplayTest, ShotsSaveChosenFramesOfTheReplayAndTheTitleAfterItThenQuit) {
    Recorder recorder;
    recordGame(recorder);
    const int frames = int(recorder.replay().frames.size());
    TestSupport::TempDir dir;
    const std::string play = dir.path("play.png"), title = dir.path("title.png");
    std::vector<std::string> seen; // where each picture was taken
    const ReplayShots::Save save = [&](const std::string& file, std::string& error) {
        const auto* state = game.currentState();
        seen.push_back(file + (state == &statePlay   ? " in play"
                               : state == &stateMenu ? " in the menu"
                                                     : " elsewhere"));
        return game.savePicture(file, error);
    };

    Replayer replayer(recorder.replay(), false);
    const int idle = int(60 * (StateMenu::attractDelay + 1)); // frames in the title
    ReplayShots shots(replayer, {{frames + idle, title}, {frames - 1, play}}, save);
    TestSupport::runWhileFed(shots);
    EXPECT_TRUE(shots.done()) << shots.error();
    EXPECT_EQ(seen, (std::vector<std::string>{play + " in play", title + " in the menu"}));
    EXPECT_FALSE(game.runPass()) << "the program quits after the last picture";
    for (const std::string& file : {play, title}) {
        // The width and height in the PNG header: the picture enlarged four times.
        const std::string png = TestSupport::readFile(file);
        ASSERT_GE(png.size(), 24u) << file;
        EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x02\x80\0\0\x01\x90", 8)) << file;
    }
    EXPECT_NE(TestSupport::readFile(play), TestSupport::readFile(title));

    Replayer again(recorder.replay(), false);
    const std::string missing = dir.path("gone/shot.png");
    ReplayShots failing(again, {{5, missing}, {frames + 1, title}}, save);
    EXPECT_EQ(TestSupport::runWhileFed(failing), 7) << "the frame after the failure is the last";
    EXPECT_FALSE(failing.done());
    EXPECT_EQ(failing.error(), "cannot save " + missing + ": No such file or directory");
    EXPECT_FALSE(game.runPass());
}
