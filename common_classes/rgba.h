#pragma once
// A colour with alpha. RGBA<float> holds 0..1 channels as OpenGL takes them (nothing
// here clamps); RGBA<unsigned char> is one bitmap pixel, bytes in the order r, g, b, a.

template <typename T> class RGBA {
public:
    T r{};
    T g{};
    T b{};
    T a{};

    constexpr RGBA() = default;
    constexpr RGBA(T r_, T g_, T b_, T a_) : r(r_), g(g_), b(b_), a(a_) {}

    void set(T r_, T g_, T b_, T a_) {
        r = r_;
        g = g_;
        b = b_;
        a = a_;
    }

    RGBA& operator+=(const RGBA& c) {
        r += c.r;
        g += c.g;
        b += c.b;
        a += c.a;
        return *this;
    }
    constexpr RGBA operator+(const RGBA& c) const {
        return RGBA(r + c.r, g + c.g, b + c.b, a + c.a);
    }
    constexpr RGBA operator*(float s) const {
        return RGBA(static_cast<T>(r * s), static_cast<T>(g * s), static_cast<T>(b * s),
                    static_cast<T>(a * s));
    }
    constexpr bool operator==(const RGBA&) const = default;
};

static_assert(sizeof(RGBA<unsigned char>) == 4, "a bitmap pixel is four bytes");
