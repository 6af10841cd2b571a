#pragma once
// The generated pictures loaded through the engine's own bitmap loader, which refuses what
// the game cannot use (not RGBA with 8 bits a channel, sides not powers of two). Pixel
// (x, y) counts upwards from the bottom row, like the game's image tables.
#include <cstdint>
#include <memory>
#include <string>

#include "pyrane/bitmap.h"

namespace Pyrane {
class Renderer2D;
}

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

// The test program's renderer, on its one GL window (made on first use).
Pyrane::Renderer2D& renderer();

class Picture {
public:
    // Throws std::runtime_error as the game's loader does.
    explicit Picture(const std::string& path);

    int width() const { return _bitmap->w(); }
    int height() const { return _bitmap->h(); }
    // Transparent black outside the picture.
    Pixel at(int x, int y) const;
    // Pixels in the box whose alpha is at least `alpha`.
    int ink(const Box& box, int alpha = 1) const;
    Pyrane::Bitmap& bitmap() const { return *_bitmap; }

private:
    std::unique_ptr<Pyrane::Bitmap> _bitmap;
};

} // namespace AssetTest
