#include "common_classes/platform/padkeys.h"

#include "common_classes/platform/win32defs.h"

namespace Platform {

int PadKeys::virtualKey(Control control) {
    switch (control) {
    case A:
    case B:
    case X:
    case RightTrigger:
        return VK_SPACE;
    case Y:
        return VK_TAB;
    case Start:
        return 'P';
    case Back:
        return VK_ESCAPE;
    case DpadUp:
    case StickUp:
        return VK_UP;
    case DpadDown:
    case StickDown:
        return VK_DOWN;
    case DpadLeft:
    case StickLeft:
        return VK_LEFT;
    case DpadRight:
    case StickRight:
        return VK_RIGHT;
    default:
        return 0;
    }
}

void PadKeys::set(int pad, Control control, bool on, const Emit& emit) {
    auto& held = _held[pad];
    if (held[control] == on) return;
    held[control] = on;
    const int key = virtualKey(control);
    int& holders = _holders[key];
    holders += on ? 1 : -1;
    if (on && holders == 1 && key == VK_SPACE) _fireRepeatAt = -1;
    if (on)
        emit(key, true, holders > 1);
    else if (holders == 0)
        emit(key, false, true);
}

void PadKeys::button(int pad, Control control, bool pressed, const Emit& emit) {
    set(pad, control, pressed, emit);
}

// `reach` is how far the axis stands out towards the control's end.
void PadKeys::follow(int pad, Control control, int reach, int pressAt, int releaseAt, bool letGo,
                     const Emit& emit) {
    const bool held = _held[pad][control];
    if (letGo && held && reach < releaseAt) set(pad, control, false, emit);
    if (!letGo && !held && reach >= pressAt) set(pad, control, true, emit);
}

// Lets go first, so a stick flicked across the middle releases one key before the other
// goes down.
void PadKeys::stick(int pad, Control negative, Control positive, int value, const Emit& emit) {
    for (bool letGo : {true, false}) {
        follow(pad, negative, -value, stickPressAt, stickReleaseAt, letGo, emit);
        follow(pad, positive, value, stickPressAt, stickReleaseAt, letGo, emit);
    }
}

void PadKeys::stickX(int pad, int value, const Emit& emit) {
    stick(pad, StickLeft, StickRight, value, emit);
}

void PadKeys::stickY(int pad, int value, const Emit& emit) {
    stick(pad, StickUp, StickDown, value, emit);
}

void PadKeys::rightTrigger(int pad, int value, const Emit& emit) {
    for (bool letGo : {true, false})
        follow(pad, RightTrigger, value, triggerPressAt, triggerReleaseAt, letGo, emit);
}

void PadKeys::unplug(int pad, const Emit& emit) {
    auto found = _held.find(pad);
    if (found == _held.end()) return;
    for (int c = 0; c < controlCount; ++c)
        if (found->second[c]) set(pad, Control(c), false, emit);
    _held.erase(pad);
}

void PadKeys::clear() {
    _held.clear();
    _holders.clear();
}

void PadKeys::repeat(double now, const Emit& emit) {
    if (!holds(VK_SPACE)) return;
    if (_fireRepeatAt < 0) {
        _fireRepeatAt = now + repeatDelay;
    } else if (now >= _fireRepeatAt) {
        // After a long wait (a slow frame) one repeat, not a burst to catch up.
        emit(VK_SPACE, true, true);
        _fireRepeatAt = now + repeatInterval;
    }
}

bool PadKeys::holds(int key) const {
    auto found = _holders.find(key);
    return found != _holders.end() && found->second > 0;
}

} // namespace Platform
