#include "support/audiofiles.h"

#include <cstdint>

namespace TestSupport {

namespace {

// Appends integers little-endian, as both formats store them.
void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
}

// Appends text padded with zero bytes (or cut) to a fixed width.
void putText(std::string& out, const std::string& text, std::size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, '\0');
    out += field;
}

} // namespace

std::string wavTone(double seconds, int sampleRate) {
    auto frames = static_cast<std::uint32_t>(seconds * sampleRate);
    std::uint32_t dataSize = frames * 2;
    std::string out = "RIFF";
    put(out, 36 + dataSize, 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, 1, 2); // PCM
    put(out, 1, 2); // mono
    put(out, static_cast<std::uint32_t>(sampleRate), 4);
    put(out, static_cast<std::uint32_t>(sampleRate) * 2, 4);
    put(out, 2, 2); // bytes per frame
    put(out, 16, 2);
    out += "data";
    put(out, dataSize, 4);
    int period = sampleRate / 440;
    for (std::uint32_t i = 0; i < frames; ++i) {
        std::int16_t sample = (i % period) < std::uint32_t(period / 2) ? 8000 : -8000;
        put(out, static_cast<std::uint16_t>(sample), 2);
    }
    return out;
}

std::string xmTone(int rows) {
    const int channels = 2;
    std::string out = "Extended Module: ";
    putText(out, "test tone", 20);
    out += '\x1a';
    putText(out, "kestrane tests", 20);
    put(out, 0x0104, 2); // format version
    put(out, 276, 4);    // header size from here on
    put(out, 1, 2);      // song length in orders
    put(out, 0, 2);      // restart position
    put(out, channels, 2);
    put(out, 1, 2); // patterns
    put(out, 1, 2); // instruments
    put(out, 1, 2); // linear frequency table
    put(out, 3, 2); // ticks per row: 3 ticks at 125 BPM make 60 ms
    put(out, 125, 2);
    out += std::string(256, '\0'); // order table: pattern 0

    // Row 0, channel 0: C-4 of instrument 1 at full volume; every other cell empty.
    std::string cells;
    cells += std::string{'\x31', '\x01', '\x50', '\0', '\0'};
    cells += std::string(std::size_t(rows * channels - 1), '\x80');
    put(out, 9, 4); // pattern header size
    out += '\0';    // packing type
    put(out, static_cast<std::uint32_t>(rows), 2);
    put(out, static_cast<std::uint32_t>(cells.size()), 2);
    out += cells;

    const int sampleLength = 256;
    put(out, 263, 4); // instrument header size
    putText(out, "square", 22);
    out += '\0';     // instrument type
    put(out, 1, 2);  // samples
    put(out, 40, 4); // sample header size
    // Key map, volume and panning envelopes, their points, loops and types, vibrato,
    // fade-out and the reserved bytes: all zero.
    out += std::string(96 + 48 + 48 + 14 + 2 + 22, '\0');

    put(out, sampleLength, 4);
    put(out, 0, 4);            // loop start
    put(out, sampleLength, 4); // loop length
    // Volume 64, no fine tune, forward loop of 8-bit samples, centre panning, no
    // relative note, a reserved byte.
    out += std::string("\x40\0\x01\x80\0\0", 6);
    putText(out, "square", 22);

    // 8-bit samples, each stored as the difference to the one before.
    std::int8_t previous = 0;
    for (int i = 0; i < sampleLength; ++i) {
        std::int8_t value = (i % 32) < 16 ? 64 : -64;
        out += static_cast<char>(static_cast<std::uint8_t>(value - previous));
        previous = value;
    }
    return out;
}

} // namespace TestSupport
