#include "pyrane/timelinesprite.h"

namespace Pyrane {

void TimelineSprite::animate(double dt) {
    Sprite::animateLocal(dt);
    TimelineSprite::animateLocal(dt);
}

Sprite* TimelineSprite::duplicate() const {
    TimelineSprite* copy = new TimelineSprite;
    copyTo(copy);
    return copy;
}

void TimelineSprite::animateLocal(double dt) {
    if (_paused) return;
    for (Timeline<float>& timeline : _timelines)
        timeline.animate(dt);
}

void TimelineSprite::setTimeline(float& variable, Timeline<float>& timeline) {
    timeline.targetObject(variable);
    for (Timeline<float>& stored : _timelines) {
        if (stored.target() == &variable) {
            stored = timeline;
            return;
        }
    }
    _timelines.push_back(timeline);
}

void TimelineSprite::rewindAllTimelines() {
    for (Timeline<float>& timeline : _timelines)
        timeline.rewind();
}

void TimelineSprite::rewindNonLoopingTimelines() {
    for (Timeline<float>& timeline : _timelines)
        if (!timeline.loop()) timeline.rewind();
}

void TimelineSprite::copyTo(TimelineSprite* target) const {
    if (target == this) return;
    Sprite::copyTo(target);
    target->_timelines = _timelines;
    retarget(target, spriteFields(*this), spriteFields(*target));
}

void TimelineSprite::retarget(TimelineSprite* target, const std::vector<const float*>& fields,
                              const std::vector<float*>& targetFields) const {
    for (Timeline<float>& timeline : target->_timelines)
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (timeline.target() == fields[i]) timeline.targetObject(*targetFields[i]);
}

} // namespace Pyrane
