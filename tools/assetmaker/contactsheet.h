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

} // namespace AssetMaker
