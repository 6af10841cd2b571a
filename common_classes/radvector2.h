#pragma once
// A 2D vector in polar form: length first, then the angle in radians from +x towards +y.
#include <cmath>

#include "common_classes/vector2.h"

template <typename T> class RadVector2 {
public:
    T value{};
    T angle{};

    constexpr RadVector2() = default;
    constexpr RadVector2(T value_, T angle_) : value(value_), angle(angle_) {}
    explicit RadVector2(const Vector2<T>& v)
        : value(std::sqrt(v.x * v.x + v.y * v.y)), angle(std::atan2(v.y, v.x)) {}

    // A length is never negative; a negative one becomes 0 and the angle is kept.
    void set(T value_, T angle_) {
        value = value_ < 0 ? T{} : value_;
        angle = angle_;
    }

    Vector2<T> toVector2() const {
        return Vector2<T>(value * std::cos(angle), value * std::sin(angle));
    }

    // Changes length and angle independently (speed up and turn); not a vector sum.
    RadVector2& operator+=(const RadVector2& d) {
        value += d.value;
        angle += d.angle;
        return *this;
    }
};
