#pragma once
// Little-endian byte output for the WAV and XM writers.
#include <cstdint>
#include <string>
#include <vector>

namespace AssetMaker {

class BinaryWriter {
public:
    void u8(std::uint8_t v) { _bytes.push_back(v); }
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    void text(const std::string& s) { _bytes.insert(_bytes.end(), s.begin(), s.end()); }
    // Writes `s` cut or padded with zero bytes to exactly `size` bytes.
    void fixedText(const std::string& s, std::size_t size);
    void zeros(std::size_t count) { _bytes.insert(_bytes.end(), count, 0); }
    void bytes(const std::vector<std::uint8_t>& b) {
        _bytes.insert(_bytes.end(), b.begin(), b.end());
    }
    std::size_t size() const { return _bytes.size(); }
    // Overwrites a 16-bit value written earlier, for sizes known only afterwards.
    void patchU16(std::size_t offset, std::uint16_t v);
    const std::vector<std::uint8_t>& data() const { return _bytes; }
    // Writes everything to a file; fails with an AssetError.
    void save(const std::string& path) const;

private:
    std::vector<std::uint8_t> _bytes;
};

} // namespace AssetMaker
