#pragma once
// The state in which the game is played. For now it shows the empty grey field and
// goes back to the title menu on Escape.
#include "common_classes/openglappmultistate.h"

namespace Tarvex {

class StatePlay : public OpenglAppMultistate::State {
public:
    bool frame() override;
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override;

    // The best score, read from and saved to the hiscore file by the game object.
    float _hiscore = 0;
};

extern StatePlay statePlay;

} // namespace Tarvex
