#pragma once
// What the player sets on the options screen: the loudness of music and effects, the keys
// that steer, fire and pause, the kind of full screen and whether frames wait for the
// display's refresh. Each is a key of the settings file beside "screenSize"; a file
// without them gives the defaults, which play as the game always did.
#include <array>
#include <optional>

class Settings;

namespace Tarvex {

struct PlayerOptions {
    enum Action { Left, Right, Up, Down, Fire, Pause, actionCount };

    static constexpr int maxVolume = 10;
    // The keys the play state knows each action by: what it, a recording and a replay
    // file see, whichever key the player pressed.
    static const std::array<unsigned int, actionCount> ownKeys;
    // The settings key of each action's key ("keyLeft").
    static const std::array<const char*, actionCount> settingsKeys;

    int musicVolume = maxVolume;
    int effectsVolume = maxVolume;
    // The key the player presses for each action.
    std::array<unsigned int, actionCount> keys = ownKeys;
    // Full screen in the desktop's own resolution instead of a 640 x 480 display mode.
    bool desktopFullScreen = false;
    bool vsync = true;

    bool operator==(const PlayerOptions&) const = default;

    // F5, F6 (the screen mode), F12 (screenshots) and Escape (back, quit) keep their
    // jobs, and a pad's controls are not keys of the keyboard.
    static bool bindable(unsigned int key);
    // Gives the action the key; an action that had the key takes the action's old key,
    // so that no key does two things and no action is left without one. False for a
    // key that cannot be bound.
    bool bind(Action action, unsigned int key);
    // What the key of a key message (its lParam tells a pad's from the keyboard's) means
    // in play and on the screens around it: a keyboard key as the own key of the action
    // it is bound to; nothing for an action's own key that now belongs to no action (Left
    // after steering left moved to A); any other keyboard key as it is (Escape, Return,
    // and Control, Shift and Z, which also fire unless bound to something else). A pad's
    // controls have their own fixed keys and stay as they are.
    std::optional<unsigned int> playKey(unsigned int key, long lParam) const;

    // Takes the options from the settings. A value that is empty, out of range or
    // garbled gives its option's default and a line on standard error; a key that is
    // absent gives the default silently.
    void read(Settings& settings);
    // Stores every option in the settings, leaving their other keys alone.
    void write(Settings& settings) const;
};

} // namespace Tarvex
