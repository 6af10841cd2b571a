#include "pyrane/image.h"

#include <algorithm>

#include "pyrane/bitmap.h"
#include "pyrane/renderer2d.h"

namespace Pyrane {

namespace {

Vector2<int> truncated(const Vector2<float>& v) {
    return {int(v.x), int(v.y)};
}

// The 32 collision mask bits of a row from pixel x on, pixel x in the most significant
// bit; words past the row's end read as empty.
inline std::uint32_t maskBits(const std::uint32_t* row, int wordsPerRow, int x) {
    const int i = x / 32;
    const std::uint64_t high = i < wordsPerRow ? row[i] : 0;
    const std::uint64_t low = i + 1 < wordsPerRow ? row[i + 1] : 0;
    return std::uint32_t((((high << 32) | low) << (x % 32)) >> 32);
}

unsigned char alphaAt(const Bitmap& bitmap, int x, int y) {
    return bitmap.pixelColor({x, y}).a;
}

} // namespace

Image::Image(Bitmap& bitmap, const Vell::AABB2<int>& box, const Vector2<int>& pivot, bool cache)
    : _bitmap(&bitmap) {
    build(box, pivot, cache);
}

Image::~Image() {
    _bitmap->renderer().destroyImageCache(_cacheID);
}

void Image::redefine(const Vell::AABB2<int>& box, const Vector2<int>& pivot, bool cache) {
    build(box, pivot, cache);
}

void Image::build(const Vell::AABB2<int>& box, const Vector2<int>& pivot, bool cache) {
    _bitmapBox = box;
    _pivot = pivot;
    _size = box.size();
    _bitmapPos = box.min;

    const float w = float(_bitmap->w());
    const float h = float(_bitmap->h());
    const float s0 = float(box.min.x) / w, s1 = float(box.max.x) / w;
    const float t0 = float(box.min.y) / h, t1 = float(box.max.y) / h;
    const float x0 = float(-pivot.x), x1 = float(_size.x - pivot.x);
    const float y0 = float(-pivot.y), y1 = float(_size.y - pivot.y);
    const float vertices[20] = {
        s0, t0, x0, y0, 0, // bottom left
        s1, t0, x1, y0, 0, // bottom right
        s1, t1, x1, y1, 0, // top right
        s0, t1, x0, y1, 0, // top left
    };
    std::copy(std::begin(vertices), std::end(vertices), _vertArray);
    _textureBox.set(s0, t0, s1, t1);
    _vertexBox.set(x0, y0, x1, y1);
    for (unsigned int i = 0; i < 4; ++i)
        _vertIndices[i] = i;
    _vertIndicesCount = 4;

    Renderer2D& renderer = _bitmap->renderer();
    renderer.destroyImageCache(_cacheID);
    _cacheID = 0;
    if (cache) _cacheID = renderer.createImageCache(*this);
}

Vell::AABB2<int> Image::screenRect(const Vector2<float>& pos) const {
    const Vector2<int> min = truncated(pos) - _pivot;
    const Vector2<int> max = min + _size;
    return {min.x, min.y, max.x, max.y};
}

Vell::AABB2<int> Image::toBitmap(const Vell::AABB2<int>& screen, const Vector2<float>& pos) const {
    return screen - truncated(pos) + _pivot + _bitmapPos;
}

RGBA<unsigned char> Image::pixelColor(Vector2<float> imagePos, Vector2<float> point) const {
    const Vector2<int> d = truncated(point - imagePos);
    if (!_vertexBox.pointInside(Vector2<float>(float(d.x), float(d.y)))) return {0, 0, 0, 0};
    return _bitmap->pixelColor(d + _pivot + _bitmapPos);
}

int Image::collision(const Image& a, const Vector2<float>& posA, unsigned char alphaA,
                     const Image& b, const Vector2<float>& posB, unsigned char alphaB) {
    const Vell::AABB2<int> screen = a.screenRect(posA) & b.screenRect(posB);
    if (!screen.isValid()) return 0;
    const Vell::AABB2<int> inA = a.toBitmap(screen, posA);
    const Vell::AABB2<int> inB = b.toBitmap(screen, posB);
    const int rows = screen.max.y - screen.min.y - 1;
    const int cols = screen.max.x - screen.min.x - 1;
    int count = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (alphaAt(*a._bitmap, inA.min.x + c, inA.min.y + r) >= alphaA &&
                alphaAt(*b._bitmap, inB.min.x + c, inB.min.y + r) >= alphaB)
                ++count;
    return count;
}

int Image::collision(const Image& a, const Vector2<float>& posA, const Image& b,
                     const Vector2<float>& posB) {
    const Vell::AABB2<int> screen = a.screenRect(posA) & b.screenRect(posB);
    if (!screen.isValid()) return 0;
    const std::uint32_t* maskA = a._bitmap->bitmaskData();
    const std::uint32_t* maskB = b._bitmap->bitmaskData();
    if (!maskA || !maskB) return 0;
    const Vell::AABB2<int> inA = a.toBitmap(screen, posA);
    const Vell::AABB2<int> inB = b.toBitmap(screen, posB);
    const int wordsA = a._bitmap->bitmaskWordsPerRow();
    const int wordsB = b._bitmap->bitmaskWordsPerRow();

    // The overlap in windows of 32 pixels from its left edge; the last window keeps only
    // the pixels inside the overlap.
    const int width = screen.max.x - screen.min.x;
    const int windows = (width + 31) / 32;
    const std::uint32_t keepLast = ~0u << (windows * 32 - width);
    // The overlap's rows but its last, where both bitmaps have mask rows.
    const int firstRow = std::max({0, -inA.min.y, -inB.min.y});
    const int endRow = std::min({screen.max.y - screen.min.y - 1, a._bitmap->h() - inA.min.y,
                                 b._bitmap->h() - inB.min.y});
    int count = 0;
    for (int r = firstRow; r < endRow; ++r) {
        const std::uint32_t* rowA = maskA + std::size_t(inA.min.y + r) * wordsA;
        const std::uint32_t* rowB = maskB + std::size_t(inB.min.y + r) * wordsB;
        for (int w = 0; w < windows; ++w) {
            const std::uint32_t both = maskBits(rowA, wordsA, inA.min.x + 32 * w) &
                                       maskBits(rowB, wordsB, inB.min.x + 32 * w);
            count += (w + 1 < windows ? both : both & keepLast) != 0;
        }
    }
    return count;
}

int Image::collision(const Image& a, const Vector2<float>& posA, unsigned char,
                     const Vell::AABB2<float>& box) {
    const Vell::AABB2<int> other(int(box.min.x), int(box.min.y), int(box.max.x), int(box.max.y));
    return a.screenRect(posA).intersects(other) ? 100 : 0;
}

int Image::collision(const Image& a, const Vector2<float>& posA, unsigned char alpha,
                     const std::vector<Vector2<float>>& polygon) {
    if (polygon.empty()) return 0;
    Vell::AABB2<int> bounds;
    bounds.min = bounds.max = truncated(polygon.front());
    for (const Vector2<float>& vertex : polygon) {
        const Vector2<int> v = truncated(vertex);
        if (v.x < bounds.min.x) bounds.min.x = v.x;
        if (v.y < bounds.min.y) bounds.min.y = v.y;
        if (v.x > bounds.max.x) bounds.max.x = v.x;
        if (v.y > bounds.max.y) bounds.max.y = v.y;
    }
    const Vell::AABB2<int> screen = bounds & a.screenRect(posA);
    if (!screen.isValid()) return 0;
    const Vell::AABB2<int> inA = a.toBitmap(screen, posA);
    const int rows = screen.max.y - screen.min.y - 1;
    const int cols = screen.max.x - screen.min.x - 1;
    int count = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (alphaAt(*a._bitmap, inA.min.x + c, inA.min.y + r) >= alpha &&
                Vector2<float>(float(screen.min.x + c), float(screen.min.y + r))
                    .pointInsidePolygon(polygon))
                ++count;
    return count;
}

} // namespace Pyrane
