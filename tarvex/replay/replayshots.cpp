#include "tarvex/replay/replayshots.h"

#include <algorithm>

#include "common_classes/platform/platform.h"

namespace Tarvex {

ReplayShots::ReplayShots(Replayer& replayer, std::vector<ReplayShot> shots, Save save)
    : _replayer(replayer), _shots(std::move(shots)), _save(std::move(save)) {
    std::stable_sort(_shots.begin(), _shots.end(),
                     [](const ReplayShot& a, const ReplayShot& b) { return a.frame < b.frame; });
}

bool ReplayShots::admits(unsigned int msg, unsigned int, long) {
    // The pictures are the same on every run only if nothing from the window reaches the
    // game: no key (Escape would stop the replay, any key in the title start a game), no
    // repaint (an extra frame). Closing the window still ends the program.
    return msg != WM_KEYDOWN && msg != WM_KEYUP && msg != WM_PAINT;
}

std::optional<double> ReplayShots::beginFrame(OpenglApp& app, double measured) {
    if (done() || !_error.empty()) {
        Platform::postQuitMessage(0);
        return std::nullopt;
    }
    if (!_replayOver) {
        if (std::optional<double> step = _replayer.beginFrame(app, measured)) return step;
        _replayOver = true;
        if (!_replayer.failure().empty()) {
            _error = _replayer.failure();
            Platform::postQuitMessage(0);
            return std::nullopt;
        }
    }
    return 1.0 / 60;
}

void ReplayShots::endFrame(OpenglApp& app) {
    if (!_replayOver) _replayer.endFrame(app);
    while (!done() && _shots[_next].frame == _frame) {
        std::string error;
        if (!_save(_shots[_next].file, error)) {
            _error = "cannot save " + _shots[_next].file + ": " + error;
            return;
        }
        ++_next;
    }
    ++_frame;
}

} // namespace Tarvex
