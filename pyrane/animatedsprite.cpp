#include "pyrane/animatedsprite.h"

#include "pyrane/imagesequence.h"

namespace Pyrane {

void AnimatedSprite::animate(double dt) {
    Sprite::animateLocal(dt);
    AnimatedSprite::animateLocal(dt);
}

Sprite* AnimatedSprite::duplicate() const {
    AnimatedSprite* copy = new AnimatedSprite;
    copyTo(copy);
    return copy;
}

void AnimatedSprite::copyTo(AnimatedSprite* target) const {
    Sprite::copyTo(target);
    target->_animType = _animType;
    target->_sequence = _sequence;
    target->_frame = _frame;
    target->_frameDelay = _frameDelay;
    target->_frameTime = _frameTime;
    target->_direction = _direction;
    target->_cycles = _cycles;
    target->_cycleEndFrame = _cycleEndFrame;
}

void AnimatedSprite::hold(int frame) {
    _frameTime = 0;
    _frame = frame;
    _animType = HOLD;
}

void AnimatedSprite::loop(int cycles, bool forward) {
    play(LOOP, cycles, forward);
}

void AnimatedSprite::pingPong(int cycles, bool forward) {
    play(PING_PONG, cycles, forward);
}

void AnimatedSprite::play(atype type, int cycles, bool forward) {
    // A playback that has run out stays where it stopped.
    if (_cycles == 0 && _frame == _cycleEndFrame) {
        hold(_frame);
        return;
    }
    _frameTime = 0;
    _cycles = cycles;
    _animType = type;
    _direction = forward ? 1 : -1;
}

void AnimatedSprite::animateLocal(double dt) {
    if (!_sequence || _sequence->count() == 0) return;
    if (_animType != HOLD) {
        int steps = 1;
        // A delay of zero or less shows one frame per update.
        if (_frameDelay > 0) {
            _frameTime += dt;
            steps = int(_frameTime / _frameDelay);
            _frameTime -= steps * _frameDelay;
        }
        for (int i = 0; i < steps; ++i)
            if (!step(_sequence->count())) break;
    }
    image(_sequence->image(_frame));
}

bool AnimatedSprite::step(int count) {
    _frame += _direction;
    if (_animType == LOOP) {
        if (_frame < 0) _frame = count - 1;
        if (_frame >= count) _frame = 0;
    } else if (_frame < 0 || _frame >= count) {
        // Bounce: the end frame shows for two steps.
        _frame -= _direction;
        _direction = -_direction;
    }
    if (_frame == _cycleEndFrame) {
        if (_cycles == 0) {
            hold(_frame);
            return false;
        }
        // A negative count plays without end.
        if (_cycles > 0) --_cycles;
    }
    return true;
}

} // namespace Pyrane
