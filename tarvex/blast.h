#pragma once
// The ring a bomb leaves where it goes off: a disc that grows fast and then hollows out
// from the middle until only a thin ring at its full radius is left, and ends at twice
// the duration it was made with.
#include <vector>

#include "common_classes/gradient.h"
#include "common_classes/radvector2.h"
#include "common_classes/rgba.h"
#include "common_classes/vector2.h"

namespace Pyrane {
class Renderer2D;
}

namespace Tarvex {

class Blast {
public:
    // With d the duration and R the radius, the outer edge reaches 0.7 R at d / 8 and R
    // at d; the hole opens at d / 4 and closes the ring at d / 4 + d.
    Blast(const Vector2<float>& pos, float radius, double duration, const RGBA<float>& color);

    void animate(double dt);
    // The ring in its colour, untextured, around its centre.
    void draw();
    // The ring at the blast's time as a strip of vertex pairs, inner then outer, from the
    // angle 0 round to a full turn, relative to the centre.
    std::vector<Vector2<float>> ringVertices() const;

    // The game's renderer, stored by the game object when it is built.
    static Pyrane::Renderer2D* _renderer;

    Vector2<float> _pos;
    RadVector2<float> _vel;
    Gradient<float> _innerRadius;
    Gradient<float> _outerRadius;
    RGBA<float> _color;
    bool _done = false;
    double _time = 0;
    double _duration;
    int _segments = 36;
    float _segmentAngle;
};

} // namespace Tarvex
