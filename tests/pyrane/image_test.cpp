#include "pyrane/image.h"

#include <GL/gl.h>

#include <algorithm>
#include <random>

#include "enginetest.h"
#include "pyrane/imagesequence.h"

using ImageTest = EngineTest;

namespace {

// Where an image with its hot spot at pos covers the screen.
Box onScreen(const Image& image, V pos) {
    const Vector2<int> min = Vector2<int>(int(pos.x), int(pos.y)) - image.pivot();
    return Box(min.x, min.y, min.x + image.size().x, min.y + image.size().y);
}

// The pixel tests counted pixel by pixel over the overlap without its last row: the
// alpha test (window 1) one count a pixel pair, without the last column; the mask test
// (window 32) one count a 32-pixel window from the overlap's left edge holding a pair.
int bruteForce(const Image& a, V pa, int ta, const Image& b, V pb, int tb, int window) {
    auto solid = [](const Image& image, V pos, int threshold, int x, int y) {
        const Vector2<int> p = Vector2<int>(x, y) - onScreen(image, pos).min + image.bitmapPos();
        return image.bitmap().pixelColor(p).a >= threshold;
    };
    const Box o = onScreen(a, pa) & onScreen(b, pb);
    const int right = window == 1 ? o.max.x - 1 : o.max.x;
    int n = 0;
    for (int y = o.min.y; y < o.max.y - 1; ++y)
        for (int x0 = o.min.x; x0 < right; x0 += window) {
            bool hit = false;
            for (int x = x0; x < std::min(x0 + window, right); ++x)
                hit = hit || (solid(a, pa, ta, x, y) && solid(b, pb, tb, x, y));
            n += hit;
        }
    return n;
}

} // namespace

TEST_F(ImageTest, CachedAndUncachedImagesDrawTheSameQuadWithTheHotSpotOnThePosition) {
    auto bitmap = load("pattern.png", 32, 32,
                       [](int x, int row) { return Colour(x * 8, row * 8, (x ^ row) * 8, 255); });
    Image direct(*bitmap, Box(4, 6, 24, 30), Vector2<int>(5, 7), false);
    unsigned int list = 0;
    {
        Image cached(*bitmap, Box(4, 6, 24, 30), Vector2<int>(5, 7), true);
        list = cached.cacheID();
        ASSERT_TRUE(glIsList(list));
        renderer.drawImage(cached, V(30, 40), 0, 1, 1);
        renderer.drawImage(direct, V(90, 40), 0, 1, 1);
        EXPECT_EQ(TestSupport::readPixels(20, 30, 30, 30), TestSupport::readPixels(80, 30, 30, 30));
        // The pixel at (30, 40) is bitmap pixel (9, 13).
        EXPECT_EQ(rgb(30, 40), (Rgb{72, 144, (9 ^ 18) * 8}));
        // Redefined without a cache, it gives back its display list.
        cached.redefine(Box(0, 0, 8, 8), Vector2<int>(4, 4), false);
        EXPECT_FALSE(cached.cacheID() || glIsList(list));
        cached.redefine(Box(0, 0, 8, 8), Vector2<int>(4, 4), true);
        list = cached.cacheID();
    }
    EXPECT_FALSE(glIsList(list));
}

TEST_F(ImageTest, OpaqueSquaresCountWithoutTheLastRowAndColumn) {
    auto bitmap = solid("opaque.png", Colour(255, 255, 255, 200));
    Image a(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    // Counts of the alpha test and the mask test with the second image at each place.
    std::vector<int> alpha, mask;
    for (V pb :
         {V(50, 50), V(64, 50), V(65, 50), V(66, 50), V(50, 64), V(50, 65), V(50.9f, 50.2f)}) {
        alpha.push_back(Image::collision(a, V(50, 50), 1, a, pb, 1));
        mask.push_back(Image::collision(a, V(50, 50), a, pb));
    }
    EXPECT_EQ(alpha, (std::vector<int>{225, 15, 0, 0, 15, 0, 225}));
    EXPECT_EQ(mask, (std::vector<int>{15, 15, 15, 0, 1, 0, 15}));
    EXPECT_EQ(Image::collision(a, V(-0.5f, 0), 200, a, V(0, 0), 200), 225);
    EXPECT_EQ(Image::collision(a, V(50, 50), 201, a, V(50, 50), 1), 0);
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
    std::vector<std::unique_ptr<Image>> images;
    for (Box box : {Box(0, 0, 128, 64), Box(3, 5, 43, 25), Box(29, 0, 128, 40), Box(37, 10, 70, 64),
                    Box(96, 1, 128, 33)})
        images.push_back(std::make_unique<Image>(*big, box, Vector2<int>(7, 2), true));
    for (Box box : {Box(0, 0, 16, 16), Box(5, 3, 16, 12)})
        images.push_back(std::make_unique<Image>(*narrow, box, Vector2<int>(8, 8), true));

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

TEST_F(ImageTest, SequencesCutTheGridFromTheBottomLeftAndOnlyDestroyImagesDeletes) {
    Bitmap grid(Vector2<unsigned int>(64, 64), renderer, RGBA<float>(1, 1, 1, 1));
    ImageSequence all(grid.activate(), 16, 16, 0, 0, 100);
    ASSERT_EQ(all.count(), 16);
    // Each frame leaves out its cell's last column and row; the hot spot is the middle.
    EXPECT_EQ(all.image(0)->bitmapBox(), Box(0, 0, 15, 15));
    EXPECT_EQ(all.image(1)->bitmapBox(), Box(16, 0, 31, 15));
    EXPECT_EQ(all.image(4)->bitmapBox(), Box(0, 16, 15, 31));
    EXPECT_EQ(all.image(4)->pivot(), Vector2<int>(8, 8));
    EXPECT_TRUE(all.image(-5) == all.images.front() && all.image(1000) == all.images.back());
    EXPECT_EQ(ImageSequence().image(0), nullptr);
    // Frames clipped to the bitmap; counts; cells that would not advance leave one.
    auto frames = [&](int w, int gap, int count) {
        ImageSequence s(grid, w, 16, gap, 0, count);
        const int made = s.count();
        s.destroyImages();
        return made;
    };
    EXPECT_EQ((std::vector<int>{frames(100, 0, 100), frames(16, 0, 3), frames(16, 0, 0),
                                frames(16, 0, -1), frames(16, -16, 100)}),
              (std::vector<int>{4, 3, 0, 0, 4}));

    const std::vector<Image*> cut = all.images;
    all.clear();
    // Still there: they draw from their display lists.
    renderer.drawImage(*cut[1], V(20, 20), 0, 1, 1);
    EXPECT_EQ(rgb(20, 20), white);
    std::vector<unsigned int> lists;
    for (Image* frame : cut) {
        lists.push_back(frame->cacheID());
        all.add(*frame);
    }
    all.destroyImages();
    EXPECT_EQ(std::count_if(lists.begin(), lists.end(), glIsList), 0);
}
