#pragma once
// Makes every run-time file of the game from the sources in `sourceDir` (the repository's
// assets/) into `outDir`, in the layout the game reads: bitmaps/*.png, sound/sound.conf,
// sound/*.wav, sound/*.xm; the desktop icons icons/kestrane_<size>.png made from the ship;
// and a contact sheet, contact_sheet.png, for looking at the pictures.
#include <string>

namespace AssetMaker {

void makeAssets(const std::string& sourceDir, const std::string& outDir);

} // namespace AssetMaker
