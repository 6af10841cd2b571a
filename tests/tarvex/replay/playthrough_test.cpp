// Whole games played by a scripted player at fixed 1/60 s steps, recorded and replayed
// through the main loop: the replay shows the same game, check value for check value,
// and the replay kept beside this file gives the figures kept with it, so that any change
// of how the game plays shows here as a failing test.
//
// Re-recording the kept replay is a deliberate act, for a change that is meant to change
// how the game plays. From the build folder, run
//   KESTRANE_KEEP_REPLAY=1 xvfb-run -a env SDL_AUDIODRIVER=dummy
//       tests/test_tarvex_replay --gtest_filter='PlayThrough.AScripted*'
// (one command), which writes playthrough.replay and playthrough.stats beside this file
// from the game the scripted player plays; look at the new figures, and commit both
// files with the change. The README's pictures are frames of this replay: make them
// again with ./scripts/screenshots.sh, look at them, and commit them too.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "support/files.h"
#include "support/gamesession.h"
#include "support/scriptedframes.h"
#include "support/scriptedplayer.h"
#include "support/tempdir.h"
#include "tarvex/replay/recorder.h"
#include "tarvex/replay/replayer.h"

namespace {

using namespace Tarvex;

const std::string keptReplay = KESTRANE_REPLAY_DATA "/playthrough.replay";
const std::string keptFigures = KESTRANE_REPLAY_DATA "/playthrough.stats";

// What a game ends with: the figures of the game-over screen and the game's length.
struct Figures {
    float score = 0;
    int kills = 0;
    int accuracy = 0;
    int coreHits = 0;
    int frames = 0;
    bool operator==(const Figures&) const = default;
};

Figures figures(int frames) {
    return {statePlay._score, statePlay._statKills, statePlay._statAccuracy,
            statePlay._statCoreHits, frames};
}

std::string write(const Figures& f) {
    std::ostringstream out;
    out << "score " << f.score << "\nkills " << f.kills << "\naccuracy " << f.accuracy
        << "\ncorehits " << f.coreHits << "\nframes " << f.frames << "\n";
    return out.str();
}

std::ostream& operator<<(std::ostream& out, const Figures& f) {
    return out << write(f);
}

Figures read(const std::string& text) {
    Figures f;
    std::istringstream in(text);
    std::string name;
    in >> name >> f.score >> name >> f.kills >> name >> f.accuracy >> name >> f.coreHits >> name >>
        f.frames;
    return f;
}

class PlayThrough : public TestSupport::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        game.screenSize(1); // the smallest window: the game is the same, the drawing cheaper
    }
    void TearDown() override {
        game.observer(nullptr);
        game.frameSource(nullptr);
        GameTest::TearDown();
    }

    // Replays the file's game through the main loop; its figures at the end.
    Figures replay(const std::string& path) {
        const ReplayReading file = loadReplayFile(path);
        EXPECT_TRUE(file.ok()) << file.error;
        Replayer replayer(file.replay, false);
        TestSupport::runWhileFed(replayer);
        EXPECT_TRUE(replayer.finished());
        EXPECT_EQ(replayer.failure(), "");
        EXPECT_EQ(game.currentState(), &stateMenu);
        return figures(replayer.frames());
    }
};

TEST_F(PlayThrough, AScriptedGameIsRecordedAndItsReplayGivesTheSameGame) {
    TestSupport::TempDir dir;
    const std::string path = dir.path("scripted.replay");
    Recorder recorder(path);
    game.observer(&recorder);
    TestSupport::ScriptedPlayer player;
    TestSupport::runWhileFed(player);
    game.observer(nullptr);
    ASSERT_TRUE(recorder.done());
    ASSERT_TRUE(statePlay._gameOver) << "the scripted player lost its last ship";
    const Figures played = figures(int(recorder.replay().frames.size()));
    // Seeded from the clock, so a different game in every run; any game has these.
    EXPECT_GT(played.kills, 0) << played;
    EXPECT_GT(played.accuracy, 0);
    EXPECT_GT(recorder.replay().checks.size(), 10u);

    // Watching the game again saves no hiscore, however good it was.
    statePlay._hiscore = 0;
    const std::string noHiscore(4, '\0');
    TestSupport::writeFile(game.hiscoreFile, noHiscore);
    EXPECT_EQ(replay(path), played);
    EXPECT_EQ(statePlay._hiscore, 0);
    EXPECT_EQ(TestSupport::readFile(game.hiscoreFile), noHiscore);

    if (std::getenv("KESTRANE_KEEP_REPLAY")) {
        TestSupport::writeFile(keptReplay, TestSupport::readFile(path));
        TestSupport::writeFile(keptFigures, write(played));
    }
}

TEST_F(PlayThrough, TheKeptReplayGivesTheKeptFigures) {
    const std::string kept = TestSupport::readFile(keptFigures);
    ASSERT_FALSE(kept.empty()) << "no " << keptFigures;
    EXPECT_EQ(replay(keptReplay), read(kept));
}

} // namespace
