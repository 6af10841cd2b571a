#pragma once
// The application object: one window with its OpenGL context, the frame timer and
// the main loop. Subclasses override init, frame, message and close.
#include <chrono>
#include <exception>
#include <optional>
#include <string>

#include "common_classes/platform/platform.h"
#include "common_classes/timer.h"

class OpenglApp {
public:
    // Where frames take their step and key messages from in place of the timer and the
    // window: a replay, or a scripted player.
    class FrameSource {
    public:
        virtual ~FrameSource() = default;
        // Whether a message from the window may reach the application while this source
        // feeds it. A repaint it refuses runs no frame.
        virtual bool admits(unsigned int msg, unsigned int wParam, long lParam) = 0;
        // Before each frame of the loop: hands the application the frame's messages and
        // gives the frame's step, `measured` being the timer's. Nothing when the source has
        // run out; the loop then drops it and goes on with the timer and the window.
        virtual std::optional<double> beginFrame(OpenglApp& app, double measured) = 0;
        // After the frame has run.
        virtual void endFrame(OpenglApp&) {}
        // Frames follow each other as fast as they are drawn, not paced to the display.
        virtual bool unpaced() const { return false; }
    };

    OpenglApp(const std::string& title, int width, int height, bool fullscreen);
    // Destroys the window, leaving full screen first.
    virtual ~OpenglApp();
    OpenglApp(const OpenglApp&) = delete;
    OpenglApp& operator=(const OpenglApp&) = delete;

    // Runs init, then frames until the quit message or a frame returning false,
    // then close.
    void mainLoop();
    // One pass of the main loop: the waiting messages, the frame's step, the frame and its
    // presentation. False when the program is to stop after it.
    bool runPass();
    // Feeds the frames from a source (not owned) instead of the timer and the window; null
    // gives them back.
    void frameSource(FrameSource* source) { _frameSource = source; }
    FrameSource* frameSource() const { return _frameSource; }
    static LRESULT CALLBACK winProc(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam);

    bool keyDown(int virtualKey);
    void fullscreen(bool on);
    bool fullscreen() const { return _fullscreen; }
    // Full screen in the desktop's own resolution instead of a display mode of the
    // requested size; a change applies at once while in full screen.
    void desktopFullscreen(bool on);
    bool desktopFullscreen() const { return _desktopFullscreen; }
    // Whether buffer swaps wait for the display's refresh; without, the loop paces the
    // frames to the refresh rate itself.
    void vsync(bool on) { Platform::vsync(_hwnd, on); }
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
    bool _desktopFullscreen = false;
    Platform::DisplayMode _desktopMode;
    bool _cursorShown = true;
    FrameSource* _frameSource = nullptr;
};
