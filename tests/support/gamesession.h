#pragma once
// The game's start-up, run once for a test program that links the game (its global
// `game` is the program's window), and reading back the 160 x 100 picture the game
// shows.
#include <filesystem>
#include <vector>

#include "common_classes/openglappmultistate.h"
#include "support/glwindow.h"

namespace TestSupport {

// What the game looked like right after its start-up.
struct Startup {
    int screenSize = 0;
    int width = 0;
    int height = 0;
    float hiscore = 0;
    OpenglAppMultistate::State* state = nullptr;
    bool musicPlaying = false;
};

// Runs game.init() once, in a scratch folder that becomes the working directory for
// the rest of the program: it links the build tree's bitmaps/ and sound/ and has a
// data/ of its own holding the settings file "screenSize 2" (plus the keys "volume"
// and "name") and the hiscore bytes 00 00 48 42, so tests never touch build/data/.
// Returns what the start-up left.
const Startup& startGame();
// The scratch folder of startGame.
const std::filesystem::path& gameFolder();

// The 160 x 100 picture as a window mode of the game shows it after blowup: the centre
// of each stretched pixel of the client area, rows from the bottom up.
std::vector<Pixel> readPicture();

} // namespace TestSupport
