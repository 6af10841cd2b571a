#pragma once
// A FastTracker 2 extended module (XM) in memory, and writing it out. Details that loaders
// accept silently but then play as silence are kept right here: the header size counts
// from offset 60, sample lengths and loops are in bytes (two a sample for 16-bit data), and
// sample data is delta-encoded.
#include <cstdint>
#include <string>
#include <vector>

namespace AssetMaker {

constexpr std::uint8_t xmKeyOff = 97;

struct XmCell {
    std::uint8_t note = 0;       // 1 = C-0 ... 96 = B-7, 97 key off, 0 none
    std::uint8_t instrument = 0; // 1-based, 0 none
    std::uint8_t volume = 0;     // volume column byte (0x10 + 0..64 sets the volume), 0 none
    std::uint8_t effect = 0;
    std::uint8_t param = 0;
    bool empty() const { return !note && !instrument && !volume && !effect && !param; }
};

struct XmPattern {
    int rows = 64;
    std::vector<XmCell> cells; // rows x channels, row by row
};

struct XmEnvelopePoint {
    std::uint16_t tick = 0;
    std::uint16_t value = 0; // 0..64
};

struct XmInstrument {
    std::string name;
    std::vector<std::int16_t> sample;
    std::uint32_t loopStart = 0; // in sample frames; 0 length means no loop
    std::uint32_t loopLength = 0;
    std::uint8_t volume = 64;
    std::int8_t finetune = 0;
    std::int8_t relativeNote = 0;
    std::uint8_t panning = 128;
    std::vector<XmEnvelopePoint> envelope; // empty: none
    int sustainPoint = -1;
    std::uint16_t fadeout = 0;
};

struct XmModule {
    std::string name;
    int channels = 8;
    int speed = 6; // ticks a row
    int bpm = 125;
    int restart = 0;
    std::vector<std::uint8_t> order;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

std::vector<std::uint8_t> encodeXm(const XmModule& module);

} // namespace AssetMaker
