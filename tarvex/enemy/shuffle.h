#pragma once
// The one shuffle of enemy pieces: the firing order of shuffled ammo and which pieces of
// a large blow-up get a visible burst. It draws from the standard library's rand, which
// the game never seeds, so a run of the program shuffles as every other run does.
#include <cstdlib>
#include <utility>
#include <vector>

namespace Tarvex {

// For each index i from 1 to n - 1, element i swaps places with element rand() % (i + 1).
template <typename T> void shufflePieces(std::vector<T>& pieces) {
    for (std::size_t i = 1; i < pieces.size(); ++i)
        std::swap(pieces[i], pieces[static_cast<std::size_t>(std::rand()) % (i + 1)]);
}

} // namespace Tarvex
