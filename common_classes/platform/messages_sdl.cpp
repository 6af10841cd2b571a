// The message queue of the SDL platform layer: SDL's events as the window messages of
// the application, and messages posted by the program itself.
#include <SDL.h>

#include "common_classes/platform/gamepads.h"
#include "common_classes/platform/platform.h"
#include "common_classes/platform/platform_sdl.h"

namespace Platform {
namespace {

Uint32 postedEvent = 0;

// Whether the event becomes a window message (or the quit message).
bool becomesMessage(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return true;
    case SDL_WINDOWEVENT:
        return e.window.event == SDL_WINDOWEVENT_EXPOSED ||
               e.window.event == SDL_WINDOWEVENT_CLOSE ||
               e.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
               e.window.event == SDL_WINDOWEVENT_MINIMIZED;
    default:
        return postedEvent && e.type == postedEvent;
    }
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
        else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                 e.window.event == SDL_WINDOWEVENT_MINIMIZED)
            msg.message = WM_KILLFOCUS;
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

// SDL_PollEvent ends a polling loop at a marker it queues when the loop starts, so
// that messages posted while handling others (the quit message after WM_DESTROY)
// would wait a pass; the queue is read directly instead.
bool takeEvent(SDL_eventaction action, SDL_Event& e) {
    return SDL_PeepEvents(&e, 1, action, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1;
}

} // namespace

void startMessages() {
    // Key presses arrive as key messages only; text input would double them.
    SDL_EventState(SDL_TEXTINPUT, SDL_IGNORE);
    SDL_EventState(SDL_TEXTEDITING, SDL_IGNORE);
    if (!postedEvent) postedEvent = SDL_RegisterEvents(1);
    SDL_SetEventFilter(keepMessages, nullptr);
    // The pads plugged in already announce themselves through the filter.
    Gamepads::start();
}

void stopMessages() {
    Gamepads::stop();
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_SetEventFilter(nullptr, nullptr);
}

bool peekMessage() {
    if (endingSignal()) return true;
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_CONTROLLERAXISMOTION - 1);
    Gamepads::openPlugged();
    Gamepads::repeatHeld();
    SDL_Event e;
    return takeEvent(SDL_PEEKEVENT, e);
}

bool getMessage(Message& msg) {
    SDL_Event e;
    msg = Message{};
    if (endingSignal()) {
        msg.message = WM_QUIT;
        return false;
    }
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

} // namespace Platform
