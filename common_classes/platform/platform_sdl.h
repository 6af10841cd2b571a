#pragma once
// What the files of the SDL platform layer share: the window behind a handle, the
// windows alive, and the start and end of the message queue.
#include <SDL.h>

#include "common_classes/platform/platform.h"

struct PlatformWindow {
    SDL_Window* sdl = nullptr;
    SDL_GLContext context = nullptr;
    Platform::WindowProc proc = nullptr;
    void* userData = nullptr;
    Uint32 id = 0;
    bool vsync = false;
};

namespace Platform {

// The first window still open, or null.
HWND firstLiveWindow();
// The open window with SDL's window id, or null.
HWND windowById(Uint32 id);

// Lets through to the queue only the events that become messages, and starts the pads.
void startMessages();
// Stops the pads and the filter of startMessages.
void stopMessages();

} // namespace Platform
