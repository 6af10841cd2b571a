#pragma once
// Writing pictures as 8-bit RGBA PNG files through libpng. The files carry no time stamp,
// so the same picture always gives the same bytes.
#include <string>

#include "tools/assetmaker/rgbaimage.h"

namespace AssetMaker {

// Writes the picture top row first, as PNG wants it. Fails with an AssetError.
void writePng(const std::string& path, const RgbaImage& image);

} // namespace AssetMaker
