#pragma once
// A rectangle of a bitmap with a hot spot: what sprites draw and what collisions test.
// It keeps the textured quad ready for the renderer (and, when cached, compiled into a
// display list) and offers pixel-accurate collision tests. Boxes and hot spots are in
// bitmap pixels with y counted upwards from the bitmap's bottom row; the box lies inside
// the bitmap, its max corner the edge after the last pixel.
#include <cstdint>
#include <vector>

#include "common_classes/aabb2.h"
#include "common_classes/rgba.h"
#include "common_classes/vector2.h"

namespace Pyrane {

class Bitmap;

class Image {
public:
    Image(Bitmap& bitmap, const Vell::AABB2<int>& box, const Vector2<int>& pivot, bool cache);
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Rebuilds the image on the same bitmap; cache chooses whether it gets a display list.
    virtual void redefine(const Vell::AABB2<int>& box, const Vector2<int>& pivot, bool cache);
    // The quad as four interleaved vertices s, t, x, y, z (GL_T2F_V3F), and its indices.
    virtual const float* vertArray() const { return _vertArray; }
    virtual const unsigned int* vertIndices() const { return _vertIndices; }
    virtual unsigned int vertIndicesCount() const { return _vertIndicesCount; }

    Bitmap& bitmap() const { return *_bitmap; }
    const Vell::AABB2<int>& bitmapBox() const { return _bitmapBox; }
    const Vell::AABB2<float>& textureBox() const { return _textureBox; }
    const Vell::AABB2<float>& vertexBox() const { return _vertexBox; }
    const Vector2<int>& pivot() const { return _pivot; }
    const Vector2<int>& size() const { return _size; }
    const Vector2<int>& bitmapPos() const { return _bitmapPos; }
    unsigned int cacheID() const { return _cacheID; }

    // The colour under a screen point when the hot spot is at imagePos; all zero
    // outside the quad.
    RGBA<unsigned char> pixelColor(Vector2<float> imagePos, Vector2<float> point) const;

    // Collision tests of an image whose hot spot is at posA. Each returns 0 for no hit.
    // None examines the last row of the overlap; the pixel tests skip its last column too.
    //
    // Pixels of both images on the same screen pixel with alpha at least alphaA and
    // alphaB: returns how many.
    static int collision(const Image& a, const Vector2<float>& posA, unsigned char alphaA,
                         const Image& b, const Vector2<float>& posB, unsigned char alphaB);
    // Through the bitmaps' collision masks, 32 pixels at a time: returns the number of
    // (row, 32-pixel window) pairs in which both have a solid pixel on the same spot.
    static int collision(const Image& a, const Vector2<float>& posA, const Image& b,
                         const Vector2<float>& posB);
    // 100 when the image's rectangle touches or overlaps the box, whatever the alpha.
    static int collision(const Image& a, const Vector2<float>& posA, unsigned char alpha,
                         const Vell::AABB2<float>& box);
    // Pixels with alpha at least alpha whose lower-left corners lie inside the polygon.
    static int collision(const Image& a, const Vector2<float>& posA, unsigned char alpha,
                         const std::vector<Vector2<float>>& polygon);

private:
    void build(const Vell::AABB2<int>& box, const Vector2<int>& pivot, bool cache);
    // Where the image covers the screen with its hot spot at pos.
    Vell::AABB2<int> screenRect(const Vector2<float>& pos) const;
    // A rectangle of screen pixels inside the image at pos, in its bitmap's pixels.
    Vell::AABB2<int> toBitmap(const Vell::AABB2<int>& screen, const Vector2<float>& pos) const;

    Bitmap* _bitmap;
    Vell::AABB2<int> _bitmapBox;
    Vell::AABB2<float> _textureBox;
    Vell::AABB2<float> _vertexBox;
    Vector2<int> _pivot;
    Vector2<int> _size;
    Vector2<int> _bitmapPos;
    unsigned int _cacheID = 0;
    float _vertArray[20] = {};
    unsigned int _vertIndices[4] = {};
    unsigned int _vertIndicesCount = 0;
};

} // namespace Pyrane
