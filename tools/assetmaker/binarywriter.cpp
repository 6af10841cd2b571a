#include "tools/assetmaker/binarywriter.h"

#include <fstream>

#include "tools/assetmaker/sourcefile.h"

namespace AssetMaker {

void BinaryWriter::u16(std::uint16_t v) {
    u8(std::uint8_t(v & 0xff));
    u8(std::uint8_t(v >> 8));
}

void BinaryWriter::u32(std::uint32_t v) {
    u16(std::uint16_t(v & 0xffff));
    u16(std::uint16_t(v >> 16));
}

void BinaryWriter::fixedText(const std::string& s, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        u8(i < s.size() ? std::uint8_t(s[i]) : 0);
}

void BinaryWriter::patchU16(std::size_t offset, std::uint16_t v) {
    _bytes[offset] = std::uint8_t(v & 0xff);
    _bytes[offset + 1] = std::uint8_t(v >> 8);
}

void BinaryWriter::save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(_bytes.data()), std::streamsize(_bytes.size()));
    out.close();
    if (!out) throw AssetError("cannot write '" + path + "'");
}

} // namespace AssetMaker
