#pragma once
// The hiscore file: the best score as four bytes, a little-endian IEEE single-precision
// float, nothing before or after it.
#include <optional>
#include <string>

namespace Tarvex {

// The hiscore saved in path; none when the file is missing, too short to hold one, or
// holds no score a game can reach (not a finite number, negative, or too large to print).
std::optional<float> readHiscoreFile(const std::string& path);

// Saves the hiscore whole or not at all, so a failed save leaves the old file as it was.
// A failure is not an error for the game: the hiscore then holds for this run only. Why
// is said on standard error at the first failure, and again only after a save has worked
// in between, so a folder that cannot be written is named once, not every game over.
// False when it was not saved.
bool writeHiscoreFile(const std::string& path, float hiscore);

} // namespace Tarvex
