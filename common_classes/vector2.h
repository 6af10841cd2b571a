#pragma once
// A Cartesian 2D vector, used for positions, sizes and velocities in screen units.
#include <cmath>
#include <cstddef>
#include <vector>

template <typename T> class Vector2 {
public:
    T x{};
    T y{};

    constexpr Vector2() = default;
    constexpr Vector2(T x_, T y_) : x(x_), y(y_) {}

    void set(T x_, T y_) {
        x = x_;
        y = y_;
    }

    T abs() const { return std::sqrt(x * x + y * y); }
    // Normalises in place; a zero-length vector has no direction, so callers never pass one.
    Vector2& norm() {
        const T length = abs();
        x /= length;
        y /= length;
        return *this;
    }

    Vector2& operator+=(const Vector2& v) {
        x += v.x;
        y += v.y;
        return *this;
    }
    constexpr Vector2 operator+(const Vector2& v) const { return Vector2(x + v.x, y + v.y); }
    constexpr Vector2 operator-(const Vector2& v) const { return Vector2(x - v.x, y - v.y); }
    constexpr Vector2 operator-() const { return Vector2(-x, -y); }
    constexpr Vector2 operator*(float s) const {
        return Vector2(static_cast<T>(x * s), static_cast<T>(y * s));
    }
    constexpr bool operator==(const Vector2&) const = default;

    // Crossing-number test: a horizontal ray from this point towards +x crosses the
    // closed polygon's edges an odd number of times exactly when the point is inside.
    bool pointInsidePolygon(const std::vector<Vector2>& polygon) const {
        const std::size_t n = polygon.size();
        int crossings = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const Vector2& a = polygon[i];
            const Vector2& b = polygon[i + 1 == n ? 0 : i + 1];
            if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y)) {
                const T xc = a.x + (b.x - a.x) * ((y - a.y) / (b.y - a.y));
                if (x < xc) ++crossings;
            }
        }
        return crossings % 2 == 1;
    }
};
