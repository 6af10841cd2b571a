#include "tools/assetmaker/wavfile.h"

#include "tools/assetmaker/binarywriter.h"

namespace AssetMaker {

void writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate) {
    BinaryWriter out;
    auto dataBytes = std::uint32_t(samples.size() * 2);
    out.text("RIFF");
    out.u32(36 + dataBytes);
    out.text("WAVE");
    out.text("fmt ");
    out.u32(16);
    out.u16(1); // PCM
    out.u16(1); // mono
    out.u32(std::uint32_t(rate));
    out.u32(std::uint32_t(rate) * 2); // bytes a second
    out.u16(2);                       // bytes a frame
    out.u16(16);                      // bits a sample
    out.text("data");
    out.u32(dataBytes);
    for (std::int16_t s : samples)
        out.u16(std::uint16_t(s));
    out.save(path);
}

} // namespace AssetMaker
