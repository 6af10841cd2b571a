#include "tarvex/blast.h"

#include <cmath>
#include <numbers>

#include "pyrane/renderer2d.h"

namespace Tarvex {

namespace {

constexpr float fullTurn = 2 * std::numbers::pi_v<float>;
// A radius of zero would make a degenerate strip; the curves start just above it.
constexpr float noRadius = 0.001f;

} // namespace

Pyrane::Renderer2D* Blast::_renderer = nullptr;

Blast::Blast(const Vector2<float>& pos, float radius, double duration, const RGBA<float>& color)
    : _pos(pos), _color(color), _duration(2 * duration),
      _segmentAngle(fullTurn / float(_segments)) {
    const float d = float(duration);
    _innerRadius.addEntry(0, noRadius);
    _innerRadius.addEntry(d / 4, noRadius);
    _innerRadius.addEntry(d / 4 + d, radius);
    _outerRadius.addEntry(0, noRadius);
    _outerRadius.addEntry(d / 8, 0.7f * radius);
    _outerRadius.addEntry(d, radius);
}

void Blast::animate(double dt) {
    _pos += _vel.toVector2() * float(dt);
    _time += dt;
    if (_time >= _duration) _done = true;
}

std::vector<Vector2<float>> Blast::ringVertices() const {
    const float inner = _innerRadius.value(float(_time));
    const float outer = _outerRadius.value(float(_time));
    std::vector<Vector2<float>> vertices;
    vertices.reserve(2 * std::size_t(_segments + 1));
    // Counted rather than summed up, so that the last pair lies on the full turn and
    // closes the ring whatever the rounding of the steps.
    for (int i = 0; i <= _segments; ++i) {
        const float a = float(i) * _segmentAngle;
        const Vector2<float> direction(std::cos(a), std::sin(a));
        vertices.push_back(direction * inner);
        vertices.push_back(direction * outer);
    }
    return vertices;
}

void Blast::draw() {
    Pyrane::Renderer2D& renderer = *_renderer;
    renderer.pushMatrix();
    renderer.translate(_pos.x, _pos.y);
    const std::vector<Vector2<float>> ring = ringVertices();
    renderer.texturing(false);
    renderer.color(_color);
    renderer.drawQuadStrip(ring);
    renderer.texturing(true);
    renderer.popMatrix();
}

} // namespace Tarvex
