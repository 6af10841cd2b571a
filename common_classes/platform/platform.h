#pragma once
// The platform layer: window, OpenGL context, message queue, keyboard, cursor,
// display modes, clock and message box, offered as the Win32-style operations the
// application frame is written against. This is the only place that talks to SDL
// for them.
#include <cstdint>
#include <functional>
#include <string>

#include "common_classes/platform/win32defs.h"

namespace Platform {

using WindowProc = LRESULT (*)(HWND, unsigned int msg, unsigned int wParam, long lParam);

struct Message {
    HWND hwnd = nullptr;
    unsigned int message = WM_NULL;
    unsigned int wParam = 0;
    long lParam = 0;
};

struct DisplayMode {
    int width = 0;
    int height = 0;
    int refreshRate = 0;
};

// Starts the video subsystem and remembers the window procedure for windows of
// this class name. False when there is no display to talk to.
bool registerClass(const std::string& className, WindowProc proc);
// The desktop's current display mode.
bool currentDisplayMode(DisplayMode& mode);
// Whether the display can run a full-screen mode close to width x height.
bool fullscreenModeAvailable(int width, int height);

// Creates a visible window of the registered class with an OpenGL-capable surface
// (compatibility profile, double-buffered, 8 bits a colour channel, 16-bit depth).
// The size is the client size; in full screen the display switches to the closest
// mode. Null on failure.
HWND createWindow(const std::string& className, const std::string& title, int width, int height,
                  bool fullscreen);
// Creates the window's OpenGL context and makes it current; false on failure.
bool createContext(HWND hwnd);
void makeCurrent(HWND hwnd);
// Makes no context current and deletes the window's context.
void deleteContext(HWND hwnd);
// Sends WM_DESTROY to the window procedure, then destroys the window; a full-screen
// window first gives the display back in the desktop's own mode.
void destroyWindow(HWND hwnd);
bool windowAlive(HWND hwnd);
// Whether any window of the program is open.
bool anyWindowAlive();
// Destroys every window still open and shuts the window system down, so that the
// display is back in its own mode whichever way the program ends.
void shutdown();

void setUserData(HWND hwnd, void* data);
void* userData(HWND hwnd);

// Switches the window to full screen at the closest mode to width x height (with
// `desktop`, at the desktop's own resolution without a mode change), or back to a window
// with the given client size. False when the display refused.
bool setFullscreen(HWND hwnd, bool on, int width, int height, bool desktop = false);
void moveWindow(HWND hwnd, int x, int y, int width, int height);
// Size of the window's drawable surface in pixels (differs from the requested
// size when the display could not take the requested full-screen mode exactly).
void drawableSize(HWND hwnd, int& width, int& height);
void swapBuffers(HWND hwnd);
// The address of an OpenGL entry point of the current context beyond OpenGL 1.1
// (framebuffer objects), null where the driver has none by that name.
void* glProcAddress(const char* name);
// The time between two refreshes of the window's display (60 a second where it is not
// known) when the buffer swap does not wait for the refresh, 0 when it does.
double frameInterval(HWND hwnd);
// Asks for buffer swaps that wait for the display's refresh (on) or not (off); the
// driver may refuse waiting, which frameInterval then tells.
void vsync(HWND hwnd, bool on);

// Message queue. peekMessage tells whether a message waits without taking it;
// getMessage takes the next one and returns false for the quit message.
bool peekMessage();
bool getMessage(Message& msg);
LRESULT dispatchMessage(const Message& msg);
LRESULT defWindowProc(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam);
void postQuitMessage(int exitCode);
// Queues a message for the window, as if the window system had sent it.
void postMessage(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam);

// True while the key with this virtual-key code is held down.
bool keyDown(int virtualKey);
// Converts an SDL keycode and scancode to the virtual-key code of the key.
int virtualKeyFromSdl(int keycode, int scancode);
// Shows or hides the mouse cursor over the window; returns the new show count.
int showCursor(bool show);

// The folder that holds the program, however the program was started; empty when the
// system cannot tell.
std::string programDirectory();

// Binds the calling thread to the first processor.
void bindThreadToFirstProcessor();

// High-resolution counter and its frequency in counts per second.
std::uint64_t performanceCounter();
std::uint64_t performanceFrequency();

// Shows a message box with one OK button, and always writes the text to standard
// error. A reporter installed with setMessageReporter receives it instead of the box
// (tests use this, since nobody clicks a box under a virtual display).
void messageBox(HWND owner, const std::string& text, const std::string& title);
using MessageReporter = std::function<void(const std::string& title, const std::string& text)>;
void setMessageReporter(MessageReporter reporter);
// Makes SIGTERM, SIGINT and SIGHUP end the program promptly: the message queue then
// hands out the quit message, and a message box on show closes. A signal that was
// ignored when the program started stays ignored.
void catchEndingSignals();
// The signal that asked the program to end, or 0.
int endingSignal();
// Ends the program by the signal that asked it to end, as its parent expects to see,
// once everything is handed back; returns when there was none.
void endAsSignalled();
// Marks the calling thread as showing a message box for as long as it lives, so that an
// ending signal closes the box.
struct BoxShowing {
    BoxShowing();
    ~BoxShowing();
    BoxShowing(const BoxShowing&) = delete;
    BoxShowing& operator=(const BoxShowing&) = delete;
};
// New windows start hidden (for test programs that only draw off screen).
void hideNewWindows(bool hidden);
// Makes createContext fail, as on a display whose driver offers no OpenGL (for tests of
// that failure).
void refuseContexts(bool refuse);

} // namespace Platform
