#pragma once
// How a recorded or replayed game begins: every generator the game draws from is put
// where the first game after the program's start finds it, with the clock's seeds
// replaced by seeds that a replay file keeps.
#include "tarvex/replay/replayfile.h"

namespace Tarvex {

class StatePlay;

// Seeds from the calendar clock, as the game seeds those generators itself.
GameSeeds clockSeeds();

// Puts back the generators that nobody seeds (the standard rand sequence, the enemies'
// generator, the chooser of enemy kinds), seeds the clock-seeded ones (the two script
// generators, the background's and the play state's) with `seeds`, and rewinds what else
// an earlier game leaves behind. Called right before the play state enters.
void seedGame(const GameSeeds& seeds);

// The play state's check value after the given frame.
GameCheck checkGame(const StatePlay& play, int frame);

} // namespace Tarvex
