#pragma once
// Reading the generated pictures the way the game needs them, for the asset tests: 8-bit
// RGBA, power-of-two sides, rows bottom-up so that (x, y) counts upwards like the game's
// image tables. The engine's own bitmap loader is not there yet, so this reads the files
// with libpng directly and refuses what the game's loader refuses.
#include <cstdint>
#include <string>
#include <vector>

namespace AssetTest {

struct Pixel {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Pixel&) const = default;
};

// A rectangle as the game's tables give it: (x0, y0) the first pixel, (x1, y1) the edge
// after the last one.
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class Picture {
public:
    // Throws std::runtime_error when the file is missing, not RGBA with 8 bits a channel,
    // or not of power-of-two size.
    explicit Picture(const std::string& path);

    int width() const { return _width; }
    int height() const { return _height; }
    // Transparent black outside the picture.
    Pixel at(int x, int y) const;
    // Pixels in the box whose alpha is at least `alpha`.
    int ink(const Box& box, int alpha = 1) const;

private:
    int _width = 0, _height = 0;
    std::vector<Pixel> _pixels; // bottom row first
};

// The glyph boxes the game's font loader cuts from a font picture for a character string
// of `count` characters with cells `cellHeight` high (red markers end glyphs, two markers
// in a row end a line).
std::vector<Box> cutGlyphs(const Picture& font, std::size_t count, int cellHeight);

} // namespace AssetTest
