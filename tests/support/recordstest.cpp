#include "support/recordstest.h"

#include <filesystem>
#include <sstream>

#include "support/scriptedframes.h"
#include "tarvex/stateinitials.h"

namespace fs = std::filesystem;

namespace TestSupport {

void RecordsTest::SetUp() {
    GameTest::SetUp();
    game.observer(&game.recorder);
    emptyTable();
}

void RecordsTest::TearDown() {
    GameTest::TearDown();
    emptyTable();
}

void RecordsTest::emptyTable() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(game.recordsFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(Tarvex::RecordStore::tableName) || entry.path().extension() == ".replay")
            fs::remove(entry.path(), error);
    }
    std::ostringstream ignored;
    game.records.open(game.recordsFolder, "", ignored, true);
}

void RecordsTest::finishGame(float score) {
    game.play();
    ScriptedFrames frames(1.0 / 60, 30);
    runWhileFed(frames);
    Tarvex::statePlay._score = score;
    Tarvex::statePlay.gameOver();
    Tarvex::statePlay._gameOverTime = 1;
}

void RecordsTest::frame(OpenglAppMultistate::State* state, double dt) {
    state->dt = dt;
    state->frame();
}

std::vector<std::string> RecordsTest::initials() {
    std::vector<std::string> all;
    for (const Tarvex::Record& r : game.records.table().records)
        all.push_back(r.initials);
    return all;
}

} // namespace TestSupport
