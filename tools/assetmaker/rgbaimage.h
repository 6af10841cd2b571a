#pragma once
// An 8-bit RGBA picture held the way the game holds bitmaps: row 0 is the bottom row.
#include <cstdint>
#include <vector>

namespace AssetMaker {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

class RgbaImage {
public:
    RgbaImage() = default;
    RgbaImage(int width, int height, Rgba fill = {});

    int width() const { return _width; }
    int height() const { return _height; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < _width && y < _height; }
    // (x, y) counted from the bottom-left corner; outside the picture reads as transparent
    // black and writes are dropped.
    Rgba pixel(int x, int y) const;
    void pixel(int x, int y, Rgba colour);
    // Copies the whole of `source` with its bottom-left corner at (x, y).
    void paste(const RgbaImage& source, int x, int y);
    const std::vector<std::uint8_t>& bytes() const { return _bytes; }

private:
    int _width = 0;
    int _height = 0;
    std::vector<std::uint8_t> _bytes;
};

// `source` tinted with `tint` (as the game's modulated drawing does) and laid over the
// opaque `ground` by its alpha; the result is opaque.
Rgba blend(Rgba ground, Rgba source, Rgba tint);

bool isPowerOfTwo(int n);
int nextPowerOfTwo(int n);

} // namespace AssetMaker
