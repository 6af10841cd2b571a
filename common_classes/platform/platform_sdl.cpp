// SDL2 back end of the platform layer: the windows and their OpenGL contexts, and the
// rest of what the layer offers (cursor, program folder, clock, message box). The message
// queue and the display modes have files of their own beside this one.
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

#include "common_classes/platform/platform_sdl.h"

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
    startMessages();
    return true;
}

} // namespace

HWND firstLiveWindow() {
    for (auto& w : layer().windows)
        if (w->sdl) return w.get();
    return nullptr;
}

HWND windowById(Uint32 id) {
    for (auto& w : layer().windows)
        if (w->sdl && w->id == id) return w.get();
    return nullptr;
}

bool registerClass(const std::string& className, WindowProc proc) {
    // The X11 window class shows the application's name to the window manager.
    setenv("SDL_VIDEO_X11_WMCLASS", className.c_str(), 0);
    SDL_SetHint("SDL_APP_NAME", className.c_str());
    if (!initVideo()) return false;
    layer().classes[className] = proc;
    return true;
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
    vsync(hwnd, true);
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
    stopMessages();
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
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

void swapBuffers(HWND hwnd) {
    if (windowAlive(hwnd) && hwnd->context) SDL_GL_SwapWindow(hwnd->sdl);
}

void* glProcAddress(const char* name) {
    return SDL_GL_GetProcAddress(name);
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
    // A program asked to end shows no box: it would only wait for a click.
    if (endingSignal()) return;
    SDL_Window* parent = windowAlive(owner) ? owner->sdl : nullptr;
    const BoxShowing showing;
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
