#pragma once
// Saving a file so that a crash, a kill, a power loss or a full disk never leaves it
// truncated: the new contents go to a new file beside the old one, reach the disk,
// and only then replace the old file in one step.
#include <string>
#include <string_view>

// Writes contents to path as a whole or not at all. On failure the old file (if any)
// is left as it was, nothing else is left behind, false is returned and, when error is
// given, it says why.
bool writeFileAtomically(const std::string& path, std::string_view contents,
                         std::string* error = nullptr);
