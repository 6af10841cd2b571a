#include "pyrane/image.h"

#include <GL/gl.h>

#include <algorithm>
#include <random>

#include "enginetest.h"
#include "pyrane/imagesequence.h"

using Pyrane::Bitmap;
using Pyrane::Image;
using Pyrane::ImageSequence;

namespace {

using ImageTest = EngineTest;

// Where an image covers the screen with its hot spot at pos.
Box screenRect(const Image& image, V pos) {
    const Vector2<int> min = Vector2<int>(int(pos.x), int(pos.y)) - image.pivot();
    return Box(min.x, min.y, min.x + image.size().x, min.y + image.size().y);
}

int alphaUnder(const Image& image, V pos, int x, int y) {
    const Vector2<int> min = screenRect(image, pos).min;
    return image.bitmap().pixelColor(Vector2<int>(x, y) - min + image.bitmapPos()).a;
}

// The pixel tests counted pixel by pixel over the overlap without its last row: the
// alpha test (window 1) one count a pixel pair, without the last column; the mask test
// (window 32) one count a 32-pixel window from the overlap's left edge holding a pair.
int bruteForce(const Image& a, V pa, int ta, const Image& b, V pb, int tb, int window) {
    const Box o = screenRect(a, pa) & screenRect(b, pb);
    const int right = window == 1 ? o.max.x - 1 : o.max.x;
    int n = 0;
    for (int y = o.min.y; y < o.max.y - 1; ++y)
        for (int x0 = o.min.x; x0 < right; x0 += window) {
            bool hit = false;
            for (int x = x0; x < std::min(x0 + window, right); ++x)
                hit = hit || (alphaUnder(a, pa, x, y) >= ta && alphaUnder(b, pb, x, y) >= tb);
            n += hit;
        }
    return n;
}

} // namespace

TEST_F(ImageTest, VertexArrayFollowsTheRectangleAndHotSpot) {
    auto bitmap = load("64x32.png", 64, 32, [](int, int) { return Colour(0, 0, 0, 255); });
    Image image(*bitmap, Box(8, 4, 24, 20), Vector2<int>(3, 5), false);
    EXPECT_EQ(std::vector<float>(image.vertArray(), image.vertArray() + 20),
              (std::vector<float>{0.125f, 0.125f, -3, -5, 0, 0.375f, 0.125f, 13, -5, 0, //
                                  0.375f, 0.625f, 13, 11, 0, 0.125f, 0.625f, -3, 11, 0}));
    EXPECT_EQ(std::vector<unsigned int>(image.vertIndices(), image.vertIndices() + 4),
              (std::vector<unsigned int>{0, 1, 2, 3}));
    EXPECT_EQ(image.vertexBox(), Vell::AABB2<float>(-3, -5, 13, 11));
    image.redefine(Box(0, 0, 64, 8), Vector2<int>(0, 0), false);
    EXPECT_EQ(image.textureBox(), Vell::AABB2<float>(0, 0, 1, 0.25f));
    EXPECT_EQ(image.vertArray()[12], 64);
}

TEST_F(ImageTest, DisplayListFollowsTheCacheFlagAndDrawsLikeTheVertexArray) {
    auto bitmap = load("pattern.png", 32, 32,
                       [](int x, int row) { return Colour(x * 8, row * 8, (x ^ row) * 8, 255); });
    unsigned int list = 0;
    {
        Image cached(*bitmap, Box(4, 6, 24, 30), Vector2<int>(5, 7), true);
        Image direct(*bitmap, Box(4, 6, 24, 30), Vector2<int>(5, 7), false);
        list = cached.cacheID();
        ASSERT_TRUE(glIsList(list));
        renderer.drawImage(cached, V(30, 40), 0, 1, 1);
        renderer.drawImage(direct, V(90, 40), 0, 1, 1);
        EXPECT_EQ(TestSupport::readPixels(20, 30, 30, 30), TestSupport::readPixels(80, 30, 30, 30));
        // The hot spot is on the position: the pixel at (30, 40) is bitmap pixel (9, 13).
        const Colour spot = bitmap->pixelColor({9, 13});
        EXPECT_EQ(rgb(30, 40), (Rgb{spot.r, spot.g, spot.b}));

        cached.redefine(Box(0, 0, 8, 8), Vector2<int>(4, 4), false);
        EXPECT_EQ(cached.cacheID(), 0u);
        EXPECT_FALSE(glIsList(list));
        cached.redefine(Box(0, 0, 8, 8), Vector2<int>(4, 4), true);
        list = cached.cacheID();
    }
    EXPECT_FALSE(glIsList(list));
}

