#pragma once
// Bitmap fonts written as glyph grids, laid out the way the game's font loader cuts them:
// lines of glyphs stacked from the bottom of the picture, each glyph followed by a pure red
// marker pixel in the bottom row of its line, and two markers in a row ending a line.
//
//   height 16               cell height in pixels
//   baseline 5              baseline height above the bottom of a cell
//   width 256               picture width (a power of two)
//   colour X ffffffff       legend entry, as in pictures
//   glyph A                 a glyph follows ("glyph space" for the space character)
//   .XX..                   rows as seen; the width includes the blank column(s) after it
//   -                       optional: the baseline; rows after it hang below it
//
// Glyphs go into the picture in the order they are written, which is the order of the
// character string the game hands to its font loader.
#include <string>
#include <vector>

#include "tools/assetmaker/rgbaimage.h"

namespace AssetMaker {

struct GlyphBox {
    char character = 0;
    int x = 0, y = 0, width = 0;
};

struct FontPicture {
    RgbaImage image;
    std::vector<GlyphBox> glyphs;
    int cellHeight = 0;
    int baseline = 0;
};

extern const Rgba markerRed;

FontPicture readFont(const std::string& path);

} // namespace AssetMaker
