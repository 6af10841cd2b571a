// The PNG loader on any file, through the real Bitmap constructor and the system's
// libpng: a picture loads with power-of-two sides and its collision mask, or the
// constructor raises a std::runtime_error that names the file. Nothing else may happen.
//
// A bitmap only holds its renderer and makes no texture unless it is activated, so no
// GL context is needed: the renderer is made without one, and the GL calls its
// constructor makes to set up its state go nowhere (the GL dispatch library ignores
// calls while no context is current). The bitmaps are never activated.
//
// Most damaged files fail libpng's checksum of the chunk they were damaged in, so the
// mutator mends the checksums of three inputs in four: the damage then reaches the
// header, palette and image data readers.
#include <zlib.h>

#include <stdexcept>

#include "fuzzinput.h"
#include "pyrane/bitmap.h"
#include "pyrane/renderer2d.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

std::uint32_t bigEndian(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Rewrites the checksum of every whole chunk after the 8-byte signature.
void mendChecksums(std::uint8_t* data, std::size_t size) {
    std::size_t at = 8;
    while (at + 12 <= size) {
        const std::uint32_t length = bigEndian(data + at);
        if (length > size - at - 12) break;
        const uLong crc = crc32(crc32(0, nullptr, 0), data + at + 4, uInt(length + 4));
        std::uint8_t* out = data + at + 8 + length;
        for (int i = 0; i < 4; ++i)
            out[i] = std::uint8_t(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

} // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (seed % 4 != 0) mendChecksums(data, size);
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Pyrane::Renderer2D renderer;
    const std::string file = Fuzz::writeInput("picture.png", data, size);
    try {
        Pyrane::Bitmap bitmap(file, renderer, false);
        Fuzz::require(isPowerOfTwo(bitmap.w()) && isPowerOfTwo(bitmap.h()),
                      "a loaded picture has power-of-two sides");
        Fuzz::require(bitmap.data() && bitmap.bitmaskData(), "a loaded picture has its mask");
        Fuzz::require(bitmap.texID() == 0 && renderer.textures().empty(), "no texture was made");
        // The top-right pixel is the last one in memory, and its mask bit follows its alpha.
        const RGBA<unsigned char> corner = bitmap.pixelColor({bitmap.w() - 1, bitmap.h() - 1});
        const std::size_t last = (std::size_t(bitmap.w()) * bitmap.h() - 1) * 4;
        const unsigned char* px = bitmap.data() + last;
        Fuzz::require(px[0] == corner.r && px[1] == corner.g && px[2] == corner.b &&
                          px[3] == corner.a,
                      "rows bottom-up");
        const std::uint32_t word =
            bitmap.bitmaskData()[std::size_t(bitmap.h()) * bitmap.bitmaskWordsPerRow() - 1];
        const int bit = 31 - (bitmap.w() - 1) % 32;
        Fuzz::require(((word >> bit) & 1) == (corner.a >= 100), "mask bit from alpha 100");
    } catch (const std::runtime_error& error) {
        Fuzz::require(std::string(error.what()).find(file) != std::string::npos,
                      "the error names the file");
    }
    return 0;
}
