#include "pyrane/pngwriter.h"

#include <png.h>

#include <cerrno>
#include <cstring>

namespace Pyrane {

Picture enlarge(const Picture& picture, int factor) {
    Picture large;
    if (factor < 1 || picture.rgba.size() != std::size_t(picture.width) * picture.height * 4)
        return large;
    large.width = picture.width * factor;
    large.height = picture.height * factor;
    large.rgba.resize(std::size_t(large.width) * large.height * 4);
    unsigned char* out = large.rgba.data();
    for (int y = 0; y < large.height; ++y) {
        const unsigned char* row = picture.rgba.data() + std::size_t(y / factor) * picture.width * 4;
        for (int x = 0; x < large.width; ++x, out += 4)
            std::memcpy(out, row + std::size_t(x / factor) * 4, 4);
    }
    return large;
}

bool writePng(std::FILE* file, const Picture& picture, std::string& error) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgba.size() != std::size_t(picture.width) * picture.height * 4) {
        error = "the picture has no pixels";
        return false;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(picture.width);
    image.height = png_uint_32(picture.height);
    image.format = PNG_FORMAT_RGBA;
    // A negative stride: the rows lie bottom-up in memory, and PNG keeps them top-down.
    const png_int_32 stride = -png_int_32(PNG_IMAGE_ROW_STRIDE(image));
    if (!png_image_write_to_stdio(&image, file, 0, picture.rgba.data(), stride, nullptr)) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    if (std::fflush(file) != 0 || std::ferror(file)) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

bool writePng(const std::string& path, const Picture& picture, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    bool written = writePng(file, picture, error);
    if (std::fclose(file) != 0 && written) {
        error = std::strerror(errno);
        written = false;
    }
    return written;
}

} // namespace Pyrane
