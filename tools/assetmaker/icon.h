#pragma once
// The desktop icon, made from the game's own ship: its pixels enlarged nearest-neighbour
// as big as fits a square with a margin, white on the dark ground of the play field, so
// that the menu of a desktop shows the ship the player steers.
#include "tools/assetmaker/rgbaimage.h"

namespace AssetMaker {

// The sides of the icons a desktop's icon theme is given.
inline constexpr int iconSizes[] = {32, 64, 128};

// An icon `size` pixels square from the visible pixels of `ship` (white shapes on a
// transparent ground whose alpha makes their shade). Fails with an AssetError when the
// ship has no visible pixel or does not fit.
RgbaImage makeIcon(const RgbaImage& ship, int size);

} // namespace AssetMaker
