// SDL2 back end of the platform layer.
#include "common_classes/platform/platform.h"

#include <SDL.h>
#include <sched.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common_classes/platform/gamepads.h"

struct PlatformWindow {
    SDL_Window* sdl = nullptr;
    SDL_GLContext context = nullptr;
    Platform::WindowProc proc = nullptr;
    void* userData = nullptr;
    Uint32 id = 0;
    bool vsync = false;
};

namespace Platform {
namespace {

// The application object is a global built during static initialisation, so the
// layer's own state is made on first use rather than as globals of this file.
struct LayerState {
    std::map<std::string, WindowProc> classes;
    // Windows are kept for the life of the program so that a handle stays valid
    // (and reads as dead) after the window was destroyed.
    std::vector<std::unique_ptr<PlatformWindow>> windows;
    MessageReporter reporter;
};

LayerState& layer() {
    static LayerState* state = new LayerState;
    return *state;
}

bool hidden = false;
bool contextsRefused = false;
Uint32 postedEvent = 0;

// Whether the event becomes a window message (or the quit message).
bool becomesMessage(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return true;
    case SDL_WINDOWEVENT:
        return e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_CLOSE;
    default:
        return postedEvent && e.type == postedEvent;
    }
}

HWND firstLiveWindow() {
    for (auto& w : layer().windows)
        if (w->sdl) return w.get();
    return nullptr;
}

// A joystick's own events: SDL's game controller layer watches them to make the pads'
// events, so they pass the filter, and the pump throws them away afterwards.
bool joystickEvent(const SDL_Event& e) {
    return e.type >= SDL_JOYAXISMOTION && e.type < SDL_CONTROLLERAXISMOTION;
}

// Only events that become a message are queued at all: the game uses no mouse, and a
// mouse moved over the window would otherwise queue hundreds of motion events a second
// ahead of the keys, each using up a place of the pump's budget. A pad's events become
// key messages here, as they happen, so a stick in motion queues only the keys it
// takes and lets go.
int SDLCALL keepMessages(void*, SDL_Event* e) {
    if (Gamepads::handle(*e, firstLiveWindow())) return 0;
    return becomesMessage(*e) || joystickEvent(*e) ? 1 : 0;
}

bool headless(const char* driver) {
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// Whether the driver was named in SDL_VIDEODRIVER (which may list several).
bool requested(const char* driver) {
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    if (!wanted || !driver) return false;
    std::string list = std::string(",") + wanted + ",";
    for (char& c : list)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return list.find(std::string(",") + driver + ",") != std::string::npos;
}

bool initVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // Closing the last window is an ordinary WM_CLOSE for the application to
    // handle, not an automatic quit.
    SDL_SetHint("SDL_QUIT_ON_LAST_WINDOW_CLOSE", "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    // Without a display SDL falls back to a driver that draws nowhere: the game would
    // run unseen at full speed. Such a driver serves only when asked for by name.
    if (headless(SDL_GetCurrentVideoDriver()) && !requested(SDL_GetCurrentVideoDriver())) {
        std::fprintf(stderr, "SDL: no display (DISPLAY or WAYLAND_DISPLAY) to open a window on\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    // Key presses arrive as key messages only; text input would double them.
    SDL_EventState(SDL_TEXTINPUT, SDL_IGNORE);
    SDL_EventState(SDL_TEXTEDITING, SDL_IGNORE);
    if (!postedEvent) postedEvent = SDL_RegisterEvents(1);
    SDL_SetEventFilter(keepMessages, nullptr);
    // The pads plugged in already announce themselves through the filter.
    Gamepads::start();
    return true;
}

HWND windowById(Uint32 id) {
    for (auto& w : layer().windows)
        if (w->sdl && w->id == id) return w.get();
    return nullptr;
}

bool closestMode(int width, int height, SDL_DisplayMode& found) {
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    wanted.format = SDL_PIXELFORMAT_RGB888;
    if (SDL_GetClosestDisplayMode(0, &wanted, &found)) return true;
    // Displays that list a single larger mode (a virtual display) still take it.
    return SDL_GetDesktopDisplayMode(0, &found) == 0 && found.w >= width && found.h >= height;
}

bool translate(const SDL_Event& e, Message& msg) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        msg.hwnd = windowById(e.key.windowID);
        if (!msg.hwnd) msg.hwnd = firstLiveWindow();
        bool up = e.type == SDL_KEYUP;
        msg.message = up ? WM_KEYUP : WM_KEYDOWN;
        msg.wParam = unsigned(virtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.scancode));
        msg.lParam = 1 | (long(e.key.keysym.scancode & 0xFF) << 16);
        if (up)
            msg.lParam |= KEY_PREVIOUSLY_DOWN | KEY_TRANSITION_UP;
        else if (e.key.repeat)
            msg.lParam |= KEY_PREVIOUSLY_DOWN;
        return true;
    }
    case SDL_WINDOWEVENT:
        msg.hwnd = windowById(e.window.windowID);
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
            msg.message = WM_PAINT;
        else if (e.window.event == SDL_WINDOWEVENT_CLOSE)
            msg.message = WM_CLOSE;
        else
            return false;
        return msg.hwnd != nullptr;
    default:
        if (postedEvent && e.type == postedEvent) {
            msg.hwnd = static_cast<HWND>(e.user.data1);
            msg.message = unsigned(e.user.code);
            auto* params = static_cast<long*>(e.user.data2);
            msg.wParam = unsigned(params[0]);
            msg.lParam = params[1];
            delete[] params;
            return windowAlive(msg.hwnd);
        }
        return false;
    }
}

} // namespace

