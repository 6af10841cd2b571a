#pragma once
// A sprite that owns timelines aimed at its own fields (at most one per variable) and
// advances them with its animation unless it is paused.
#include <vector>

#include "pyrane/sprite.h"
#include "pyrane/timeline.h"

namespace Pyrane {

class TimelineSprite : public virtual Sprite {
public:
    TimelineSprite() = default;

    void animate(double dt) override;
    Sprite* duplicate() const override;
    void animateLocal(double dt);
    void copyTo(TimelineSprite* target) const;

    // Aims `timeline` at `variable` (the caller's timeline is changed too) and stores a
    // copy, replacing one that already drives that variable.
    void setTimeline(float& variable, Timeline<float>& timeline);
    const std::vector<Timeline<float>>& timelines() const { return _timelines; }
    void rewindAllTimelines();
    void rewindNonLoopingTimelines();

protected:
    // Re-aims the copied timelines that drove one of `fields` of this sprite at the
    // field of the same index in `targetFields`.
    void retarget(TimelineSprite* target, const std::vector<const float*>& fields,
                  const std::vector<float*>& targetFields) const;

    std::vector<Timeline<float>> _timelines;

private:
    // The sprite fields a copied timeline follows to the copy.
    template <typename S> static auto spriteFields(S& s) {
        return std::vector{&s._pos.x,   &s._pos.y,         &s._vel.value,    &s._vel.angle,
                           &s._accel,   &s._color.r,       &s._color.g,      &s._color.b,
                           &s._color.a, &s._imageRotation, &s._imageScale.x, &s._imageScale.y};
    }
};

} // namespace Pyrane
