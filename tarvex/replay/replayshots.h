#pragma once
// Saves pictures of chosen frames of a replay, so that pictures of the game (the README's)
// come out the same on every run: the replay runs as fast as its frames can be drawn, the
// title menu it returns to runs on fixed steps of 1/60 s instead of the clock, and each
// chosen frame's picture is saved once the frame is drawn. The program quits after the
// last one, or at once when the replay goes out of step or a picture cannot be saved.
#include <functional>
#include <string>
#include <vector>

#include "common_classes/openglapp.h"
#include "tarvex/replay/replayer.h"

namespace Tarvex {

struct ReplayShot {
    // Counted from the replay's first frame, 0; past the replay's last frame, the frames
    // of the title menu that follows.
    int frame = 0;
    std::string file;
    bool operator==(const ReplayShot&) const = default;
};

class ReplayShots : public OpenglApp::FrameSource {
public:
    // Saves the picture just drawn to `file`; false with the reason in `error`.
    using Save = std::function<bool(const std::string& file, std::string& error)>;

    // The replayer is not owned, and is to run without waiting for the clock.
    ReplayShots(Replayer& replayer, std::vector<ReplayShot> shots, Save save);

    bool admits(unsigned int msg, unsigned int wParam, long lParam) override;
    std::optional<double> beginFrame(OpenglApp& app, double measured) override;
    void endFrame(OpenglApp& app) override;
    bool unpaced() const override { return true; }

    // Every picture was saved.
    bool done() const { return _next == _shots.size(); }
    // Why not every picture was saved, or empty.
    const std::string& error() const { return _error; }

private:
    Replayer& _replayer;
    std::vector<ReplayShot> _shots; // by frame
    Save _save;
    bool _replayOver = false;
    int _frame = 0; // the frame running now
    std::size_t _next = 0;
    std::string _error;
};

} // namespace Tarvex