bool registerClass(const std::string& className, WindowProc proc) {
    // The X11 window class shows the application's name to the window manager.
    setenv("SDL_VIDEO_X11_WMCLASS", className.c_str(), 0);
    SDL_SetHint("SDL_APP_NAME", className.c_str());
    if (!initVideo()) return false;
    layer().classes[className] = proc;
    return true;
}

bool currentDisplayMode(DisplayMode& mode) {
    SDL_DisplayMode m;
    if (SDL_GetDesktopDisplayMode(0, &m) != 0) return false;
    mode = {m.w, m.h, m.refresh_rate};
    return true;
}

bool fullscreenModeAvailable(int width, int height) {
    SDL_DisplayMode found;
    return closestMode(width, height, found);
}

HWND createWindow(const std::string& className, const std::string& title, int width, int height,
                  bool fullscreen) {
    auto& classes = layer().classes;
    auto cls = classes.find(className);
    if (cls == classes.end()) return nullptr;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    Uint32 flags = SDL_WINDOW_OPENGL | (hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
    SDL_Window* sdl = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED,
                                       SDL_WINDOWPOS_UNDEFINED, width, height, flags);
    if (!sdl) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return nullptr;
    }
    auto w = std::make_unique<PlatformWindow>();
    w->sdl = sdl;
    w->proc = cls->second;
    w->id = SDL_GetWindowID(sdl);
    layer().windows.push_back(std::move(w));
    HWND hwnd = layer().windows.back().get();
    if (fullscreen && !setFullscreen(hwnd, true, width, height)) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    }
    return hwnd;
}

bool createContext(HWND hwnd) {
    if (!windowAlive(hwnd) || contextsRefused) return false;
    hwnd->context = SDL_GL_CreateContext(hwnd->sdl);
    if (!hwnd->context) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(hwnd->sdl, hwnd->context);
    // Wait for the display's refresh where the driver offers it.
    if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
    hwnd->vsync = SDL_GL_GetSwapInterval() != 0;
    return true;
}

void makeCurrent(HWND hwnd) {
    if (windowAlive(hwnd) && hwnd->context) SDL_GL_MakeCurrent(hwnd->sdl, hwnd->context);
}

void deleteContext(HWND hwnd) {
    if (!hwnd || !hwnd->context) return;
    SDL_GL_MakeCurrent(hwnd->sdl, nullptr);
    SDL_GL_DeleteContext(hwnd->context);
    hwnd->context = nullptr;
}

void destroyWindow(HWND hwnd) {
    if (!windowAlive(hwnd)) return;
    if (hwnd->proc) hwnd->proc(hwnd, WM_DESTROY, 0, 0);
    deleteContext(hwnd);
    // On X11 a display mode set for a window outlives the program unless it is given
    // back explicitly.
    if (SDL_GetWindowFlags(hwnd->sdl) & SDL_WINDOW_FULLSCREEN)
        SDL_SetWindowFullscreen(hwnd->sdl, 0);
    SDL_DestroyWindow(hwnd->sdl);
    hwnd->sdl = nullptr;
}

bool anyWindowAlive() {
    return firstLiveWindow() != nullptr;
}

