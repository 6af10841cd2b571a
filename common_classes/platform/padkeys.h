#pragma once
// Gamepad controls as the keys the game already handles: the d-pad and the left stick
// steer with the arrow keys, A, B, X and the right trigger fire with Space, Y is Tab (the
// options from the title menu), Start is P (pause in play, any key in the title menu) and
// Back is Escape. A key is down while any
// control of any pad holds it: the first control to take it makes the key-down, another
// taking it too a key-down marked as already down (like a held key's repeat), and the
// last one to let go the key-up. A held fire key repeats as a held Space does on the
// keyboard, so that firing re-arms for a new ship while the button stays down; the other
// controls repeat nothing (a repeated Start would pause and resume).
//
// This is the bookkeeping alone, without SDL: the platform layer feeds it the pads'
// buttons and axes and posts the key messages it hands back.
#include <bitset>
#include <functional>
#include <map>

namespace Platform {

class PadKeys {
public:
    enum Control {
        A,
        B,
        X,
        Y,
        Start,
        Back,
        DpadUp,
        DpadDown,
        DpadLeft,
        DpadRight,
        StickUp,
        StickDown,
        StickLeft,
        StickRight,
        RightTrigger,
        controlCount
    };

    // Axis values run from -32768 to 32767, a trigger's from 0. A stick direction is taken
    // at pressAt from the middle and let go only back inside releaseAt, so a stick resting
    // near one threshold does not chatter; inside releaseAt lies the dead zone.
    static constexpr int stickPressAt = 16000;
    static constexpr int stickReleaseAt = 10000;
    static constexpr int triggerPressAt = 16000;
    static constexpr int triggerReleaseAt = 8000;

    // Receives every key change: the key, whether it goes down, and whether it was down
    // before (always for a key-up, as with the keyboard).
    using Emit = std::function<void(int virtualKey, bool down, bool wasDown)>;

    // The virtual key a control stands for.
    static int virtualKey(Control control);

    // A button (A, B, X, Start, Back or a d-pad direction) of pad `pad` went down or up.
    void button(int pad, Control control, bool pressed, const Emit& emit);
    // The left stick's horizontal (left negative) or vertical (up negative) axis moved.
    void stickX(int pad, int value, const Emit& emit);
    void stickY(int pad, int value, const Emit& emit);
    void rightTrigger(int pad, int value, const Emit& emit);
    // The pad is gone: every key that only it held goes up.
    void unplug(int pad, const Emit& emit);
    // Forgets every pad without a message (the window system is shutting down).
    void clear();

    // Whether any pad holds the key down.
    bool holds(int virtualKey) const;

    // The keyboard's repeat of a held key as the X server has it by default: the first
    // repeat 660 ms after the press, then 25 a second.
    static constexpr double repeatDelay = 0.66;
    static constexpr double repeatInterval = 0.04;
    // Called as often as the messages are read, with the time in seconds on a steady
    // clock: the held fire key's repeats that are due, one a call at the most.
    void repeat(double now, const Emit& emit);

private:
    void set(int pad, Control control, bool on, const Emit& emit);
    // One end of an axis with its hysteresis: either only lets go or only takes.
    void follow(int pad, Control control, int reach, int pressAt, int releaseAt, bool letGo,
                const Emit& emit);
    // A stick axis whose two ends are `negative` and `positive`.
    void stick(int pad, Control negative, Control positive, int value, const Emit& emit);

    std::map<int, std::bitset<controlCount>> _held;
    // How many controls of all pads hold each key.
    std::map<int, int> _holders;
    // When the held fire key repeats next; negative until the first call after its press.
    double _fireRepeatAt = -1;
};

} // namespace Platform
