#pragma once
// Frames for the started game's main loop from a test: a fixed step for each frame, and
// before it whatever a script does (the keys of GameTest, sent as the window sends
// them). Window keys, repaints and the window losing its focus (to another test program's
// window on the same display, which would pause play) are kept out, so only the script
// plays.
#include <functional>

#include "common_classes/openglapp.h"

namespace TestSupport {

class ScriptedFrames : public OpenglApp::FrameSource {
public:
    ScriptedFrames(double step, int frames) : _step(step), _frames(frames) {}

    // Called before each frame with its number, from 1.
    std::function<void(int frame)> beforeFrame;

    bool admits(unsigned int msg, unsigned int, long) override;
    std::optional<double> beginFrame(OpenglApp& app, double measured) override;

    // A repaint from the window system in the middle of the frames: a frame of step 0.
    void repaint();

private:
    double _step;
    int _frames;
    int _frame = 0;
    bool _repainting = false;
};

// Runs passes of the game's main loop while the source feeds them, at most `limit`;
// returns how many ran.
int runWhileFed(OpenglApp::FrameSource& source, int limit = 1000000);

} // namespace TestSupport
