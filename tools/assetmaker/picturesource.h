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
class WordReader;

using Legend = std::map<char, Rgba>;

// The colour of a grid character; fails, naming the line, when the legend lacks it.
Rgba legendColour(const SourceFile& file, int line, const Legend& legend, char c);
// Reads the rest of a "colour <character> <RRGGBBAA>" line into the legend.
void readLegendEntry(WordReader& reader, Legend& legend);

RgbaImage readPicture(const std::string& path);

} // namespace AssetMaker
