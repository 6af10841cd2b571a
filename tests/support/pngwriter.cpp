#include "support/pngwriter.h"

#include <png.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace TestSupport {

namespace {

void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Holds no object with a destructor, since libpng leaves it through longjmp on an error.
bool encode(std::FILE* file, int w, int h, int colorType, int bitDepth, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), bitDepth, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color black{0, 0, 0};
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, &black, 1);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Rows of rowBytes bytes each, top row first.
void write(const std::string& path, int w, int h, int colorType, int bitDepth,
           std::vector<png_byte>& bytes, std::size_t rowBytes) {
    std::vector<png_bytep> rows;
    for (int row = 0; row < h; ++row)
        rows.push_back(bytes.data() + std::size_t(row) * rowBytes);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && encode(file, w, h, colorType, bitDepth, rows.data());
    if ((file && std::fclose(file) != 0) || !written)
        throw std::runtime_error("writePng: cannot write '" + path + "'");
}

} // namespace

void writePng(const std::string& path, int w, int h,
              const std::function<RGBA<unsigned char>(int, int)>& pixel) {
    std::vector<png_byte> bytes;
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
            const RGBA<unsigned char> p = pixel(x, row);
            bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
        }
    write(path, w, h, PNG_COLOR_TYPE_RGBA, 8, bytes, std::size_t(w) * 4);
}

void writePng(const std::string& path, int w, int h, int colorType, int bitDepth) {
    // Room for the widest pixel: four channels of two bytes.
    std::vector<png_byte> bytes(std::size_t(w) * h * 8);
    write(path, w, h, colorType, bitDepth, bytes, std::size_t(w) * 8);
}

} // namespace TestSupport
