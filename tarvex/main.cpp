// The program's entry: runs the game's main loop and reports a runtime error that
// escapes it.
#include <exception>

#include "tarvex/game.h"

int main() {
    Platform::enterProgramDirectory();
    try {
        game.mainLoop();
    } catch (const std::exception& e) {
        Platform::messageBox(game.hwnd(), e.what(), "Runtime error");
    }
    return 0;
}
