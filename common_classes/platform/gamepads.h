#pragma once
// The gamepads, through SDL's game controller layer: opened when they are plugged in, also
// while the program runs, closed when they are pulled out, and their buttons and axes
// posted to the application window as the key messages PadKeys makes of them. Part of
// the SDL platform layer; the rest of the program only ever sees the key messages.
#include <SDL.h>

#include "common_classes/platform/win32defs.h"

namespace Platform::Gamepads {

// Starts SDL's game controller layer; the pads already plugged in then announce
// themselves as if plugged in now. False when it cannot start: the game then has no pads.
bool start();
// Closes every pad and forgets the keys they held, without a message.
void stop();

// Handles an event as SDL queues it, before the program sees it: a pad's button or axis
// becomes key messages posted to `window` at once, in order with the keyboard's; a pad
// pulled out lets go of every key it held. True for a pad's event, which then needs no
// place in the queue.
bool handle(const SDL_Event& e, HWND window);
// Opens the pads plugged in since the last call. SDL announces a pad while it is still
// adding it, so it is opened after the pump of events, not in the middle of it.
void openPlugged();

// Posts the repeats of a held fire button that are due, as the keyboard repeats a held
// Space; called at each look at the message queue.
void repeatHeld();

// Whether a pad holds the key down.
bool holds(int virtualKey);

} // namespace Platform::Gamepads
