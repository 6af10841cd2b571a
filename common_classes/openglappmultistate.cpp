#include "common_classes/openglappmultistate.h"

#include <GL/gl.h>

bool OpenglAppMultistate::State::frame() {
    glClearColor(1, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

bool OpenglAppMultistate::State::message(HWND, unsigned int, unsigned int, long) {
    return false;
}

OpenglAppMultistate::OpenglAppMultistate(const std::string& title, int width, int height,
                                         bool fullscreen)
    : OpenglApp(title, width, height, fullscreen) {}

void OpenglAppMultistate::currentState(State* next) {
    if (_currentState) _currentState->onExit();
    _currentState = next;
    _stateTime = 0;
    if (next) {
        next->time = 0;
        next->onEnter();
    }
}

bool OpenglAppMultistate::frame() {
    _stateTime += frameStep();
    if (!_currentState) return OpenglApp::frame();
    _currentState->time = _stateTime;
    _currentState->dt = frameStep();
    return _currentState->frame();
}

bool OpenglAppMultistate::message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) {
    if (!_currentState) return OpenglApp::message(hwnd, msg, wParam, lParam);
    return _currentState->message(hwnd, msg, wParam, lParam);
}
