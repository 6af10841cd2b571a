#include "tools/assetmaker/rgbaimage.h"

namespace AssetMaker {

RgbaImage::RgbaImage(int width, int height, Rgba fill)
    : _width(width), _height(height), _bytes(std::size_t(width) * std::size_t(height) * 4) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixel(x, y, fill);
}

Rgba RgbaImage::pixel(int x, int y) const {
    if (!contains(x, y)) return {};
    const std::uint8_t* p = &_bytes[(std::size_t(y) * std::size_t(_width) + std::size_t(x)) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void RgbaImage::pixel(int x, int y, Rgba colour) {
    if (!contains(x, y)) return;
    std::uint8_t* p = &_bytes[(std::size_t(y) * std::size_t(_width) + std::size_t(x)) * 4];
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
    p[3] = colour.a;
}

void RgbaImage::paste(const RgbaImage& source, int x, int y) {
    for (int sy = 0; sy < source.height(); ++sy)
        for (int sx = 0; sx < source.width(); ++sx)
            pixel(x + sx, y + sy, source.pixel(sx, sy));
}

Rgba blend(Rgba ground, Rgba source, Rgba tint) {
    int alpha = source.a * tint.a / 255;
    auto mix = [&](int g, int s, int t) {
        return std::uint8_t((g * (255 - alpha) + (s * t / 255) * alpha) / 255);
    };
    return {mix(ground.r, source.r, tint.r), mix(ground.g, source.g, tint.g),
            mix(ground.b, source.b, tint.b), 255};
}

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

int nextPowerOfTwo(int n) {
    int p = 1;
    while (p < n)
        p *= 2;
    return p;
}

} // namespace AssetMaker
