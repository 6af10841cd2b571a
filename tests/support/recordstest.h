#pragma once
// Tests of the table of records in the started game: each starts with an empty table in
// the game's data folder, the game's own recorder recording, and leaves none behind.
#include <string>
#include <vector>

#include "support/gamesession.h"

namespace TestSupport {

class RecordsTest : public GameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A game started from the menu, played for half a second through the main loop, then
    // over with this score and past the statistics' first half second.
    static void finishGame(float score);
    // One frame of the state with this step.
    static void frame(OpenglAppMultistate::State* state, double dt);
    // The initials of the table's records, best first.
    static std::vector<std::string> initials();

private:
    static void emptyTable();
};

} // namespace TestSupport
