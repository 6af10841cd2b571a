// How long the pixel collision tests take for one pair of images: the play state runs
// the mask test for every bullet against every enemy piece each frame.
// Run under a display (xvfb-run): the renderer needs an OpenGL context.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>

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
    // The pair as the comparison of both tests sees it.
    const Image& first() const { return piece; }
    const Image& second() const { return bullet; }
    Vector2<float> firstPos() const { return {80, 50}; }
    const Vector2<float>& secondPos() { return bulletPos(); }

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

// Two large images of one bitmap overlapping almost entirely, at (10, 10) and around it:
// the worst case of the mask test.
struct LargeOverlap {
    explicit LargeOverlap(int side)
        : bitmap(unsigned(side * 2), renderer()),
          a(bitmap, Vell::AABB2<int>(0, 0, side, side), {0, 0}, false),
          b(bitmap, Vell::AABB2<int>(7, 3, 7 + side, 3 + side), {0, 0}, false) {}

    const Vector2<float>& bPos() { return positions[next++ % positions.size()]; }
    const Image& first() const { return a; }
    const Image& second() const { return b; }
    Vector2<float> firstPos() const { return {10, 10}; }
    const Vector2<float>& secondPos() { return bPos(); }

    SolidBitmap bitmap;
    Image a;
    Image b;
    std::array<Vector2<float>, 8> positions = around(10, 10);
    std::size_t next = 0;
};

void BM_MaskCollisionLargeOverlap(benchmark::State& state) {
    LargeOverlap pair(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Image::collision(pair.a, {10, 10}, pair.b, pair.bPos()));
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

// Both tests in turn on the same pair at the same positions, 64 calls of each per
// iteration (the time is that of the 64 mask tests): mask_ns and alpha_ns are one call
// of each, and alpha_over_mask says how many times longer the alpha test takes. Fails
// when the two tests disagree on a hit.
template <typename Pair> void BM_MaskAgainstAlpha(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    constexpr int batch = 64;
    Pair pair(int(state.range(0)));
    const Image& a = pair.first();
    const Image& b = pair.second();
    const Vector2<float> posA = pair.firstPos();
    double maskSeconds = 0;
    double alphaSeconds = 0;
    for (auto _ : state) {
        int maskHits = 0;
        int alphaHits = 0;
        auto start = Clock::now();
        for (int i = 0; i < batch; ++i)
            maskHits += Image::collision(a, posA, b, pair.secondPos()) != 0;
        const double mask = std::chrono::duration<double>(Clock::now() - start).count();
        start = Clock::now();
        for (int i = 0; i < batch; ++i)
            alphaHits += Image::collision(a, posA, 1, b, pair.secondPos(), 1) != 0;
        alphaSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        maskSeconds += mask;
        state.SetIterationTime(mask);
        if (maskHits != alphaHits) {
            state.SkipWithError("the mask test and the alpha test disagree");
            break;
        }
    }
    const double calls = double(state.iterations()) * batch;
    state.counters["mask_ns"] = maskSeconds * 1e9 / calls;
    state.counters["alpha_ns"] = alphaSeconds * 1e9 / calls;
    state.counters["alpha_over_mask"] = maskSeconds > 0 ? alphaSeconds / maskSeconds : 0;
}
BENCHMARK_TEMPLATE(BM_MaskAgainstAlpha, BulletOverPiece)
    ->Arg(16)
    ->Arg(32)
    ->Arg(64)
    ->UseManualTime();
BENCHMARK_TEMPLATE(BM_MaskAgainstAlpha, LargeOverlap)->Arg(64)->Arg(128)->UseManualTime();

} // namespace
