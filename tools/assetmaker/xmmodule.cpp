#include "tools/assetmaker/xmmodule.h"

#include "tools/assetmaker/binarywriter.h"
#include "tools/assetmaker/sourcefile.h"

namespace AssetMaker {

namespace {

void writePattern(BinaryWriter& out, const XmPattern& pattern) {
    out.u32(9); // pattern header length
    out.u8(0);  // packing type
    out.u16(std::uint16_t(pattern.rows));
    std::size_t sizeAt = out.size();
    out.u16(0);
    std::size_t start = out.size();
    for (const XmCell& cell : pattern.cells) {
        // Packed form: a flag byte says which of the five fields follow.
        std::uint8_t flags = 0x80;
        if (cell.note) flags |= 0x01;
        if (cell.instrument) flags |= 0x02;
        if (cell.volume) flags |= 0x04;
        if (cell.effect) flags |= 0x08;
        if (cell.param) flags |= 0x10;
        out.u8(flags);
        if (cell.note) out.u8(cell.note);
        if (cell.instrument) out.u8(cell.instrument);
        if (cell.volume) out.u8(cell.volume);
        if (cell.effect) out.u8(cell.effect);
        if (cell.param) out.u8(cell.param);
    }
    std::size_t packed = out.size() - start;
    if (packed > 0xffff) throw AssetError("a pattern packs to more than 65535 bytes");
    out.patchU16(sizeAt, std::uint16_t(packed));
}

void writeInstrument(BinaryWriter& out, const XmInstrument& in) {
    if (in.envelope.size() > 12) throw AssetError(in.name + ": an envelope has at most 12 points");
    std::size_t start = out.size();
    out.u32(263); // instrument header size, as FastTracker 2 writes it
    out.fixedText(in.name, 22);
    out.u8(0);
    out.u16(1);    // one sample
    out.u32(40);   // sample header size
    out.zeros(96); // every note plays sample 0
    for (std::size_t i = 0; i < 12; ++i) {
        XmEnvelopePoint p = i < in.envelope.size() ? in.envelope[i] : XmEnvelopePoint{};
        out.u16(p.tick);
        out.u16(p.value);
    }
    out.zeros(48); // no panning envelope
    out.u8(std::uint8_t(in.envelope.size()));
    out.u8(0);
    out.u8(std::uint8_t(in.sustainPoint < 0 ? 0 : in.sustainPoint));
    out.u8(0); // volume loop start and end
    out.u8(0);
    out.zeros(3); // panning sustain and loop
    std::uint8_t volumeType = 0;
    if (!in.envelope.empty()) volumeType |= 1;
    if (in.sustainPoint >= 0) volumeType |= 2;
    out.u8(volumeType);
    out.u8(0);    // panning envelope off
    out.zeros(4); // no auto-vibrato
    out.u16(in.fadeout);
    out.zeros(22); // reserved up to the header size
    if (out.size() - start != 263) throw AssetError("instrument header size is wrong");

    bool loops = in.loopLength > 0;
    out.u32(std::uint32_t(in.sample.size() * 2)); // lengths in bytes: 16-bit samples
    out.u32(loops ? in.loopStart * 2 : 0);
    out.u32(loops ? in.loopLength * 2 : 0);
    out.u8(in.volume);
    out.u8(std::uint8_t(in.finetune));
    out.u8(std::uint8_t((loops ? 1 : 0) | 0x10)); // forward loop, 16-bit
    out.u8(in.panning);
    out.u8(std::uint8_t(in.relativeNote));
    out.u8(0);
    out.fixedText(in.name, 22);

    std::int16_t previous = 0;
    for (std::int16_t s : in.sample) {
        out.u16(std::uint16_t(std::uint16_t(s) - std::uint16_t(previous)));
        previous = s;
    }
}

} // namespace

std::vector<std::uint8_t> encodeXm(const XmModule& module) {
    if (module.order.empty() || module.order.size() > 256 || module.patterns.empty() ||
        module.patterns.size() > 256 || module.instruments.size() > 128 || module.channels < 1 ||
        module.channels > 32 || module.restart < 0 || module.restart >= int(module.order.size()))
        throw AssetError(module.name +
                         ": the module's order, patterns or channels are out of range");
    BinaryWriter out;
    out.text("Extended Module: ");
    out.fixedText(module.name, 20);
    out.u8(0x1a);
    out.fixedText("Kestrane assetmaker", 20);
    out.u16(0x0104);
    out.u32(276); // header size, counted from this field at offset 60
    out.u16(std::uint16_t(module.order.size()));
    out.u16(std::uint16_t(module.restart));
    out.u16(std::uint16_t(module.channels));
    out.u16(std::uint16_t(module.patterns.size()));
    out.u16(std::uint16_t(module.instruments.size()));
    out.u16(1); // linear frequency table
    out.u16(std::uint16_t(module.speed));
    out.u16(std::uint16_t(module.bpm));
    for (std::size_t i = 0; i < 256; ++i)
        out.u8(i < module.order.size() ? module.order[i] : 0);
    if (out.size() != 60 + 276) throw AssetError("module header size is wrong");
    for (const XmPattern& p : module.patterns) {
        if (p.rows < 1 || p.rows > 256 || p.cells.size() != std::size_t(p.rows * module.channels))
            throw AssetError(module.name + ": a pattern has the wrong number of cells");
        writePattern(out, p);
    }
    for (const XmInstrument& in : module.instruments)
        writeInstrument(out, in);
    return out.data();
}

} // namespace AssetMaker
