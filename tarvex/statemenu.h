#pragma once
// The title screen: two slowly scrolling tile layers in cyan, the logo, a credits line
// that runs from right to left without end, a blinking "PRESS FIRE" and, small, how to
// reach the options. Tab (a pad's Y) opens the options screen, Escape ends the program,
// any other key starts a game. Left without a key for 20 seconds, it hands over to the
// table of records and its demos.
#include "common_classes/openglappmultistate.h"
#include "pyrane/textsprite.h"
#include "tarvex/background.h"

namespace Tarvex {

class StateMenu : public OpenglAppMultistate::State {
public:
    // The credits line: six parts in one line, "  *  " and two tabs between them.
    static const char* const creditsText;

    // The hint between the prompt and the credits.
    static const char* const optionsHint;

    void onEnter() override;
    bool frame() override;
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override;
    // The title's backdrop, which the screens shown from the title share: the picture
    // cleared to black under the two cyan layers, moved on by `step`. Returns the
    // renderer, set up for the picture.
    Pyrane::Renderer2D& drawBackdrop(double step);
    // Comes back from the options screen: everything goes on where it was.
    void resume();

    Background layers[2]; // back (16-pixel tiles), front (10-pixel tiles)
    Pyrane::TextSprite credits;
    Pyrane::TextSprite pressFire;
    // How far left of the picture the credits line travels before it starts again:
    // its width plus 10 pixels.
    float creditsLength = 0;
    // Seconds since the menu was entered or a key came; at attractDelay the table of
    // records takes over.
    double idleTime = 0;
    static constexpr double attractDelay = 20;

private:
    bool _resuming = false;
};

extern StateMenu stateMenu;

} // namespace Tarvex
