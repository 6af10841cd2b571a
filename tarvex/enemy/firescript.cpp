#include "tarvex/enemy/firescript.h"

namespace Tarvex {

RandGenerator FireScript::_rand;

FireScript::FireScript(const FireScript& other) : ScriptRunner() {
    *this = other;
}

FireScript& FireScript::operator=(const FireScript& other) {
    if (this == &other) return *this;
    ScriptRunner::operator=(other);
    _idle = other._idle;
    _current = nullptr;
    if (other._current == &other._idle) _current = &_idle;
    for (auto it = other._frames.begin(); it != other._frames.end(); ++it)
        if (&*it == other._current) _current = &*samePlace(other, it);
    return *this;
}

void FireScript::end() {
    _finished = true;
    _current = &_idle;
}

void FireScript::step(double dt) {
    if (_finished || waitHolds(dt)) return;

    // A Fire frame runs nothing here: the enemy fires the volley it finds in _current.
    // The frame is taken first, as an EndRepeat moves _position back into its loop.
    const Frame* frame = &*_position;
    if (executeShared(_rand) == Shared::ENDED) {
        end();
        return;
    }
    _current = frame;

    // Reaching the end reports the idle frame at once, so a Fire in the last frame
    // never fires.
    if (++_position == _frames.end()) end();
}

} // namespace Tarvex
