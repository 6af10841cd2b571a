#pragma once
// The application object: one window with its OpenGL context, the frame timer and
// the main loop. Subclasses override init, frame, message and close.
#include <chrono>
#include <exception>
#include <string>

#include "common_classes/platform/platform.h"
#include "common_classes/timer.h"

class OpenglApp {
public:
    OpenglApp(const std::string& title, int width, int height, bool fullscreen);
    // Destroys the window, leaving full screen first.
    virtual ~OpenglApp();
    OpenglApp(const OpenglApp&) = delete;
    OpenglApp& operator=(const OpenglApp&) = delete;

    // Runs init, then frames until the quit message or a frame returning false,
    // then close.
    void mainLoop();
    static LRESULT CALLBACK winProc(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam);

    bool keyDown(int virtualKey);
    void fullscreen(bool on);
    bool fullscreen() const { return _fullscreen; }
    void resolution(int width, int height);
    void cursor(bool show);
    void mainRenderingContext();
    HWND hwnd() const { return _hwnd; }

    // Requested size: the client size in a window, the display resolution in full screen.
    int width() const { return _width; }
    int height() const { return _height; }
    double frameStep() const { return _frameStep; }

    // Reports an error raised while the application object was being built (there
    // is no main loop yet to catch it) and ends the program with a failure status.
    [[noreturn]] static void startupFailed(const std::exception& error);

    virtual bool frame();
    virtual void close() {}
    virtual void init() {}
    virtual bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam);

private:
    void applyWindowed(const char* failure);
    void paceFrame(std::chrono::steady_clock::time_point& nextFrame);

    double _frameStep = 0;
    HWND _hwnd = nullptr;
    int _windowWidth = 0;
    int _windowHeight = 0;
    int _width;
    int _height;
    Timer _timer;
    bool _fullscreen;
    Platform::DisplayMode _desktopMode;
    bool _cursorShown = true;
};