void shutdown() {
    for (auto& w : layer().windows)
        destroyWindow(w.get());
    Gamepads::stop();
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_SetEventFilter(nullptr, nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
}

bool windowAlive(HWND hwnd) {
    if (!hwnd) return false;
    for (auto& w : layer().windows)
        if (w.get() == hwnd) return w->sdl != nullptr;
    return false;
}

void setUserData(HWND hwnd, void* data) {
    if (hwnd) hwnd->userData = data;
}

void* userData(HWND hwnd) {
    return hwnd ? hwnd->userData : nullptr;
}

bool setFullscreen(HWND hwnd, bool on, int width, int height) {
    if (!windowAlive(hwnd)) return false;
    if (on) {
        SDL_DisplayMode mode;
        if (!closestMode(width, height, mode)) return false;
        if (SDL_SetWindowDisplayMode(hwnd->sdl, &mode) != 0) return false;
        // A display without a window manager ignores the full-screen request and
        // leaves the window as it was: cover the display with it first.
        if (!(SDL_GetWindowFlags(hwnd->sdl) & SDL_WINDOW_FULLSCREEN)) {
            SDL_Rect bounds;
            if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(hwnd->sdl), &bounds) == 0)
                SDL_SetWindowPosition(hwnd->sdl, bounds.x, bounds.y);
            SDL_SetWindowSize(hwnd->sdl, mode.w, mode.h);
        }
        return SDL_SetWindowFullscreen(hwnd->sdl, SDL_WINDOW_FULLSCREEN) == 0;
    }
    if (SDL_SetWindowFullscreen(hwnd->sdl, 0) != 0) return false;
    SDL_SetWindowSize(hwnd->sdl, width, height);
    return true;
}

void moveWindow(HWND hwnd, int x, int y, int width, int height) {
    if (!windowAlive(hwnd)) return;
    if (SDL_GetWindowFlags(hwnd->sdl) & SDL_WINDOW_FULLSCREEN) return;
    SDL_SetWindowSize(hwnd->sdl, width, height);
    SDL_SetWindowPosition(hwnd->sdl, x, y);
}

void drawableSize(HWND hwnd, int& width, int& height) {
    width = height = 0;
    if (windowAlive(hwnd)) SDL_GL_GetDrawableSize(hwnd->sdl, &width, &height);
}

double frameInterval(HWND hwnd) {
    if (!windowAlive(hwnd) || hwnd->vsync) return 0;
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(hwnd->sdl);
    int rate = 0;
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0) rate = mode.refresh_rate;
    return 1.0 / (rate > 0 ? rate : 60);
}

void swapBuffers(HWND hwnd) {
    if (windowAlive(hwnd) && hwnd->context) SDL_GL_SwapWindow(hwnd->sdl);
}

// SDL_PollEvent ends a polling loop at a marker it queues when the loop starts, so
// that messages posted while handling others (the quit message after WM_DESTROY)
// would wait a pass; the queue is read directly instead.
static bool takeEvent(SDL_eventaction action, SDL_Event& e) {
    return SDL_PeepEvents(&e, 1, action, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1;
}

bool peekMessage() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_CONTROLLERAXISMOTION - 1);
    Gamepads::openPlugged();
    SDL_Event e;
    return takeEvent(SDL_PEEKEVENT, e);
}

bool getMessage(Message& msg) {
    SDL_Event e;
    msg = Message{};
    if (!takeEvent(SDL_GETEVENT, e)) return true;
    if (e.type == SDL_QUIT) {
        msg.message = WM_QUIT;
        return false;
    }
    if (!translate(e, msg)) msg = Message{};
    return true;
}

LRESULT dispatchMessage(const Message& msg) {
    if (!windowAlive(msg.hwnd) || !msg.hwnd->proc || msg.message == WM_NULL) return 0;
    return msg.hwnd->proc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

LRESULT defWindowProc(HWND, unsigned int, unsigned int, long) {
    return 0;
}

void postQuitMessage(int) {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

void postMessage(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) {
    if (!postedEvent) return;
    SDL_Event e{};
    e.type = postedEvent;
    e.user.code = int(msg);
    e.user.data1 = hwnd;
    e.user.data2 = new long[2]{long(wParam), lParam};
    if (SDL_PushEvent(&e) != 1) delete[] static_cast<long*>(e.user.data2);
}

int showCursor(bool show) {
    // A display count as the Win32 call keeps it: the cursor shows while it is >= 0,
    // so every hide needs its own show.
    static int count = 0;
    count += show ? 1 : -1;
    SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return count;
}

std::string programDirectory() {
    char* base = SDL_GetBasePath();
    if (!base) return {};
    std::string folder = base;
    SDL_free(base);
    return folder;
}

void bindThreadToFirstProcessor() {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(0, &set);
    sched_setaffinity(0, sizeof set, &set);
}

std::uint64_t performanceCounter() {
    return SDL_GetPerformanceCounter();
}
std::uint64_t performanceFrequency() {
    return SDL_GetPerformanceFrequency();
}

void messageBox(HWND owner, const std::string& text, const std::string& title) {
    // Standard error through C stdio, which works even while globals are being built.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    if (layer().reporter) {
        layer().reporter(title, text);
        return;
    }
    SDL_Window* parent = windowAlive(owner) ? owner->sdl : nullptr;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), parent);
}

void setMessageReporter(MessageReporter r) {
    layer().reporter = std::move(r);
}

void hideNewWindows(bool h) {
    hidden = h;
}

void refuseContexts(bool refuse) {
    contextsRefused = refuse;
}

} // namespace Platform
