#pragma once
// Bitmaps for engine tests, made the way the game makes them: a picture written to a
// PNG file and loaded back through the engine's loader.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common_classes/rgba.h"
#include "pyrane/bitmap.h"

namespace TestSupport {

class TempDir;

// The bytes of a w x h picture as an image viewer shows it: pixel(x, row) with row 0
// at the top, for writePng.
std::vector<std::uint8_t> picture(int w, int h,
                                  const std::function<RGBA<unsigned char>(int x, int row)>& pixel);

// Writes the picture to name in dir and loads it; activate makes its texture.
std::unique_ptr<Pyrane::Bitmap>
loadBitmap(const TempDir& dir, const std::string& name, int w, int h,
           const std::function<RGBA<unsigned char>(int, int)>& pixel, Pyrane::Renderer2D& renderer,
           bool activate = true);

} // namespace TestSupport
