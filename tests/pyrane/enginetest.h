#pragma once
// What the engine's GL tests share: the program's window with its context, a renderer
// over the 160 x 100 play field cleared to black, a folder for picture files, and the
// colours read back from the screen.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>

#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"
#include "support/glwindow.h"
#include "support/pngwriter.h"
#include "support/tempdir.h"

using namespace Pyrane;
using Box = Vell::AABB2<int>;
using V = Vector2<float>;
using Colour = RGBA<unsigned char>;
using Rgb = std::array<int, 3>;

constexpr Rgb black{0, 0, 0}, white{255, 255, 255}, red{255, 0, 0}, green{0, 255, 0},
    blue{0, 0, 255};

// The message of the std::runtime_error that f raises; "none" when it raises none.
template <typename F> std::string errorOf(F f) {
    try {
        f();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "none";
}

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        renderer.textureFilter(Renderer2D::NEAREST);
        clear(black);
    }

    // Writes a w x h picture, pixel(x, row) with row 0 at the top, and loads it.
    std::unique_ptr<Bitmap> load(const std::string& name, int w, int h,
                                 const std::function<Colour(int x, int row)>& pixel) {
        TestSupport::writePng(dir.path(name), w, h, pixel);
        return std::make_unique<Bitmap>(dir.path(name), renderer, true);
    }
    std::unique_ptr<Bitmap> solid(const std::string& name, Colour c) {
        return load(name, 16, 16, [=](int, int) { return c; });
    }

    // Clears to c and leaves the drawing colour white.
    void clear(Rgb c) {
        renderer.color(c[0] / 255.f, c[1] / 255.f, c[2] / 255.f, 1);
        renderer.clear();
        renderer.color(1, 1, 1, 1);
    }
    static Rgb rgb(int x, int y) {
        const TestSupport::Pixel p = TestSupport::readPixel(x, y);
        return {p.r, p.g, p.b};
    }
    // How many pixels of the w x h block from (x, y) have colour c.
    static int count(int x, int y, int w, int h, Rgb c) {
        int n = 0;
        for (const TestSupport::Pixel& p : TestSupport::readPixels(x, y, w, h))
            n += Rgb{p.r, p.g, p.b} == c;
        return n;
    }

    // The window and its context come before the renderer, which sets up GL state.
    OpenglAppMultistate& app = TestSupport::app();
    TestSupport::TempDir dir;
    Renderer2D renderer{Box(0, 0, 160, 100)};
};
