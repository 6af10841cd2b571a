#pragma once
// Asks for the initials of a finished game that enters the table of records, the arcade
// way: up and down change the letter, fire or Return takes it and goes on to the next,
// left (or Backspace) goes back a letter: the keyboard's keys as bound for play, the
// pad's d-pad and buttons as they are. The last initials entered are offered first.
// Escape, the third letter taken, or no key for 30 seconds keeps what is shown; then the
// title menu returns. Only fresh presses count: a key held from play, repeating, changes
// nothing.
#include <string>

#include "common_classes/openglappmultistate.h"
#include "tarvex/records.h"

namespace Tarvex {

class StateInitials : public OpenglAppMultistate::State {
public:
    // How long the entry waits for a key before it keeps what it shows.
    static constexpr double patience = 30;

    // The game to ask initials for, before the state is entered.
    void ask(const Record& record) { _record = record; }

    void onEnter() override;
    bool frame() override;
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override;

    // Puts the game in the table with the initials shown, with the replay just recorded;
    // once only, however often it is called.
    void keep();

    std::string initials; // three characters of the initials' alphabet
    int position = 0;     // the letter being chosen, 0 to 2
    double idleTime = 0;  // seconds since the last key

private:
    void step(int by);
    void finish();

    Record _record;
    bool _kept = false;
};

extern StateInitials stateInitials;

} // namespace Tarvex
