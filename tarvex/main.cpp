// The program's entry: runs the game's main loop and reports a runtime error that
// escapes it.
#include <exception>

#include "tarvex/game.h"

int main() {
    Platform::enterProgramDirectory();
    try {
        game.mainLoop();
    } catch (const std::exception& e) {
        // The display goes back to its own mode before the box shows on it.
        Platform::shutdown();
        Platform::messageBox(nullptr, e.what(), "Runtime error");
    }
    // Whichever way the game ended, the display is given back in its own mode.
    Platform::shutdown();
    return 0;
}
