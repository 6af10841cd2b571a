#include "tools/assetmaker/icon.h"

#include <algorithm>
#include <string>

#include "tools/assetmaker/sourcefile.h"

namespace AssetMaker {

namespace {

// The dark blue-grey of a night sky, which the white ship stands out on at any size.
const Rgba ground{20, 26, 38, 255};
const Rgba white{255, 255, 255, 255};

struct Bounds {
    int x0, y0, x1, y1; // x1, y1 one past the last visible column and row
};

Bounds visibleBounds(const RgbaImage& picture) {
    Bounds b{picture.width(), picture.height(), 0, 0};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y).a) {
                b.x0 = std::min(b.x0, x);
                b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x + 1);
                b.y1 = std::max(b.y1, y + 1);
            }
    return b;
}

// Whether (x, y) lies outside the rounded corners of a square of `size` whose corners
// are quarter circles of `radius`.
bool cutCorner(int x, int y, int size, int radius) {
    auto distance = [&](int v) {
        return v < radius ? radius - v : v >= size - radius ? v - (size - radius - 1) : 0;
    };
    int dx = distance(x), dy = distance(y);
    return dx && dy && dx * dx + dy * dy > radius * radius;
}

} // namespace

RgbaImage makeIcon(const RgbaImage& ship, int size) {
    const Bounds b = visibleBounds(ship);
    const int w = b.x1 - b.x0, h = b.y1 - b.y0;
    if (w <= 0 || h <= 0) throw AssetError("the ship has no visible pixel for the icon");
    const int margin = size / 16;
    const int scale = (size - 2 * margin) / std::max(w, h);
    if (scale < 1) throw AssetError("the ship does not fit an icon of " + std::to_string(size));

    const int left = (size - w * scale) / 2, bottom = (size - h * scale) / 2;
    const int radius = size / 8;
    RgbaImage icon(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            if (cutCorner(x, y, size, radius)) continue;
            Rgba colour = ground;
            const int sx = x - left, sy = y - bottom;
            if (sx >= 0 && sy >= 0 && sx < w * scale && sy < h * scale)
                colour = blend(ground, ship.pixel(b.x0 + sx / scale, b.y0 + sy / scale), white);
            icon.pixel(x, y, colour);
        }
    return icon;
}

} // namespace AssetMaker
