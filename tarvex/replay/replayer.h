#pragma once
// Shows a recorded game: the main loop takes each frame's step and key messages from the
// replay instead of the timer and the window. The game starts as it started when it was
// recorded, each frame's messages reach the play state before the frame runs, and the
// check values are compared as the frames run; a game that no longer matches stops with
// "replay out of step at frame N". At the end the title menu returns.
//
// While the replay runs, the window's keys do not reach the game, except Escape (back to
// the menu, which ends the replay), F5 and F6 (the screen mode) and F12 (a screenshot).
// Repaints run no frame, since a frame the recording does not hold would change the game.
#include <functional>
#include <string>

#include "common_classes/openglapp.h"
#include "tarvex/replay/replayfile.h"

namespace Tarvex {

class Replayer : public OpenglApp::FrameSource {
public:
    // With `realTime`, frames wait for the clock where the replay runs ahead of it, so the
    // game runs at the speed it was played at; without, frames follow each other at once.
    explicit Replayer(Replay replay, bool realTime = true);

    // Makes the replay a demo of the title: `caption` stands in the status bar in place of
    // the hiscore; any key but F5, F6 and F12 (a screenshot of the demo) stops it and leads
    // to the title menu; a game gone out of step stops without a message box; the pause
    // switch is put back as it was; and once it has ended by itself or gone out of step,
    // `ended` is called with failure() (empty when it ran to its end). Nothing is written
    // on standard output.
    void demo(std::string caption, std::function<void(const std::string& failure)> ended);

    bool admits(unsigned int msg, unsigned int wParam, long lParam) override;
    std::optional<double> beginFrame(OpenglApp& app, double measured) override;
    void endFrame(OpenglApp& app) override;

    // The replay has come to its end, been stopped, or gone out of step.
    bool finished() const { return _phase == DONE; }
    // "replay out of step at frame N" when the game no longer matched; else empty.
    const std::string& failure() const { return _failure; }
    // Frames run so far.
    int frames() const { return _next; }

    // The longest a frame waits for the clock, in seconds.
    static constexpr double maxWait = 0.5;

private:
    enum Phase { WAITING, PLAYING, DONE };

    void start();
    // Hands the keys to the play state while it is current; false when it left on the way.
    bool deliver(const std::vector<KeyMessage>& keys);
    void outOfStep(int frame);
    void finish();

    Replay _replay;
    bool _realTime;
    Phase _phase = WAITING;
    int _next = 0; // the frame to run next, counted from 0
    std::size_t _nextCheck = 0;
    bool _stoppedByPlayer = false;
    bool _demo = false;
    std::string _caption;
    std::function<void(const std::string&)> _ended;
    bool _pausedBefore = false;
    double _played = 0;  // recorded time of the frames run
    double _elapsed = 0; // real time since the replay started
    std::string _failure;
};

} // namespace Tarvex
