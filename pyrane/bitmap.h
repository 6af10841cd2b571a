#pragma once
// One picture held twice: as 8-bit RGBA pixels in memory, for pixel-accurate collision
// and colour look-ups, and as an OpenGL texture, for drawing. Rows are stored bottom-up,
// so pixel (x, y) with y counted from the bottom edge sits at byte (y * width + x) * 4,
// the orientation of OpenGL texture coordinates.
#include <cstdint>
#include <memory>
#include <string>

#include "common_classes/rgba.h"
#include "common_classes/vector2.h"

namespace Pyrane {

class Renderer2D;

class Bitmap {
public:
    static constexpr int _bytesPerPixel = 4;

    // Loads an RGBA, 8 bits a channel, power-of-two PNG file and builds its collision
    // mask at alpha 100; makes the texture too when activate is true. Throws
    // std::runtime_error naming the file when it cannot be used.
    Bitmap(const std::string& filename, Renderer2D& renderer, bool activate);
    // A bitmap of one colour, its sides raised to powers of two; no mask, no texture.
    Bitmap(const Vector2<unsigned int>& size, Renderer2D& renderer, const RGBA<float>& color);
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // Makes the texture unless there is one; returns the bitmap for chaining.
    Bitmap& activate();
    void deactivate();

    // The pixel at p (bottom-up); all zero outside the picture.
    RGBA<unsigned char> pixelColor(Vector2<int> p) const {
        if (p.x < 0 || p.y < 0 || p.x >= _size.x || p.y >= _size.y) return {0, 0, 0, 0};
        const unsigned char* px = _data.get() + (std::size_t(p.y) * _size.x + p.x) * _bytesPerPixel;
        return {px[0], px[1], px[2], px[3]};
    }

    int w() const { return _size.x; }
    int h() const { return _size.y; }
    unsigned int texID() const { return _texID; }
    void texID(unsigned int name) { _texID = name; }
    const unsigned char* data() const { return _data.get(); }
    Renderer2D& renderer() const { return _renderer; }
    // One bit a pixel, most significant first; each row starts a new word. Null for a
    // bitmap without a mask.
    const std::uint32_t* bitmaskData() const { return _bitmask.get(); }
    int bitmaskBitsPerWord() const { return _bitmaskBitsPerWord; }
    // Words in one row of the mask.
    int bitmaskWordsPerRow() const {
        return (_size.x + _bitmaskBitsPerWord - 1) / _bitmaskBitsPerWord;
    }

protected:
    void load(const std::string& filename);
    void createBitmask(unsigned char threshold);
    static unsigned int nearestPow2(unsigned int n);

private:
    Renderer2D& _renderer;
    Vector2<int> _size;
    unsigned int _texID = 0;
    std::unique_ptr<unsigned char[]> _data;
    std::unique_ptr<std::uint32_t[]> _bitmask;
    int _bitmaskBitsPerWord = 32;
};

} // namespace Pyrane
