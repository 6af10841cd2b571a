#include "support/pngwriter.h"

#include <png.h>

#include <stdexcept>
#include <vector>

#include "pyrane/pngwriter.h"

namespace TestSupport {

namespace {

void write(const std::string& path, int w, int h, png_uint_32 format, const void* pixels,
           const void* colormap) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = format;
    image.colormap_entries = colormap ? 256 : 0; // 8 bits an index
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels, 0, colormap))
        throw std::runtime_error("writePng: '" + path + "': " + image.message);
}

} // namespace

void writePng(const std::string& path, int w, int h,
              const std::function<RGBA<unsigned char>(int, int)>& pixel) {
    Pyrane::Picture picture{w, h, {}};
    for (int row = h - 1; row >= 0; --row)
        for (int x = 0; x < w; ++x) {
            const RGBA<unsigned char> p = pixel(x, row);
            picture.rgba.insert(picture.rgba.end(), {p.r, p.g, p.b, p.a});
        }
    std::string error;
    if (!Pyrane::writePng(path, picture, error))
        throw std::runtime_error("writePng: '" + path + "': " + error);
}

void writePng(const std::string& path, int w, int h, unsigned int format) {
    // Room for the widest pixels, four channels of two bytes, and for a colour map.
    const std::vector<png_byte> zeros(std::size_t(w) * h * 8 + 256 * 4);
    write(path, w, h, format, zeros.data(),
          format & PNG_FORMAT_FLAG_COLORMAP ? zeros.data() : nullptr);
}

} // namespace TestSupport
