#pragma once
// The options screen, opened from the title menu: music and effects volume, the keys that
// steer, fire and pause, the kind of full screen, vsync, the defaults and the way back,
// one line each over the title's moving backdrop. Up and down choose a line, left and
// right change it, fire or Return acts on it: the keyboard's keys as bound for play, a
// pad's as they are. Escape (a pad's Back) goes back. Every change applies at once;
// leaving the screen writes the settings file.
#include <string>

#include "common_classes/openglappmultistate.h"
#include "tarvex/playeroptions.h"

namespace Tarvex {

class StateOptions : public OpenglAppMultistate::State {
public:
    enum Line {
        Music,
        Effects,
        KeyLeft,
        KeyRight,
        KeyUp,
        KeyDown,
        KeyFire,
        KeyPause,
        FullScreen,
        Vsync,
        Defaults,
        Back,
        lineCount
    };

    void onEnter() override;
    bool frame() override;
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override;

    // The line's label and its value as the screen shows them.
    static std::string label(Line line);
    std::string value(Line line) const;

    Line _line = Music;
    // A key line waits for the new key ("PRESS A KEY").
    bool _waitingForKey = false;

private:
    void change(int step);
    void act();
    void leave();
    void waitedKey(unsigned int key, long lParam);

    double _blink = 0;
};

extern StateOptions stateOptions;

} // namespace Tarvex
