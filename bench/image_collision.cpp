// How long the pixel collision tests take for one pair of images: the play state runs
// the mask test for every bullet against every enemy piece each frame.
// Run under a display (xvfb-run): the renderer needs an OpenGL context.
#include <benchmark/benchmark.h>

#include <array>

#include "common_classes/openglapp.h"
#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"

namespace {

using Pyrane::Image;

// A bitmap solid all over, with the collision mask the loader builds at alpha 100. The
// mask test's cost depends on the size of the overlap, not on which bits are set.
class SolidBitmap : public Pyrane::Bitmap {
public:
    SolidBitmap(unsigned int side, Pyrane::Renderer2D& renderer)
        : Bitmap(Vector2<unsigned int>(side, side), renderer, RGBA<float>(1, 1, 1, 1)) {
        createBitmask(100);
    }
};

Pyrane::Renderer2D& renderer() {
    static OpenglApp* app = [] {
        Platform::hideNewWindows(true);
        return new OpenglApp("Kestrane benchmark", 160, 100, false);
    }();
    static Pyrane::Renderer2D instance(Vell::AABB2<int>(0, 0, 160, 100));
    (void)app;
    return instance;
}

// Positions a little apart, so the loop does not test one placement over and over.
std::array<Vector2<float>, 8> around(float x, float y) {
    std::array<Vector2<float>, 8> positions;
    for (int i = 0; i < 8; ++i)
        positions[i] = Vector2<float>(x + float(i % 3), y + float(i / 3));
    return positions;
}

// A piece of the given side, cut at column 3 so its words are not aligned, at (80, 50),
// and an 8 x 8 bullet over it at positions around its hot spot.
struct BulletOverPiece {
    explicit BulletOverPiece(int side)
        : pieceBitmap(unsigned(side + 8), renderer()), bulletBitmap(16, renderer()),
          piece(pieceBitmap, Vell::AABB2<int>(3, 0, 3 + side, side), {side / 2, side / 2}, false),
          bullet(bulletBitmap, Vell::AABB2<int>(5, 5, 13, 13), {4, 4}, false) {}

    const Vector2<float>& bulletPos() { return positions[next++ % positions.size()]; }

    SolidBitmap pieceBitmap;
    SolidBitmap bulletBitmap;
    Image piece;
    Image bullet;
    std::array<Vector2<float>, 8> positions = around(80, 50);
    std::size_t next = 0;
};

void BM_MaskCollisionBulletOverPiece(benchmark::State& state) {
    BulletOverPiece pair(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Image::collision(pair.piece, {80, 50}, pair.bullet, pair.bulletPos()));
}
BENCHMARK(BM_MaskCollisionBulletOverPiece)->Arg(16)->Arg(32)->Arg(64);

// Two large images overlapping almost entirely: the worst case of the mask test.
void BM_MaskCollisionLargeOverlap(benchmark::State& state) {
    const int side = int(state.range(0));
    SolidBitmap bitmap(unsigned(side * 2), renderer());
    Image a(bitmap, Vell::AABB2<int>(0, 0, side, side), {0, 0}, false);
    Image b(bitmap, Vell::AABB2<int>(7, 3, 7 + side, 3 + side), {0, 0}, false);
    const auto positions = around(10, 10);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Image::collision(a, {10, 10}, b, positions[i++ % positions.size()]));
}
BENCHMARK(BM_MaskCollisionLargeOverlap)->Arg(64)->Arg(128);

// The common case: the rectangles are apart and no pixel is read.
void BM_MaskCollisionApart(benchmark::State& state) {
    SolidBitmap bitmap(32, renderer());
    Image a(bitmap, Vell::AABB2<int>(0, 0, 32, 32), {16, 16}, false);
    Image b(bitmap, Vell::AABB2<int>(0, 0, 8, 8), {4, 4}, false);
    const auto positions = around(120, 80);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Image::collision(a, {20, 20}, b, positions[i++ % positions.size()]));
}
BENCHMARK(BM_MaskCollisionApart);

// The alpha test on the same pairs, for comparison.
void BM_AlphaCollisionBulletOverPiece(benchmark::State& state) {
    BulletOverPiece pair(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Image::collision(pair.piece, {80, 50}, 1, pair.bullet, pair.bulletPos(), 1));
}
BENCHMARK(BM_AlphaCollisionBulletOverPiece)->Arg(16)->Arg(32)->Arg(64);

} // namespace
