// The program's entry: runs the application's main loop and reports a runtime
// error that escapes it.
#include <exception>

#include "common_classes/openglappmultistate.h"

namespace {

class Shell : public OpenglAppMultistate {
public:
    Shell() try : OpenglAppMultistate("Kestrane", 640, 400, false) {
    } catch (const std::exception& e) {
        startupFailed(e);
    }
};

} // namespace

Shell game;

int main() {
    Platform::enterProgramDirectory();
    try {
        game.mainLoop();
    } catch (const std::exception& e) {
        Platform::messageBox(game.hwnd(), e.what(), "Runtime error");
    }
    return 0;
}
