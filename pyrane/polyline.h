#pragma once
// Lines through a list of points. A PolyLine is drawn as connected segments; a
// TexturedPolyLine turns the same points into a ribbon of constant width whose texture
// repeats along the line (trails, beams, ropes). The ribbon is cached and rebuilt
// whenever a point is added.
#include <vector>

#include "common_classes/vector2.h"

namespace Pyrane {

class Bitmap;

class PolyLine {
public:
    PolyLine() = default;
    virtual ~PolyLine() = default;

    // Append a point; return the line for chaining.
    virtual PolyLine& addPoint(const Vector2<float>& point);
    virtual PolyLine& addPoint(float x, float y);
    // Removes the points; a textured line keeps its ribbon until the next point.
    void clear() { _points.clear(); }
    const std::vector<Vector2<float>>& points() const { return _points; }

protected:
    std::vector<Vector2<float>> _points;
};

class TexturedPolyLine : public PolyLine {
public:
    TexturedPolyLine() = default;

    TexturedPolyLine& addPoint(const Vector2<float>& point) override;
    TexturedPolyLine& addPoint(float x, float y) override;

    // The settings take effect when the next point is added.
    void width(float pixels) { _width = pixels; }
    float width() const { return _width; }
    // Not owned; null draws the ribbon in the current colour without texture.
    void textureBitmap(Bitmap* bitmap) { _textureBitmap = bitmap; }
    Bitmap* textureBitmap() const { return _textureBitmap; }
    // The length of line that one unit of texture coordinate covers.
    void textureTileLength(float pixels) { _textureTileLength = pixels; }
    float textureTileLength() const { return _textureTileLength; }

    // Rebuilds the ribbon: at each point a unit direction, its normal a quarter turn
    // counter-clockwise, the length of the line up to the following point, and the
    // strip entries texture coordinate (s, 0), vertex point + normal * width / 2,
    // texture coordinate (s, 1), vertex point - normal * width / 2, s being that
    // length over the tile length.
    void refreshCache();
    const std::vector<Vector2<float>>& normals() const { return _normals; }
    const std::vector<Vector2<float>>& directions() const { return _directions; }
    const std::vector<float>& lengths() const { return _lengths; }
    const std::vector<Vector2<float>>& quadStrip() const { return _quadStrip; }

private:
    float _width = 16;
    Bitmap* _textureBitmap = nullptr;
    float _textureTileLength = 10;
    std::vector<Vector2<float>> _normals;
    std::vector<Vector2<float>> _directions;
    std::vector<float> _lengths;
    std::vector<Vector2<float>> _quadStrip;
};

} // namespace Pyrane
