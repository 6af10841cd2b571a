#pragma once
// Writes PNG fixture files through libpng, so that tests load real pictures from disk.
#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// How the pixels are stored in the file. Rgba8 is what the engine loads; the others
// are there to check that it refuses them.
enum class PngFormat {
    Rgba8,    // colour type 6, 8 bits a channel
    Rgba16,   // colour type 6, 16 bits a channel (each byte v stored as v * 257)
    Rgb8,     // colour type 2, alpha dropped
    Gray8,    // colour type 0, the red channel as grey
    Palette8, // colour type 3, a palette of the distinct colours with their alpha
};

// Writes a width x height picture to path. rgbaTopDown holds 4 bytes a pixel (r, g, b,
// a), rows from the top of the picture down, as an image viewer shows it. Throws
// std::runtime_error when the file cannot be written or the pixels don't fit the size.
void writePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgbaTopDown, PngFormat format = PngFormat::Rgba8);

// The same picture filled with one colour.
void writePng(const std::string& path, int width, int height, std::uint8_t r, std::uint8_t g,
              std::uint8_t b, std::uint8_t a, PngFormat format = PngFormat::Rgba8);

// The whole content of a file, and a file written from bytes, for tests that damage
// pictures on purpose.
std::vector<std::uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace TestSupport
