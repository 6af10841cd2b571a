#pragma once
// Screenshots: the 160 x 100 picture enlarged four times, nearest neighbour, saved as a
// PNG file named by the date and time in the user's pictures folder, never over a file
// that is there already.
#include <ctime>
#include <string>

#include "pyrane/pngwriter.h"

namespace Tarvex::Screenshot {

// Each pixel of the picture becomes a square of this side.
constexpr int enlargement = 4;

// The pictures folder: XDG_PICTURES_DIR of the environment or of user-dirs.dirs in the
// user's configuration folder, else ~/Pictures where it exists, else `fallback`.
std::string folder(const std::string& fallback);

// The file name for a screenshot taken at `when` (local time), "kestrane-2026-12-07-
// 203512.png", or with "-2", "-3" and so on before ".png" for the `n`th of the same second.
std::string fileName(std::time_t when, int n);

struct Saved {
    std::string path;  // the file written, when it was
    std::string error; // why none was, else empty
};
// Saves the picture, rows from the bottom up as read back, enlarged into `folder`.
Saved save(const Pyrane::Picture& picture, const std::string& folder, std::time_t when);

} // namespace Tarvex::Screenshot
