#include "pyrane/polyline.h"

namespace Pyrane {

PolyLine& PolyLine::addPoint(const Vector2<float>& point) {
    _points.push_back(point);
    return *this;
}

PolyLine& PolyLine::addPoint(float x, float y) {
    return PolyLine::addPoint(Vector2<float>(x, y));
}

TexturedPolyLine& TexturedPolyLine::addPoint(const Vector2<float>& point) {
    PolyLine::addPoint(point);
    refreshCache();
    return *this;
}

TexturedPolyLine& TexturedPolyLine::addPoint(float x, float y) {
    return addPoint(Vector2<float>(x, y));
}

namespace {

// The line's direction at point c between its neighbours p and n (c itself at the
// ends), as a unit vector. Where the neighbours coincide the sum has no direction:
// at a fold the ribbon turns across the segment that arrives there, and a lone point
// (or a run of equal points) takes the direction +x, so no vertex is ever NaN.
Vector2<float> direction(const Vector2<float>& p, const Vector2<float>& c,
                         const Vector2<float>& n) {
    for (Vector2<float> d : {(n - c) + (c - p), c - p, n - c})
        if (d.abs() > 0) return d.norm();
    return Vector2<float>(1, 0);
}

} // namespace

void TexturedPolyLine::refreshCache() {
    _normals.clear();
    _directions.clear();
    _lengths.clear();
    _quadStrip.clear();
    const float h = _width / 2;
    float length = 0;
    for (std::size_t i = 0; i < _points.size(); ++i) {
        const Vector2<float>& c = _points[i];
        const Vector2<float>& p = i == 0 ? c : _points[i - 1];
        const Vector2<float>& n = i + 1 == _points.size() ? c : _points[i + 1];
        const Vector2<float> d = direction(p, c, n);
        const Vector2<float> normal(-d.y, d.x);
        _directions.push_back(d);
        _normals.push_back(normal);
        // Each point carries the length up to the following point, not up to itself.
        length += (n - c).abs();
        _lengths.push_back(length);
        const float s = length / _textureTileLength;
        _quadStrip.push_back(Vector2<float>(s, 0));
        _quadStrip.push_back(c + normal * h);
        _quadStrip.push_back(Vector2<float>(s, 1));
        _quadStrip.push_back(c - normal * h);
    }
}

} // namespace Pyrane
