#include "support/pngwriter.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace TestSupport {

namespace {

struct Encoded {
    int colorType = PNG_COLOR_TYPE_RGBA;
    int bitDepth = 8;
    std::vector<std::vector<std::uint8_t>> rows;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;
};

Encoded encode(int width, int height, const std::vector<std::uint8_t>& rgba, PngFormat format) {
    Encoded out;
    std::vector<std::array<std::uint8_t, 4>> colors;
    for (int y = 0; y < height; ++y) {
        std::vector<std::uint8_t> row;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgba[(std::size_t(y) * width + x) * 4];
            switch (format) {
            case PngFormat::Rgba8:
                row.insert(row.end(), p, p + 4);
                break;
            case PngFormat::Rgba16:
                for (int c = 0; c < 4; ++c)
                    row.insert(row.end(), {p[c], p[c]});
                break;
            case PngFormat::Rgb8:
                row.insert(row.end(), p, p + 3);
                break;
            case PngFormat::Gray8:
                row.push_back(p[0]);
                break;
            case PngFormat::Palette8: {
                std::array<std::uint8_t, 4> color{p[0], p[1], p[2], p[3]};
                auto it = std::find(colors.begin(), colors.end(), color);
                if (it == colors.end()) {
                    if (colors.size() == 256) throw std::runtime_error("more than 256 colours");
                    it = colors.insert(colors.end(), color);
                }
                row.push_back(std::uint8_t(it - colors.begin()));
                break;
            }
            }
        }
        out.rows.push_back(std::move(row));
    }
    switch (format) {
    case PngFormat::Rgba8:
        break;
    case PngFormat::Rgba16:
        out.bitDepth = 16;
        break;
    case PngFormat::Rgb8:
        out.colorType = PNG_COLOR_TYPE_RGB;
        break;
    case PngFormat::Gray8:
        out.colorType = PNG_COLOR_TYPE_GRAY;
        break;
    case PngFormat::Palette8:
        out.colorType = PNG_COLOR_TYPE_PALETTE;
        for (const auto& c : colors) {
            out.palette.push_back(png_color{c[0], c[1], c[2]});
            out.paletteAlpha.push_back(c[3]);
        }
        break;
    }
    return out;
}

struct WriteError {
    char message[256];
};

void onError(png_structp png, png_const_charp message) {
    auto* error = static_cast<WriteError*>(png_get_error_ptr(png));
    std::snprintf(error->message, sizeof error->message, "%s", message);
    png_longjmp(png, 1);
}

// Holds no object with a destructor, since libpng leaves it through longjmp on an error.
bool writeRows(std::FILE* file, int width, int height, const Encoded& image, png_bytepp rows,
               WriteError* error) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, onError, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(error->message, sizeof error->message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), image.bitDepth,
                 image.colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!image.palette.empty()) {
        png_set_PLTE(png, info, image.palette.data(), int(image.palette.size()));
        png_set_tRNS(png, info, image.paletteAlpha.data(), int(image.paletteAlpha.size()), nullptr);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

void writePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgbaTopDown, PngFormat format) {
    if (width <= 0 || height <= 0 || rgbaTopDown.size() != std::size_t(width) * height * 4)
        throw std::runtime_error("writePng: pixels don't match " + std::to_string(width) + " x " +
                                 std::to_string(height));
    Encoded image = encode(width, height, rgbaTopDown, format);
    std::vector<png_bytep> rows;
    for (auto& row : image.rows)
        rows.push_back(row.data());

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("writePng: cannot create '" + path + "'");
    WriteError error{};
    bool written = writeRows(file, width, height, image, rows.data(), &error);
    bool closed = std::fclose(file) == 0;
    if (!written) throw std::runtime_error("writePng: '" + path + "': " + error.message);
    if (!closed) throw std::runtime_error("writePng: cannot write '" + path + "'");
}

void writePng(const std::string& path, int width, int height, std::uint8_t r, std::uint8_t g,
              std::uint8_t b, std::uint8_t a, PngFormat format) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), {r, g, b, a});
    writePng(path, width, height, pixels, format);
}

std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("readFileBytes: cannot open '" + path + "'");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("writeFileBytes: cannot write '" + path + "'");
}

} // namespace TestSupport
