#pragma once
// An axis-aligned box. Nothing keeps it valid (min <= max on both axes): the
// intersection of two apart boxes is an invalid one, which callers test with isValid.
#include "common_classes/vector2.h"

namespace Vell {

template <typename T> class AABB2 {
public:
    Vector2<T> min;
    Vector2<T> max;

    constexpr AABB2() = default;
    constexpr AABB2(const T& minX, const T& minY, const T& maxX, const T& maxY)
        : min(minX, minY), max(maxX, maxY) {}

    void set(const T& minX, const T& minY, const T& maxX, const T& maxY) {
        min.set(minX, minY);
        max.set(maxX, maxY);
    }

    AABB2& operator+=(const Vector2<T>& d) {
        min += d;
        max += d;
        return *this;
    }
    constexpr AABB2 operator+(const Vector2<T>& d) const { return AABB2(min + d, max + d); }
    constexpr AABB2 operator-(const Vector2<T>& d) const { return AABB2(min - d, max - d); }

    // The difference of the corners: a box from 0 to 31 has size 31.
    constexpr Vector2<T> size() const { return max - min; }
    constexpr bool isValid() const { return min.x <= max.x && min.y <= max.y; }

    // Closed test: boxes that only share an edge or a corner intersect.
    constexpr bool intersects(const AABB2& other) const {
        return !(min.x > other.max.x || max.x < other.min.x || min.y > other.max.y ||
                 max.y < other.min.y);
    }
    // Half-open test: a point on the max edges is outside.
    constexpr bool pointInside(const Vector2<T>& p) const {
        return min.x <= p.x && p.x < max.x && min.y <= p.y && p.y < max.y;
    }

    // The overlap of two boxes; invalid when they do not overlap.
    constexpr AABB2 operator&(const AABB2& other) const {
        return AABB2(Vector2<T>(min.x > other.min.x ? min.x : other.min.x,
                                min.y > other.min.y ? min.y : other.min.y),
                     Vector2<T>(max.x < other.max.x ? max.x : other.max.x,
                                max.y < other.max.y ? max.y : other.max.y));
    }

    constexpr bool operator==(const AABB2&) const = default;

private:
    constexpr AABB2(const Vector2<T>& min_, const Vector2<T>& max_) : min(min_), max(max_) {}
};

} // namespace Vell