TEST_F(ImageTest, PixelColorUnderAScreenPoint) {
    // Each pixel tells its bottom-up coordinates.
    auto bitmap =
        load("coords.png", 32, 32, [](int x, int row) { return Colour(x, 31 - row, 0, 255); });
    Image image(*bitmap, Box(8, 4, 24, 20), Vector2<int>(3, 5), false);
    const V at(50.7f, 30.2f);
    const std::pair<V, Colour> cases[] = {
        {{0, 0}, {11, 9, 0, 255}}, {{-3.5f, 0}, {8, 9, 0, 255}}, {{12.9f, 10.9f}, {23, 19, 0, 255}},
        {{-4, 0}, {0, 0, 0, 0}},   {{13, 0}, {0, 0, 0, 0}},      {{0, -6}, {0, 0, 0, 0}},
        {{0, 11}, {0, 0, 0, 0}},
    };
    for (const auto& [offset, colour] : cases)
        EXPECT_EQ(image.pixelColor(at, at + offset), colour) << offset.x << ", " << offset.y;
}

TEST_F(ImageTest, OpaqueSquaresCountWithoutTheLastRowAndColumn) {
    auto bitmap = solid("opaque.png", Colour(255, 255, 255, 200));
    Image a(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    const struct {
        V pb;
        int alpha, mask;
    } cases[] = {
        {{50, 50}, 225, 15},       {{64, 50}, 15, 15}, {{65, 50}, 0, 15}, {{66, 50}, 0, 0},
        {{50, 64}, 15, 1},         {{50, 65}, 0, 0}, // positions are truncated toward zero
        {{50.9f, 50.2f}, 225, 15},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Image::collision(a, V(50, 50), 1, a, c.pb, 1), c.alpha)
            << c.pb.x << ", " << c.pb.y;
        EXPECT_EQ(Image::collision(a, V(50, 50), a, c.pb), c.mask) << c.pb.x << ", " << c.pb.y;
    }
    EXPECT_EQ(Image::collision(a, V(-0.5f, 0), 1, a, V(0, 0), 1), 225);
    EXPECT_EQ(Image::collision(a, V(50, 50), 200, a, V(50, 50), 200), 225);
    EXPECT_EQ(Image::collision(a, V(50, 50), 201, a, V(50, 50), 1), 0);
    // A bitmap without a mask never hits in the mask test.
    Bitmap plain(Vector2<unsigned int>(16, 16), renderer, RGBA<float>(1, 1, 1, 1));
    Image unmasked(plain, Box(0, 0, 16, 16), Vector2<int>(8, 8), false);
    EXPECT_EQ(Image::collision(a, V(50, 50), unmasked, V(50, 50)), 0);
}

