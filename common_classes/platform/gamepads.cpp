#include "common_classes/platform/gamepads.h"

#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include "common_classes/platform/padkeys.h"
#include "common_classes/platform/platform.h"
#include "common_classes/platform/platform_sdl.h"

namespace Platform::Gamepads {

namespace {

struct Pads {
    PadKeys keys;
    // Open pads by SDL's instance id.
    std::map<SDL_JoystickID, SDL_GameController*> open;
    // Instance ids of pads plugged in and not yet opened.
    std::vector<SDL_JoystickID> plugged;
};

Pads& pads() {
    static Pads* state = new Pads;
    return *state;
}

PadKeys::Emit poster(HWND window) {
    return [window](int key, bool down, bool wasDown) {
        // As from the keyboard: repeat count 1, no scan code; bit 30 when the key was
        // down, and bit 31 too on a key-up; and marked as a pad's, so that the player's
        // choice of keyboard keys leaves the pad as it is.
        long lParam = 1 | KEY_FROM_PAD;
        if (wasDown) lParam |= KEY_PREVIOUSLY_DOWN;
        if (!down) lParam |= KEY_TRANSITION_UP;
        if (windowAlive(window)) postMessage(window, down ? WM_KEYDOWN : WM_KEYUP, key, lParam);
    };
}

const std::pair<Uint8, PadKeys::Control> buttonTable[] = {
    {SDL_CONTROLLER_BUTTON_A, PadKeys::A},
    {SDL_CONTROLLER_BUTTON_B, PadKeys::B},
    {SDL_CONTROLLER_BUTTON_X, PadKeys::X},
    {SDL_CONTROLLER_BUTTON_Y, PadKeys::Y},
    {SDL_CONTROLLER_BUTTON_START, PadKeys::Start},
    {SDL_CONTROLLER_BUTTON_BACK, PadKeys::Back},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadKeys::DpadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadKeys::DpadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadKeys::DpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadKeys::DpadRight},
};

// The buttons the game uses; the rest (the shoulders, the sticks' clicks) do nothing.
void button(const SDL_ControllerButtonEvent& e, const PadKeys::Emit& emit) {
    for (auto [sdl, control] : buttonTable)
        if (e.button == sdl)
            pads().keys.button(e.which, control, e.type == SDL_CONTROLLERBUTTONDOWN, emit);
}

void axis(const SDL_ControllerAxisEvent& e, const PadKeys::Emit& emit) {
    PadKeys& keys = pads().keys;
    switch (e.axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        keys.stickX(e.which, e.value, emit);
        break;
    case SDL_CONTROLLER_AXIS_LEFTY:
        keys.stickY(e.which, e.value, emit);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        keys.rightTrigger(e.which, e.value, emit);
        break;
    }
}

void unplug(SDL_JoystickID id, const PadKeys::Emit& emit) {
    Pads& p = pads();
    p.keys.unplug(id, emit);
    std::erase(p.plugged, id);
    auto found = p.open.find(id);
    if (found == p.open.end()) return;
    SDL_GameControllerClose(found->second);
    p.open.erase(found);
}

} // namespace

bool start() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "SDL: no gamepads: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

void stop() {
    Pads& p = pads();
    for (auto& [id, controller] : p.open)
        SDL_GameControllerClose(controller);
    p.open.clear();
    p.plugged.clear();
    p.keys.clear();
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool handle(const SDL_Event& e, HWND window) {
    const PadKeys::Emit emit = poster(window);
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        pads().plugged.push_back(SDL_JoystickGetDeviceInstanceID(e.cdevice.which));
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        unplug(e.cdevice.which, emit);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        button(e.cbutton, emit);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        axis(e.caxis, emit);
        return true;
    default:
        // The rest of the controller layer's news (remapping, touch pads, sensors).
        return e.type >= SDL_CONTROLLERAXISMOTION && e.type < SDL_FINGERDOWN;
    }
}

void openPlugged() {
    Pads& p = pads();
    for (SDL_JoystickID id : p.plugged) {
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) != id || p.open.count(id)) continue;
            if (SDL_GameController* controller = SDL_GameControllerOpen(index))
                p.open[id] = controller;
            else
                std::fprintf(stderr, "SDL: cannot open gamepad: %s\n", SDL_GetError());
        }
    }
    p.plugged.clear();
}

void repeatHeld() {
    pads().keys.repeat(double(SDL_GetTicks64()) / 1000, poster(firstLiveWindow()));
}

bool holds(int virtualKey) {
    return pads().keys.holds(virtualKey);
}

} // namespace Platform::Gamepads
