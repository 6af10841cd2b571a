// The window on its display, in the SDL platform layer: display modes, full screen (the
// display switches to the mode closest to the size asked for), the window's size and place,
// and the display's refresh.
#include <SDL.h>

#include "common_classes/platform/platform.h"
#include "common_classes/platform/platform_sdl.h"

namespace Platform {
namespace {

bool closestMode(int width, int height, SDL_DisplayMode& found) {
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    wanted.format = SDL_PIXELFORMAT_RGB888;
    if (SDL_GetClosestDisplayMode(0, &wanted, &found)) return true;
    // Displays that list a single larger mode (a virtual display) still take it.
    return SDL_GetDesktopDisplayMode(0, &found) == 0 && found.w >= width && found.h >= height;
}

} // namespace

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

bool setFullscreen(HWND hwnd, bool on, int width, int height, bool desktop) {
    if (!windowAlive(hwnd)) return false;
    if (on && desktop) {
        SDL_Rect bounds;
        if (!(SDL_GetWindowFlags(hwnd->sdl) & SDL_WINDOW_FULLSCREEN) &&
            SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(hwnd->sdl), &bounds) == 0) {
            SDL_SetWindowPosition(hwnd->sdl, bounds.x, bounds.y);
            SDL_SetWindowSize(hwnd->sdl, bounds.w, bounds.h);
        }
        return SDL_SetWindowFullscreen(hwnd->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    }
    if (on) {
        SDL_DisplayMode mode;
        if (!closestMode(width, height, mode)) return false;
        if (SDL_SetWindowDisplayMode(hwnd->sdl, &mode) != 0) return false;
        // A display without a window manager ignores the full-screen request and
        // leaves the window as it was: cover the display with it first.
        if ((SDL_GetWindowFlags(hwnd->sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP) !=
            SDL_WINDOW_FULLSCREEN) {
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

void vsync(HWND hwnd, bool on) {
    if (!windowAlive(hwnd) || !hwnd->context) return;
    if (on) {
        if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
    } else {
        SDL_GL_SetSwapInterval(0);
    }
    hwnd->vsync = SDL_GL_GetSwapInterval() != 0;
}

} // namespace Platform
