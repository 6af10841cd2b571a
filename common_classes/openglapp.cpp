#include "common_classes/openglapp.h"

#include <GL/gl.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

OpenglApp::OpenglApp(const std::string& title, int width, int height, bool fullscreen)
    : _width(width), _height(height), _fullscreen(fullscreen) {
    if (!Platform::registerClass(title, &OpenglApp::winProc))
        throw std::runtime_error("Couldn't register Windows Class");
    if (!Platform::currentDisplayMode(_desktopMode))
        throw std::runtime_error("Couldn't save desktop display settings");
    if (fullscreen && !Platform::fullscreenModeAvailable(width, height))
        throw std::runtime_error("Cannot change display resolution");

    _hwnd = Platform::createWindow(title, title, width, height, fullscreen);
    if (!_hwnd) throw std::runtime_error("Couldn't create main window");
    // Without a context the window would stay blank without a word.
    if (!Platform::createContext(_hwnd)) {
        Platform::destroyWindow(_hwnd);
        throw std::runtime_error("Couldn't create OpenGL rendering context");
    }
    Platform::setUserData(_hwnd, this);

    // The platform's window size already excludes the decorations, so the outer
    // size is the requested client size.
    _windowWidth = width;
    _windowHeight = height;
    Platform::bindThreadToFirstProcessor();
}

OpenglApp::~OpenglApp() {
    if (Platform::windowAlive(_hwnd)) {
        // The window's last messages must not reach an object that is going away.
        Platform::setUserData(_hwnd, nullptr);
        Platform::destroyWindow(_hwnd);
    }
}

void OpenglApp::startupFailed(const std::exception& error) {
    Platform::shutdown();
    Platform::messageBox(nullptr, error.what(), "Kestrane");
    std::exit(EXIT_FAILURE);
}

void OpenglApp::mainLoop() {
    init();
    _timer.reset(0);
    auto nextFrame = std::chrono::steady_clock::now();
    while (runPass())
        if (!_frameSource || !_frameSource->unpaced()) paceFrame(nextFrame);
    close();
}

// Where the driver refuses to wait for the display's refresh, the loop waits out the
// rest of the refresh interval itself rather than draw thousands of frames a second at
// full power. Frames run on measured time steps, so this changes nothing in the game.
void OpenglApp::paceFrame(std::chrono::steady_clock::time_point& nextFrame) {
    const double interval = Platform::frameInterval(_hwnd);
    if (interval <= 0) return;
    const auto now = std::chrono::steady_clock::now();
    nextFrame += std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(interval));
    // A late frame starts the count afresh instead of hurrying to catch up.
    if (nextFrame <= now) {
        nextFrame = now;
        return;
    }
    std::this_thread::sleep_until(nextFrame);
}

bool OpenglApp::runPass() {
    bool running = true;
    // At most 9 messages a pass, so that a flood of input never starves the frames.
    int budget = 10;
    while (Platform::peekMessage()) {
        if (--budget == 0) break;
        Platform::Message msg;
        if (!Platform::getMessage(msg)) {
            running = false;
            break;
        }
        Platform::dispatchMessage(msg);
    }
    _timer.tick();
    _frameStep = _timer.deltaTime();
    FrameSource* source = _frameSource;
    if (source) {
        if (std::optional<double> step = source->beginFrame(*this, _frameStep))
            _frameStep = *step;
        else
            source = _frameSource = nullptr;
    }
    if (!frame()) running = false;
    if (source && source == _frameSource) source->endFrame(*this);
    Platform::swapBuffers(_hwnd);
    return running;
}

LRESULT OpenglApp::winProc(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) {
    auto* app = static_cast<OpenglApp*>(Platform::userData(hwnd));
    if (app && app->_frameSource && !app->_frameSource->admits(msg, wParam, lParam)) return 0;
    if (app && app->message(hwnd, msg, wParam, lParam)) return 0;
    switch (msg) {
    case WM_PAINT:
        if (app) {
            app->_frameStep = 0;
            if (!app->frame()) {
                Platform::destroyWindow(hwnd);
                return 0;
            }
            Platform::swapBuffers(hwnd);
        }
        return Platform::defWindowProc(hwnd, msg, wParam, lParam);
    case WM_CLOSE:
        Platform::destroyWindow(hwnd);
        return 0;
    case WM_COMMAND:
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        Platform::deleteContext(hwnd);
        Platform::postQuitMessage(0);
        return 0;
    default:
        return Platform::defWindowProc(hwnd, msg, wParam, lParam);
    }
}

bool OpenglApp::frame() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

bool OpenglApp::message(HWND, unsigned int, unsigned int, long) {
    return false;
}

bool OpenglApp::keyDown(int virtualKey) {
    return Platform::keyDown(virtualKey);
}

void OpenglApp::fullscreen(bool on) {
    if (on == _fullscreen) return;
    _fullscreen = on;
    if (on) {
        if (!Platform::setFullscreen(_hwnd, true, _width, _height, _desktopFullscreen))
            throw std::runtime_error("Cannot change to fullscreen");
    } else {
        applyWindowed("Cannot change to windowed");
    }
    _frameStep = 0;
}

void OpenglApp::desktopFullscreen(bool on) {
    if (on == _desktopFullscreen) return;
    _desktopFullscreen = on;
    if (_fullscreen && !Platform::setFullscreen(_hwnd, true, _width, _height, on))
        throw std::runtime_error("Cannot change to fullscreen");
    _frameStep = 0;
}

void OpenglApp::resolution(int width, int height) {
    _width = _windowWidth = width;
    _height = _windowHeight = height;
    if (_fullscreen) {
        if (!Platform::setFullscreen(_hwnd, true, _width, _height, _desktopFullscreen))
            throw std::runtime_error("Cannot change to fullscreen");
    } else {
        applyWindowed("Cannot change to windowed");
    }
    _frameStep = 0;
}

// Leaves full screen (back to the desktop's own mode) and sizes the window to the
// requested client size at the top-left corner.
void OpenglApp::applyWindowed(const char* failure) {
    if (!Platform::setFullscreen(_hwnd, false, _width, _height)) throw std::runtime_error(failure);
    _windowWidth = _width;
    _windowHeight = _height;
    Platform::moveWindow(_hwnd, 0, 0, _windowWidth, _windowHeight);
}

void OpenglApp::cursor(bool show) {
    if (show == _cursorShown) return;
    _cursorShown = show;
    Platform::showCursor(show);
}

void OpenglApp::mainRenderingContext() {
    Platform::makeCurrent(_hwnd);
}
