#include "tarvex/replay/recorder.h"

#include <cstdio>

#include "common_classes/atomicfile.h"
#include "tarvex/game.h"
#include "tarvex/replay/gamestart.h"
#include "tarvex/stateplay.h"

namespace Tarvex {

Recorder::Recorder(std::string path, bool everyGame)
    : _path(std::move(path)), _everyGame(everyGame) {}

void Recorder::entering(OpenglAppMultistate::State* state) {
    if (state != &statePlay || game.replaying || _phase == RECORDING) return;
    if (_phase == DONE) {
        if (!_everyGame) return;
        _path.clear();
        _replay = Replay();
        _error.clear();
    }
    _replay.seeds = clockSeeds();
    seedGame(_replay.seeds);
    _replay.paused = game.paused;
    _phase = RECORDING;
}

void Recorder::left(OpenglAppMultistate::State* state) {
    if (state == &statePlay) finish();
}

void Recorder::message(OpenglAppMultistate::State* state, unsigned int msg, unsigned int wParam,
                       long lParam) {
    KeyMessage key;
    if (_phase == RECORDING && state == &statePlay && KeyMessage::from(msg, wParam, lParam, key))
        _pending.push_back(key);
}

void Recorder::frameStarting(OpenglAppMultistate::State* state, double dt) {
    if (_phase != RECORDING || state != &statePlay) return;
    _replay.frames.push_back(ReplayFrame{dt, std::move(_pending)});
    _pending.clear();
}

void Recorder::frameDone(OpenglAppMultistate::State* state) {
    if (_phase != RECORDING || state != &statePlay) return;
    const int frame = static_cast<int>(_replay.frames.size());
    if (frame % Replay::checkInterval == 0) _replay.checks.push_back(checkGame(statePlay, frame));
}

void Recorder::finish() {
    if (_phase != RECORDING) return;
    _phase = DONE;
    _replay.endKeys = std::move(_pending);
    _pending.clear();
    if (_path.empty()) return;
    if (writeFileAtomically(_path, writeReplay(_replay), &_error))
        std::printf("kestrane: the game is recorded in %s\n", _path.c_str());
    else
        std::fprintf(stderr, "kestrane: cannot write the replay %s: %s\n", _path.c_str(),
                     _error.c_str());
}

} // namespace Tarvex