TEST_F(ImageTest, MaskAndAlphaTestsAgreeWithPixelByPixelCountsAtRandomPlacements) {
    std::mt19937 rng(7);
    // Solid pixels at every word offset, with alphas either side of the mask's 100.
    auto sparse = [&](int, int) {
        const unsigned r = rng() % 100;
        return Colour(0, 0, 0, r < 70 ? 0 : r < 78 ? 99 : r < 86 ? 100 : 255);
    };
    auto big = load("big.png", 128, 64, sparse);
    auto narrow = load("narrow.png", 16, 16, sparse);
    const struct {
        Bitmap* bitmap;
        Box box;
        Vector2<int> pivot;
    } shapes[] = {
        {big.get(), {0, 0, 128, 64}, {64, 32}},  {big.get(), {3, 5, 43, 25}, {7, 2}},
        {big.get(), {29, 0, 128, 40}, {50, 10}}, {big.get(), {37, 10, 70, 64}, {0, 0}},
        {big.get(), {96, 1, 128, 33}, {16, 16}}, {narrow.get(), {0, 0, 16, 16}, {8, 8}},
        {narrow.get(), {5, 3, 16, 12}, {2, 2}},
    };
    std::vector<std::unique_ptr<Image>> images;
    for (const auto& s : shapes)
        images.push_back(std::make_unique<Image>(*s.bitmap, s.box, s.pivot, true));

    std::uniform_real_distribution<float> coord(-60, 60);
    const int thresholds[] = {1, 99, 100, 200};
    int hits = 0;
    for (int n = 0; n < 3000; ++n) {
        const Image& a = *images[rng() % images.size()];
        const Image& b = *images[rng() % images.size()];
        const V pa(coord(rng), coord(rng)), pb(coord(rng), coord(rng));
        const int ta = thresholds[rng() % 4], tb = thresholds[rng() % 4];
        const int mask = Image::collision(a, pa, b, pb);
        ASSERT_EQ(mask, bruteForce(a, pa, 100, b, pb, 100, 32)) << "placement " << n;
        ASSERT_EQ(Image::collision(a, pa, ta, b, pb, tb), bruteForce(a, pa, ta, b, pb, tb, 1))
            << "placement " << n;
        hits += mask > 0;
    }
    // Enough of the placements overlap for the comparison to mean something.
    EXPECT_GT(hits, 500);
}

