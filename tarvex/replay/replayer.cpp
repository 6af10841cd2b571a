#include "tarvex/replay/replayer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "tarvex/game.h"
#include "tarvex/replay/gamestart.h"
#include "tarvex/stateplay.h"

namespace Tarvex {

Replayer::Replayer(Replay replay, bool realTime)
    : _replay(std::move(replay)), _realTime(realTime) {}

void Replayer::demo(std::string caption, std::function<void(const std::string&)> ended) {
    _demo = true;
    _caption = std::move(caption);
    _ended = std::move(ended);
}

bool Replayer::admits(unsigned int msg, unsigned int wParam, long lParam) {
    if (msg == WM_PAINT) return false;
    if (msg != WM_KEYDOWN && msg != WM_KEYUP) return true;
    if (msg != WM_KEYDOWN || (lParam & KEY_PREVIOUSLY_DOWN)) return false;
    if (_demo && wParam != VK_F5 && wParam != VK_F6 && wParam != VK_F12) {
        // Stopped before the next frame, so that the key does not reach the game.
        _stoppedByPlayer = _phase != DONE;
        return false;
    }
    if (wParam == VK_ESCAPE && _phase == PLAYING) {
        _stoppedByPlayer = true;
        return true;
    }
    return wParam == VK_F5 || wParam == VK_F6 || wParam == VK_F12;
}

std::optional<double> Replayer::beginFrame(OpenglApp&, double measured) {
    if (_phase == DONE) return std::nullopt;
    if (_demo && _stoppedByPlayer) {
        finish();
        game.menu();
        return std::nullopt;
    }
    if (_phase == WAITING) {
        start();
    } else if (game.currentState() != &statePlay) {
        // Escape took the player back to the menu, or the last recorded frame ended the
        // game as it did when recorded (the game-over screen timing out); a game that
        // left by itself before its recording ended has gone its own way.
        const bool ended = _next == static_cast<int>(_replay.frames.size());
        if (!_stoppedByPlayer && !ended) outOfStep(_next);
        finish();
        return std::nullopt;
    }

    if (_next == static_cast<int>(_replay.frames.size())) {
        deliver(_replay.endKeys);
        if (game.currentState() == &statePlay) game.menu();
        finish();
        return std::nullopt;
    }

    const ReplayFrame& frame = _replay.frames[static_cast<std::size_t>(_next)];
    if (!deliver(frame.keys)) {
        outOfStep(_next);
        finish();
        return std::nullopt;
    }
    if (_realTime) {
        // Ahead of the clock, the frame waits until its moment has come, but never longer
        // than maxWait: no window message is handled while it waits, and a recorded step
        // can be hours long (a computer that slept during the game). The rest of such a
        // step is skipped, not made up by the frames after it.
        _elapsed += measured;
        const double ahead = _played - _elapsed;
        if (ahead > 0) {
            std::this_thread::sleep_for(std::chrono::duration<double>(std::min(ahead, maxWait)));
            if (ahead > maxWait) _elapsed += ahead - maxWait;
        }
        _played += frame.step;
    }
    return frame.step;
}

void Replayer::endFrame(OpenglApp&) {
    if (_phase != PLAYING) return;
    ++_next;
    if (game.currentState() != &statePlay) {
        // Only the last frame may take the game back to the menu.
        if (_next < static_cast<int>(_replay.frames.size())) outOfStep(_next);
        return;
    }
    const auto& checks = _replay.checks;
    while (_nextCheck < checks.size() && checks[_nextCheck].frame < _next)
        ++_nextCheck;
    if (_nextCheck < checks.size() && checks[_nextCheck].frame == _next &&
        !(checks[_nextCheck] == checkGame(statePlay, _next)))
        outOfStep(_next);
}

void Replayer::start() {
    _pausedBefore = game.paused;
    if (_demo) game.demoCaption = _caption;
    seedGame(_replay.seeds);
    game.paused = _replay.paused;
    game.replaying = true;
    game.play();
    _phase = PLAYING;
}

bool Replayer::deliver(const std::vector<KeyMessage>& keys) {
    for (const KeyMessage& key : keys) {
        if (game.currentState() != &statePlay) return false;
        statePlay.message(game.hwnd(), key.message(), key.key, key.lParam());
    }
    return true;
}

void Replayer::outOfStep(int frame) {
    if (_phase == DONE) return;
    _failure = "replay out of step at frame " + std::to_string(frame);
    if (game.currentState() == &statePlay) game.menu();
    finish();
    if (!_demo) Platform::messageBox(game.hwnd(), _failure, "Replay");
}

void Replayer::finish() {
    if (_phase == DONE) return;
    const bool started = _phase == PLAYING;
    _phase = DONE;
    game.replaying = false;
    if (_demo) {
        game.demoCaption.clear();
        if (started) game.paused = _pausedBefore;
        if (!_stoppedByPlayer && _ended) _ended(_failure);
        return;
    }
    if (_failure.empty()) {
        std::printf("kestrane: the replay %s after %d frames\n",
                    _stoppedByPlayer ? "was stopped" : "has ended", _next);
        std::fflush(stdout);
    }
}

} // namespace Tarvex
