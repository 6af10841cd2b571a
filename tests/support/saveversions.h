#pragma once
// The numbered versions of the settings and the hiscore that the tests of saving write,
// in the test and in the program it kills, so both know what each version holds.
#include <string>

#include "common_classes/settings/settings.h"

namespace TestSupport {

// Version n: its own screen mode and number, and a note whose length changes with n, so
// that a file cut short or made of two versions never reads as a whole one.
inline Settings savedSettings(int n) {
    Settings settings;
    settings["screenSize"] = n % 5 + 1;
    settings["version"] = n;
    settings["note"] = std::string(std::size_t(500 + n % 7 * 2000), char('a' + n % 26));
    return settings;
}

inline float savedHiscore(int n) {
    return float(n) * 10;
}

} // namespace TestSupport