TEST_F(ImageTest, BoxTestIsTheRectanglesOnlyAndPolygonTestTheCornersInside) {
    auto clear = solid("clear.png", Colour(0, 0, 0, 0));
    Image hidden(*clear, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    // The image covers (42, 42) to (58, 58), transparent as it is; touching counts.
    for (const auto& [box, hit] : {std::pair{Vell::AABB2<float>(45, 45, 46, 46), 100},
                                   {{58.9f, 50, 70, 60}, 100},
                                   {{59, 50, 70, 60}, 0},
                                   {{0, 0, 41.9f, 41.9f}, 0},
                                   {{0, 0, 42, 42}, 100}})
        EXPECT_EQ(Image::collision(hidden, V(50, 50), 255, box), hit) << box.min.x;

    auto faint = solid("faint.png", Colour(255, 255, 255, 50));
    Image image(*faint, Box(0, 0, 16, 16), Vector2<int>(0, 0), true);
    // Lower-left corners (c, r) with c and r from 0 to 14, inside when c + r < 16.
    const std::vector<V> triangle = {V(0, 0), V(16, 0), V(0, 16)};
    EXPECT_EQ(Image::collision(image, V(0, 0), 50, triangle), 134);
    EXPECT_EQ(Image::collision(image, V(0, 0), 51, triangle), 0);
    // The left half: its right edge bounds the scan, whose last column is skipped.
    const std::vector<V> half = {V(0, 0), V(8, 0), V(8, 16), V(0, 16)};
    EXPECT_EQ(Image::collision(image, V(0.7f, 0), 1, half), 105);
    EXPECT_EQ(Image::collision(image, V(4, 0), 1, half), 45);
    EXPECT_EQ(Image::collision(image, V(20, 0), 1, half), 0);
    EXPECT_EQ(Image::collision(image, V(0, 0), 1, std::vector<V>{}), 0);
}

namespace {

// A 64 x 64 bitmap in 16 x 16 cells; red is the cell column and green the cell row from
// the top, as a viewer shows it.
class ImageSequenceTest : public EngineTest {
protected:
    std::unique_ptr<Bitmap> grid =
        load("grid.png", 64, 64, [](int x, int row) { return Colour(x / 16, row / 16, 0, 255); });
    std::pair<int, int> cellOf(const Image* frame) {
        const Colour p = grid->pixelColor(frame->bitmapPos());
        return {p.r, p.g};
    }
};

} // namespace

TEST_F(ImageSequenceTest, CutsTheGridFromTheBottomLeftRowByRowLeavingOutTheLastPixels) {
    ImageSequence all(*grid, 16, 16, 0, 0, 100);
    ASSERT_EQ(all.count(), 16);
    EXPECT_EQ(cellOf(all.image(0)), std::pair(0, 3));
    EXPECT_EQ(cellOf(all.image(1)), std::pair(1, 3));
    EXPECT_EQ(cellOf(all.image(4)), std::pair(0, 2));
    EXPECT_EQ(all.image(4)->bitmapBox(), Box(0, 16, 15, 31));
    EXPECT_EQ(all.image(4)->pivot(), Vector2<int>(8, 8));
    EXPECT_NE(all.image(4)->cacheID(), 0u);

    // A second call starts the grid again and appends.
    ImageSequence some(*grid, Vector2<int>(16, 16), Vector2<int>(0, 0), 3);
    some.add(*grid, 32, 32, 0, 0, 2);
    ASSERT_EQ(some.count(), 5);
    EXPECT_EQ(cellOf(some.image(2)), std::pair(2, 3));
    EXPECT_EQ(some.image(4)->bitmapBox(), Box(32, 0, 63, 31));
    // Clipped to the bitmap; with gaps cells at 0, 24 and 48.
    ImageSequence gaps(*grid, 16, 16, 8, 8, 100);
    ASSERT_EQ(gaps.count(), 9);
    EXPECT_EQ(gaps.image(5)->bitmapBox(), Box(48, 24, 63, 39));
    for (ImageSequence* s : {&all, &some, &gaps})
        s->destroyImages();

    const struct {
        int w, h, gapX, gapY, count, frames;
    } counts[] = {
        {16, 16, 0, 0, 0, 0},     {16, 16, 0, 0, -1, 0},    {100, 16, 0, 0, 100, 4},
        {0, 16, 0, 0, 100, 0}, // cells that would not advance leave one in that direction
        {16, 16, -16, 0, 100, 4}, {16, 16, 0, -20, 100, 4},
    };
    for (const auto& c : counts) {
        ImageSequence s(*grid, c.w, c.h, c.gapX, c.gapY, c.count);
        EXPECT_EQ(s.count(), c.frames) << c.w << " " << c.gapX << " " << c.gapY << " " << c.count;
        s.destroyImages();
    }
}

TEST_F(ImageSequenceTest, ImageIndexIsClampedAndOnlyDestroyImagesDeletes) {
    EXPECT_EQ(ImageSequence().image(0), nullptr);
    ImageSequence sequence(*grid, 16, 16, 0, 0, 4);
    sequence.add(*new Image(*grid, Box(0, 0, 8, 8), Vector2<int>(0, 0), true));
    EXPECT_EQ(sequence.image(-5), sequence.images.front());
    EXPECT_EQ(sequence.image(1000), sequence.images[4]);

    const std::vector<Image*> frames = sequence.images;
    sequence.clear();
    EXPECT_EQ(sequence.count(), 0);
    // Still there: their display lists live and they can be drawn.
    renderer.drawImage(*frames[1], V(20, 20), 0, 1, 1);
    EXPECT_EQ(rgb(20, 20), (Rgb{1, 3, 0}));
    std::vector<unsigned int> lists;
    for (Image* frame : frames) {
        ASSERT_TRUE(glIsList(frame->cacheID()));
        lists.push_back(frame->cacheID());
        sequence.add(*frame);
    }
    sequence.destroyImages();
    EXPECT_EQ(sequence.count(), 0);
    for (unsigned int list : lists)
        EXPECT_FALSE(glIsList(list));
}
