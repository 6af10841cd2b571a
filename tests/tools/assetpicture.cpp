#include "assetpicture.h"

#include <cstdio>
#include <memory>
#include <png.h>
#include <stdexcept>

namespace AssetTest {

Picture::Picture(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) throw std::runtime_error("cannot open '" + path + "'");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw std::runtime_error("'" + path + "' is not a readable PNG");
    }
    png_init_io(png, file.get());
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    bool rgba8 = png_get_bit_depth(png, info) == 8 &&
                 png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB_ALPHA;
    _width = int(png_get_image_width(png, info));
    _height = int(png_get_image_height(png, info));
    png_bytepp rows = png_get_rows(png, info);
    if (rgba8) {
        for (int y = _height - 1; y >= 0; --y)
            for (int x = 0; x < _width; ++x) {
                png_bytep p = rows[y] + 4 * x;
                _pixels.push_back({p[0], p[1], p[2], p[3]});
            }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!rgba8) throw std::runtime_error("'" + path + "' is not RGBA with 8 bits a channel");
    auto pow2 = [](int n) { return n > 0 && (n & (n - 1)) == 0; };
    if (!pow2(_width) || !pow2(_height))
        throw std::runtime_error("'" + path + "' is not of power-of-two size");
}

Pixel Picture::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= _width || y >= _height) return {};
    return _pixels[std::size_t(y * _width + x)];
}

int Picture::ink(const Box& box, int alpha) const {
    int count = 0;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x)
            count += at(x, y).a >= alpha;
    return count;
}

std::vector<Box> cutGlyphs(const Picture& font, std::size_t count, int cellHeight) {
    auto red = [&](int x, int y) {
        Pixel p = font.at(x, y);
        return x < font.width() && p.r == 255 && p.g == 0 && p.b == 0;
    };
    std::vector<Box> glyphs;
    for (int y = 0; y + cellHeight <= font.height(); y += cellHeight) {
        int x = 0;
        do {
            if (glyphs.size() == count) return glyphs;
            int start = x;
            while (x < font.width() && !red(x, y))
                ++x;
            glyphs.push_back({start, y, x, y + cellHeight});
            ++x;
        } while (x <= font.width() && !red(x, y));
    }
    return glyphs;
}

} // namespace AssetTest
