#include "pyrane/bitmap.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "pyrane/renderer2d.h"

namespace Pyrane {

namespace {

constexpr std::size_t signatureBytes = 8;
// Larger sides than any texture can take are refused before libpng allocates the
// rows, so a hostile header cannot make it reserve gigabytes.
constexpr png_uint_32 maxSide = 16384;

struct DecodeError {
    char message[256];
};

void onDecodeError(png_structp png, png_const_charp message) {
    auto* error = static_cast<DecodeError*>(png_get_error_ptr(png));
    std::snprintf(error->message, sizeof error->message, "%s", message);
    png_longjmp(png, 1);
}

// libpng leaves this function through longjmp when the data is damaged, so it must
// not hold any object with a destructor; the caller turns false into an exception.
bool decode(png_structp png, png_infop info, std::FILE* file) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_sig_bytes(png, int(signatureBytes));
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct PngReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadStructs() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

} // namespace

Bitmap::Bitmap(const std::string& filename, Renderer2D& renderer, bool activate)
    : _renderer(renderer) {
    load(filename);
    createBitmask(100);
    if (activate) this->activate();
}

Bitmap::Bitmap(const Vector2<unsigned int>& size, Renderer2D& renderer, const RGBA<float>& color)
    : _renderer(renderer), _size(int(nearestPow2(size.x)), int(nearestPow2(size.y))) {
    // Truncated to an integer of which the low 8 bits are kept.
    const unsigned char pixel[_bytesPerPixel] = {
        static_cast<unsigned char>(static_cast<int>(color.r * 255.0f)),
        static_cast<unsigned char>(static_cast<int>(color.g * 255.0f)),
        static_cast<unsigned char>(static_cast<int>(color.b * 255.0f)),
        static_cast<unsigned char>(static_cast<int>(color.a * 255.0f))};
    const std::size_t pixels = std::size_t(_size.x) * std::size_t(_size.y);
    _data = std::make_unique<unsigned char[]>(pixels * _bytesPerPixel);
    for (std::size_t i = 0; i < pixels; ++i)
        std::memcpy(_data.get() + i * _bytesPerPixel, pixel, _bytesPerPixel);
}

Bitmap::~Bitmap() {
    deactivate();
}

Bitmap& Bitmap::activate() {
    if (_texID == 0) _renderer.makeTexture(*this, true);
    return *this;
}

void Bitmap::deactivate() {
    _renderer.destroyTexture(*this);
}

void Bitmap::load(const std::string& filename) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(filename.c_str(), "rb"));
    if (!file) throw std::runtime_error("cannot open file X '" + filename + "'");

    png_byte signature[signatureBytes];
    if (std::fread(signature, 1, signatureBytes, file.get()) != signatureBytes)
        throw std::runtime_error("cannot read file '" + filename + "'");
    if (png_sig_cmp(signature, 0, signatureBytes) != 0)
        throw std::runtime_error("file '" + filename + "' is not in png format");

    DecodeError error{};
    PngReadStructs structs;
    structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, onDecodeError, nullptr);
    if (!structs.png)
        throw std::runtime_error("failed to create png_struct for file '" + filename + "'");
    structs.info = png_create_info_struct(structs.png);
    if (!structs.info)
        throw std::runtime_error("failed to create png_info for file '" + filename + "'");
    png_set_user_limits(structs.png, maxSide, maxSide);
    // Only the pixels matter here. Side chunks (text, colour profiles, gamma and the like)
    // are skipped unread: libpng would read each whole, so a hostile length would make it
    // reserve and clear gigabytes before it found the file too short.
    png_set_keep_unknown_chunks(structs.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);

    if (!decode(structs.png, structs.info, file.get()))
        throw std::runtime_error("file '" + filename + "' is damaged: " + error.message);
    file.reset();

    if (png_get_bit_depth(structs.png, structs.info) != 8 ||
        png_get_color_type(structs.png, structs.info) != PNG_COLOR_TYPE_RGB_ALPHA)
        throw std::runtime_error("file '" + filename +
                                 "' has bad color type or bit-depth; must be RGBA, 8bpp");

    const png_uint_32 width = png_get_image_width(structs.png, structs.info);
    const png_uint_32 height = png_get_image_height(structs.png, structs.info);
    if (width != nearestPow2(width) || height != nearestPow2(height))
        throw std::runtime_error("file '" + filename + "' is not pow2 pixelsize");

    const std::size_t rowBytes = png_get_rowbytes(structs.png, structs.info);
    png_bytepp rows = png_get_rows(structs.png, structs.info);
    auto data = std::make_unique<unsigned char[]>(rowBytes * height);
    // The picture's top row becomes the last row in memory.
    for (png_uint_32 i = 0; i < height; ++i)
        std::memcpy(data.get() + (height - 1 - i) * rowBytes, rows[i], rowBytes);
    _data = std::move(data);
    _size.set(int(width), int(height));
}

void Bitmap::createBitmask(unsigned char threshold) {
    if (!_data) return;
    const int wordsPerRow = bitmaskWordsPerRow();
    _bitmask = std::make_unique<std::uint32_t[]>(std::size_t(wordsPerRow) * _size.y);
    const unsigned char* pixel = _data.get();
    for (int y = 0; y < _size.y; ++y) {
        std::uint32_t* row = _bitmask.get() + std::size_t(y) * wordsPerRow;
        for (int x = 0; x < _size.x; ++x, pixel += _bytesPerPixel)
            if (pixel[3] >= threshold)
                row[x / _bitmaskBitsPerWord] |= 0x80000000u >> (x % _bitmaskBitsPerWord);
    }
}

unsigned int Bitmap::nearestPow2(unsigned int n) {
    if (n == 0) return 2;
    if (n > 0x80000000u)
        throw std::length_error("no 32-bit power of two holds " + std::to_string(n));
    unsigned int p = 1;
    while (p < n)
        p <<= 1;
    return p;
}

} // namespace Pyrane
