#pragma once
// A contact sheet for looking at the pictures as the game shows them: every picture scaled
// up four times on grey and on black, then in the colours the game tints it with, and the
// fonts with sample lines of the game's texts.
#include <map>
#include <string>

#include "tools/assetmaker/fontsource.h"
#include "tools/assetmaker/rgbaimage.h"

namespace AssetMaker {

RgbaImage makeContactSheet(const std::map<std::string, RgbaImage>& pictures,
                           const FontPicture& font, const FontPicture& smallFont);

// Draws `text` with its top-left corner at (x, top), one pixel a pixel, in `colour`; the
// glyph ink takes the colour, as the game's modulated drawing does. Returns the width.
int drawText(RgbaImage& target, const FontPicture& font, const std::string& text, int x, int top,
             Rgba colour);

} // namespace AssetMaker
