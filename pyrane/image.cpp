#include "pyrane/image.h"

#include <algorithm>
#include <array>

#include "pyrane/bitmap.h"
#include "pyrane/renderer2d.h"

namespace Pyrane {

namespace {

Vector2<int> truncated(const Vector2<float>& v) {
    return {int(v.x), int(v.y)};
}

// One image's side of the mask test: the words of each mask row that the overlap
// covers, from first to last, with the overlap starting off bits into word first and
// the bits of word last past the overlap's right edge cleared by keepLast.
class MaskSpan {
public:
    MaskSpan(const Bitmap& bitmap, const Vell::AABB2<int>& box, std::uint32_t keepLast)
        : _mask(bitmap.bitmaskData()), _wordsPerRow(bitmap.bitmaskWordsPerRow()),
          _maskRows(bitmap.h()), _firstRow(box.min.y), _first(box.min.x / 32),
          _last(box.max.x / 32), _off(box.min.x % 32), _keepLast(keepLast) {}

    int first() const { return _first; }
    int last() const { return _last; }

    // Row r of the overlap, null when the bitmap has no mask there.
    const std::uint32_t* row(int r) const {
        const int y = _firstRow + r;
        if (!_mask || unsigned(y) >= unsigned(_maskRows)) return nullptr;
        return _mask + std::size_t(y) * _wordsPerRow;
    }

    // The 32 pixels of the row that start at the overlap's left edge plus 32 * (i - first),
    // the overlap's first pixel in the most significant bit.
    std::uint32_t window(const std::uint32_t* row, int i) const {
        const std::uint32_t w = word(row, i);
        if (_off == 0) return w;
        const std::uint32_t next = i == _last ? 0 : word(row, i + 1);
        return (w << _off) | (next >> (32 - _off));
    }

private:
    // A word past the end of the row (the overlap ends at the bitmap's right edge) is empty.
    std::uint32_t word(const std::uint32_t* row, int i) const {
        const std::uint32_t w = unsigned(i) < unsigned(_wordsPerRow) ? row[i] : 0;
        return i == _last ? w & _keepLast : w;
    }

    const std::uint32_t* _mask;
    int _wordsPerRow;
    int _maskRows;
    int _firstRow;
    int _first;
    int _last;
    int _off;
    std::uint32_t _keepLast;
};

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
    // Entry n has the n lowest bits set.
    static constexpr std::array<std::uint32_t, 33> maskShiftLeft = [] {
        std::array<std::uint32_t, 33> table{};
        for (int n = 1; n <= 32; ++n)
            table[n] = (table[n - 1] << 1) | 1u;
        return table;
    }();

    const Vell::AABB2<int> screen = a.screenRect(posA) & b.screenRect(posB);
    if (!screen.isValid()) return 0;
    const Vell::AABB2<int> inA = a.toBitmap(screen, posA);
    const Vell::AABB2<int> inB = b.toBitmap(screen, posB);
    // The bit positions of the last word at or beyond the overlap's right edge.
    const int tailA = (inA.max.x / 32 + 1) * 32 - inA.max.x;
    const int tailB = (inB.max.x / 32 + 1) * 32 - inB.max.x;
    const MaskSpan spanA(*a._bitmap, inA, ~maskShiftLeft[tailA]);
    const MaskSpan spanB(*b._bitmap, inB, ~maskShiftLeft[tailB]);

    const int rows = screen.max.y - screen.min.y - 1;
    int count = 0;
    for (int r = 0; r < rows; ++r) {
        const std::uint32_t* rowA = spanA.row(r);
        const std::uint32_t* rowB = spanB.row(r);
        if (!rowA || !rowB) continue;
        for (int i = spanA.first(), j = spanB.first(); i <= spanA.last() && j <= spanB.last();
             ++i, ++j)
            if (spanA.window(rowA, i) & spanB.window(rowB, j)) ++count;
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
