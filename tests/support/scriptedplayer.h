#pragma once
// A player that plays a whole game by itself at fixed steps, for the main loop of the
// started game: Space in the title menu starts the game; then it fires all the time,
// steers under the nearest enemy and away from the nearest enemy bullet, and after the
// game is over it presses a key that takes it back to the menu, where it stops. Only
// its keys reach the game, sent as the window sends them; the window losing its focus (to
// another test program's window on the same display) does not pause its game.
#include <functional>

#include "common_classes/openglapp.h"
#include "common_classes/vector2.h"

namespace TestSupport {

class ScriptedPlayer : public OpenglApp::FrameSource {
public:
    // Gives up after `maxFrames` frames however the game stands.
    explicit ScriptedPlayer(double step = 1.0 / 60, int maxFrames = 60 * 60 * 30)
        : _step(step), _maxFrames(maxFrames) {}

    bool admits(unsigned int msg, unsigned int, long) override;
    std::optional<double> beginFrame(OpenglApp& app, double measured) override;

    int frames() const { return _frame; }

private:
    // The keys of one frame of play: they steer the ship and hold the trigger, pressed
    // again when a new ship comes with them let go.
    static void act();
    // The direction to steer in, -1, 0 or +1 on each axis.
    static Vector2<int> steering();
    static void hold(unsigned int key, bool down);

    double _step;
    int _maxFrames;
    int _frame = 0;
    double _overFor = 0; // seconds since the game ended
};

} // namespace TestSupport
