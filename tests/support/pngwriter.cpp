#include "support/pngwriter.h"

#include <png.h>

#include <stdexcept>
#include <vector>

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
    std::vector<png_byte> bytes;
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
            const RGBA<unsigned char> p = pixel(x, row);
            bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
        }
    write(path, w, h, PNG_FORMAT_RGBA, bytes.data(), nullptr);
}

void writePng(const std::string& path, int w, int h, unsigned int format) {
    // Room for the widest pixels, four channels of two bytes, and for a colour map.
    const std::vector<png_byte> zeros(std::size_t(w) * h * 8 + 256 * 4);
    write(path, w, h, format, zeros.data(),
          format & PNG_FORMAT_FLAG_COLORMAP ? zeros.data() : nullptr);
}

} // namespace TestSupport
