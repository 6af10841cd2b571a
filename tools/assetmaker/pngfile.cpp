#include "tools/assetmaker/pngfile.h"

#include <cstdio>
#include <memory>
#include <png.h>
#include <vector>

#include "tools/assetmaker/sourcefile.h"

namespace AssetMaker {

namespace {

[[noreturn]] void pngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

} // namespace

void writePng(const std::string& path, const RgbaImage& image) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file) throw AssetError("cannot write '" + path + "'");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw AssetError("cannot set up libpng for '" + path + "'");
    }
    std::vector<png_bytep> rows(std::size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        // PNG rows run from the top; the picture keeps its bottom row first.
        std::size_t row = std::size_t(image.height() - 1 - y) * std::size_t(image.width()) * 4;
        rows[std::size_t(y)] = const_cast<png_bytep>(image.bytes().data() + row);
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw AssetError("libpng failed to write '" + path + "'");
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0) throw AssetError("cannot write '" + path + "'");
}

} // namespace AssetMaker
