#pragma once
// One hidden window with its OpenGL context for a whole test program, and reading
// back the pixels a player would see.
#include <cstdint>
#include <vector>

#include "common_classes/openglappmultistate.h"
#include "pyrane/renderer2d.h"

namespace TestSupport {

// The test program's application object, made on first use (hidden window,
// 640 x 400, context current).
OpenglAppMultistate& app();

struct Pixel {
    std::uint8_t r, g, b, a;
    bool operator==(const Pixel&) const = default;
};

// Reads one pixel of the back buffer, (0, 0) being the bottom-left corner.
Pixel readPixel(int x, int y);
// Reads a width x height block of the back buffer, rows from the bottom up.
std::vector<Pixel> readPixels(int x, int y, int width, int height);
// The renderer's picture as it reads it back (Renderer2D::readPicture).
std::vector<Pixel> readPicture(Pyrane::Renderer2D& renderer);

} // namespace TestSupport
