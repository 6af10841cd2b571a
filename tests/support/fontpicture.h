#pragma once
// Font pictures for tests, drawn as text rows.
#include <string>
#include <vector>

namespace TestSupport {

// Writes a font picture given as text rows, top row first, one character a pixel:
// 'A' white, 'B' green, 'C' blue, 'D' yellow, '#' the pure red glyph marker, anything
// else transparent.
void writeFontPicture(const std::string& path, const std::vector<std::string>& rows);

// A 32 x 16 picture with two lines 8 pixels high. The bottom line holds A (3 wide),
// B (4 wide) and C (2 wide), each followed by a marker, and a second marker that ends
// the line; the top line holds D (5 wide).
std::vector<std::string> threeGlyphFont();

} // namespace TestSupport
