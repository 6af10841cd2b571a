#pragma once
// Pixel art written as character grids with a legend.
//
//   size 16 16              picture width and height (powers of two)
//   colour # ffffffff       a legend entry: character, then RRGGBBAA in hex
//   fill #                  fills the whole picture; "fill # x0 y0 x1 y1" fills a box
//   grid 0 0                a grid follows, its bottom-left corner at (0, 0)
//   ..#..                   rows as seen, top row first, up to a blank line
//
// Coordinates count x from the left and y upwards from the bottom row, like the game's
// image tables. '.' means transparent unless the legend says otherwise.
#include <map>
#include <string>

#include "tools/assetmaker/rgbaimage.h"

namespace AssetMaker {

class SourceFile;

using Legend = std::map<char, Rgba>;

// Reads a colour written as RRGGBBAA; false when the text is not one.
bool parseColour(const std::string& text, Rgba& colour);

RgbaImage readPicture(const std::string& path);

} // namespace AssetMaker
