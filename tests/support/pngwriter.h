#pragma once
// Writes PNG files through libpng, so that tests load real pictures from disk: RGBA
// pictures through the engine's writer, other formats for the loader to refuse.
#include <functional>
#include <string>

#include "common_classes/rgba.h"

namespace TestSupport {

// Writes a w x h RGBA picture, 8 bits a channel; pixel(x, row) gives each pixel with row
// 0 at the top, as an image viewer shows it. Throws std::runtime_error when it cannot.
void writePng(const std::string& path, int w, int h,
              const std::function<RGBA<unsigned char>(int x, int row)>& pixel);
// Writes a w x h picture of zeros in a format of libpng's simplified interface
// (PNG_FORMAT_...; a colour-mapped one gets 256 black entries, 8 bits an index), for the
// loader to refuse.
void writePng(const std::string& path, int w, int h, unsigned int format);

} // namespace TestSupport
