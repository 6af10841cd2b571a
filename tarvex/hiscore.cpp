#include "tarvex/hiscore.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>

#include "common_classes/atomicfile.h"

namespace Tarvex {

namespace {

// Scores print as whole numbers through a long; anything from here on does not fit.
constexpr float unreachableScore = 9.0e18f;

} // namespace

std::optional<float> readHiscoreFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    unsigned char bytes[4];
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    if (got != sizeof bytes) return std::nullopt;

    const std::uint32_t bits = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                               std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value) || value < 0 || value >= unreachableScore) return std::nullopt;
    return value;
}

bool writeHiscoreFile(const std::string& path, float hiscore) {
    static bool failing = false;
    std::uint32_t bits;
    std::memcpy(&bits, &hiscore, sizeof bits);
    const char bytes[4] = {static_cast<char>(bits), static_cast<char>(bits >> 8),
                           static_cast<char>(bits >> 16), static_cast<char>(bits >> 24)};
    std::string error;
    const bool saved = writeFileAtomically(path, std::string_view(bytes, sizeof bytes), &error);
    if (!saved && !failing) std::cerr << "Kestrane: the hiscore was not saved: " << error << "\n";
    failing = !saved;
    return saved;
}

} // namespace Tarvex
