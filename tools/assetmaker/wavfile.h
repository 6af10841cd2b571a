#pragma once
// Writing 16-bit PCM WAV files.
#include <cstdint>
#include <string>
#include <vector>

namespace AssetMaker {

void writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate);

} // namespace AssetMaker
