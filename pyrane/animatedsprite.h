#pragma once
// A sprite that plays the frames of an image sequence: held, looped or back and forth,
// for a number of cycles or without end.
#include "pyrane/sprite.h"

namespace Pyrane {

class ImageSequence;

class AnimatedSprite : public virtual Sprite {
public:
    enum atype { HOLD = 0, LOOP = 1, PING_PONG = 2 };

    AnimatedSprite() = default;

    void animate(double dt) override;
    Sprite* duplicate() const override;
    void animateLocal(double dt);
    void copyTo(AnimatedSprite* target) const;

    void sequence(ImageSequence& sequence) { _sequence = &sequence; }
    void sequence(ImageSequence* sequence) { _sequence = sequence; }
    ImageSequence* sequence() const { return _sequence; }
    void frameDelay(double delay) {
        _frameDelay = delay;
        _frameTime = 0;
    }
    double frameDelay() const { return _frameDelay; }
    void frame(int frame) {
        _frame = frame;
        _frameTime = 0;
    }
    int frame() const { return _frame; }
    void hold(int frame);
    // Plays forwards or backwards until the cycle end frame has been passed `cycles`
    // more times (a negative count plays without end), then holds there.
    void loop(int cycles, bool forward);
    void pingPong(int cycles, bool forward);
    void animType(atype type) { _animType = type; }
    atype animType() const { return _animType; }
    void cycleEndFrame(int frame) { _cycleEndFrame = frame; }
    int cycleEndFrame() const { return _cycleEndFrame; }
    void animForward(bool forward) { _direction = forward ? 1 : -1; }
    bool animForward() const { return _direction == 1; }

protected:
    atype _animType = HOLD;
    ImageSequence* _sequence = nullptr;
    int _frame = 0;
    double _frameDelay = 0.01;
    double _frameTime = 0;
    int _direction = 1;
    int _cycles = 1;
    int _cycleEndFrame = 0;

private:
    void play(atype type, int cycles, bool forward);
    // Returns false when the playback has run out and now holds.
    bool step(int count);
};

} // namespace Pyrane
