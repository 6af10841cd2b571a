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
    if (State* previous = _currentState) {
        previous->onExit();
        if (_observer) _observer->left(previous);
    }
    _currentState = next;
    _stateTime = 0;
    if (next) {
        next->time = 0;
        if (_observer) _observer->entering(next);
        next->onEnter();
    }
}

bool OpenglAppMultistate::frame() {
    _stateTime += frameStep();
    State* state = _currentState;
    if (!state) return OpenglApp::frame();
    state->time = _stateTime;
    state->dt = frameStep();
    if (_observer) _observer->frameStarting(state, frameStep());
    const bool result = state->frame();
    if (_observer) _observer->frameDone(state);
    return result;
}

bool OpenglAppMultistate::message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) {
    if (!_currentState) return OpenglApp::message(hwnd, msg, wParam, lParam);
    if (_observer) _observer->message(_currentState, msg, wParam, lParam);
    return _currentState->message(hwnd, msg, wParam, lParam);
}
