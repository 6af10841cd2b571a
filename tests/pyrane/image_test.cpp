#include "pyrane/image.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "pyrane/bitmap.h"
#include "pyrane/renderer2d.h"
#include "support/bitmapfixture.h"
#include "support/glwindow.h"
#include "support/tempdir.h"

using Pyrane::Bitmap;
using Pyrane::Image;
using Pyrane::Renderer2D;
using Box = Vell::AABB2<int>;
using Pixel = RGBA<unsigned char>;
using V = Vector2<float>;

namespace {

class ImageTest : public ::testing::Test {
protected:
    std::unique_ptr<Bitmap> load(const std::string& name, int w, int h,
                                 const std::function<Pixel(int, int)>& pixel) {
        return TestSupport::loadBitmap(dir, name, w, h, pixel, renderer);
    }
    std::unique_ptr<Bitmap> opaque(Pixel color = Pixel(255, 255, 255, 255)) {
        return load("opaque.png", 16, 16, [=](int, int) { return color; });
    }

    // The window and its context come before the renderer, which sets up GL state.
    OpenglAppMultistate& app = TestSupport::app();
    TestSupport::TempDir dir;
    Renderer2D renderer{Box(0, 0, 160, 100)};
};

// Where an image covers the screen with its hot spot at pos.
Box screenRect(const Image& image, V pos) {
    const Vector2<int> min = Vector2<int>(int(pos.x), int(pos.y)) - image.pivot();
    return Box(min.x, min.y, min.x + image.size().x, min.y + image.size().y);
}

unsigned char alphaUnder(const Image& image, V pos, int x, int y) {
    const Box r = screenRect(image, pos);
    return image.bitmap()
        .pixelColor({x - r.min.x + image.bitmapPos().x, y - r.min.y + image.bitmapPos().y})
        .a;
}

// The two pixel tests, pixel by pixel: the overlap without its last row (and, for the
// alpha test, its last column); the mask test counts each row's 32-pixel windows from
// the overlap's left edge in which both have a solid pixel (alpha 100) on the same spot.
int bruteAlpha(const Image& a, V pa, int ta, const Image& b, V pb, int tb) {
    const Box o = screenRect(a, pa) & screenRect(b, pb);
    int n = 0;
    for (int y = o.min.y; y < o.max.y - 1; ++y)
        for (int x = o.min.x; x < o.max.x - 1; ++x)
            if (alphaUnder(a, pa, x, y) >= ta && alphaUnder(b, pb, x, y) >= tb) ++n;
    return n;
}

int bruteMask(const Image& a, V pa, const Image& b, V pb) {
    const Box o = screenRect(a, pa) & screenRect(b, pb);
    int n = 0;
    for (int y = o.min.y; y < o.max.y - 1; ++y)
        for (int x0 = o.min.x; x0 < o.max.x; x0 += 32) {
            bool hit = false;
            for (int x = x0; x < std::min(x0 + 32, o.max.x); ++x)
                hit = hit || (alphaUnder(a, pa, x, y) >= 100 && alphaUnder(b, pb, x, y) >= 100);
            n += hit;
        }
    return n;
}

} // namespace

TEST_F(ImageTest, VertexArrayAndBoxesFollowTheRectangleAndHotSpot) {
    auto bitmap = load("64x32.png", 64, 32, [](int, int) { return Pixel(0, 0, 0, 255); });
    Image image(*bitmap, Box(8, 4, 24, 20), Vector2<int>(3, 5), false);
    const std::vector<float> expected = {
        0.125f, 0.125f, -3, -5, 0, //
        0.375f, 0.125f, 13, -5, 0, //
        0.375f, 0.625f, 13, 11, 0, //
        0.125f, 0.625f, -3, 11, 0,
    };
    EXPECT_EQ(std::vector<float>(image.vertArray(), image.vertArray() + 20), expected);
    EXPECT_EQ(std::vector<unsigned int>(image.vertIndices(), image.vertIndices() + 4),
              (std::vector<unsigned int>{0, 1, 2, 3}));
    EXPECT_EQ(image.vertIndicesCount(), 4u);
    EXPECT_EQ(image.textureBox(), Vell::AABB2<float>(0.125f, 0.125f, 0.375f, 0.625f));
    EXPECT_EQ(image.vertexBox(), Vell::AABB2<float>(-3, -5, 13, 11));
    EXPECT_EQ(image.bitmapBox(), Box(8, 4, 24, 20));
    EXPECT_EQ(image.size(), Vector2<int>(16, 16));
    EXPECT_EQ(image.bitmapPos(), Vector2<int>(8, 4));
    EXPECT_EQ(&image.bitmap(), bitmap.get());
    EXPECT_EQ(image.cacheID(), 0u);

    image.redefine(Box(0, 0, 64, 8), Vector2<int>(0, 0), false);
    EXPECT_EQ(image.vertArray()[5], 1.0f);
    EXPECT_EQ(image.vertArray()[11], 0.25f);
    EXPECT_EQ(image.vertexBox(), Vell::AABB2<float>(0, 0, 64, 8));
    EXPECT_EQ(image.size(), Vector2<int>(64, 8));
}

TEST_F(ImageTest, DisplayListFollowsTheCacheFlag) {
    auto bitmap = opaque();
    unsigned int first = 0;
    {
        Image image(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
        first = image.cacheID();
        ASSERT_NE(first, 0u);
        EXPECT_TRUE(glIsList(first));
        image.redefine(Box(0, 0, 8, 8), Vector2<int>(4, 4), true);
        const unsigned int second = image.cacheID();
        EXPECT_TRUE(glIsList(second));
        image.redefine(Box(0, 0, 8, 8), Vector2<int>(4, 4), false);
        EXPECT_EQ(image.cacheID(), 0u);
        EXPECT_FALSE(glIsList(second));
        image.redefine(Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
        first = image.cacheID();
    }
    EXPECT_FALSE(glIsList(first));
}

TEST_F(ImageTest, CachedAndUncachedImagesDrawTheSame) {
    renderer.textureFilter(Renderer2D::NEAREST);
    auto bitmap = load("pattern.png", 32, 32, [](int x, int row) {
        return Pixel(std::uint8_t(x * 8), std::uint8_t(row * 8), std::uint8_t((x ^ row) * 8), 255);
    });
    Image cached(*bitmap, Box(4, 6, 24, 30), Vector2<int>(5, 7), true);
    Image direct(*bitmap, Box(4, 6, 24, 30), Vector2<int>(5, 7), false);
    renderer.color(0, 0, 0, 1);
    renderer.clear();
    renderer.color(1, 1, 1, 1);
    renderer.drawImage(cached, V(30, 40), 0, 1, 1);
    renderer.drawImage(direct, V(90, 40), 0, 1, 1);
    const auto left = TestSupport::readPixels(20, 30, 30, 30);
    EXPECT_EQ(left, TestSupport::readPixels(80, 30, 30, 30));
    // The hot spot is on the position: the pixel at (30, 40) is bitmap pixel (9, 13).
    const TestSupport::Pixel spot = TestSupport::readPixel(30, 40);
    EXPECT_EQ(Pixel(spot.r, spot.g, spot.b, 255), bitmap->pixelColor({9, 13}));
}

TEST_F(ImageTest, PixelColorUnderAScreenPoint) {
    // Each pixel tells its bottom-up coordinates.
    auto bitmap = load("coords.png", 32, 32, [](int x, int row) {
        return Pixel(std::uint8_t(x), std::uint8_t(31 - row), 0, 255);
    });
    Image image(*bitmap, Box(8, 4, 24, 20), Vector2<int>(3, 5), false);
    const V at(50.7f, 30.2f);
    EXPECT_EQ(image.pixelColor(at, at), Pixel(11, 9, 0, 255));
    EXPECT_EQ(image.pixelColor(at, V(at.x + 2, at.y + 3)), Pixel(13, 12, 0, 255));
    EXPECT_EQ(image.pixelColor(at, V(at.x - 3.5f, at.y)), Pixel(8, 9, 0, 255));
    EXPECT_EQ(image.pixelColor(at, V(at.x + 12.9f, at.y + 10.9f)), Pixel(23, 19, 0, 255));
    // Just outside the quad on each side.
    EXPECT_EQ(image.pixelColor(at, V(at.x - 4, at.y)), Pixel(0, 0, 0, 0));
    EXPECT_EQ(image.pixelColor(at, V(at.x + 13, at.y)), Pixel(0, 0, 0, 0));
    EXPECT_EQ(image.pixelColor(at, V(at.x, at.y - 6)), Pixel(0, 0, 0, 0));
    EXPECT_EQ(image.pixelColor(at, V(at.x, at.y + 11)), Pixel(0, 0, 0, 0));
}

TEST_F(ImageTest, AlphaTestCountsPixelPairsWithoutTheLastRowAndColumn) {
    auto bitmap = opaque(Pixel(255, 255, 255, 200));
    Image a(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    Image b(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    EXPECT_EQ(Image::collision(a, V(50, 50), 1, b, V(50, 50), 1), 225);
    EXPECT_EQ(Image::collision(a, V(50, 50), 200, b, V(50, 50), 200), 225);
    EXPECT_EQ(Image::collision(a, V(50, 50), 201, b, V(50, 50), 1), 0);
    EXPECT_EQ(Image::collision(a, V(50, 50), 1, b, V(64, 50), 1), 15);
    EXPECT_EQ(Image::collision(a, V(50, 50), 1, b, V(65, 50), 1), 0);
    EXPECT_EQ(Image::collision(a, V(50, 50), 1, b, V(66, 50), 1), 0);
    EXPECT_EQ(Image::collision(a, V(50, 50), 1, b, V(50, 100), 1), 0);
    // Positions are truncated toward zero.
    EXPECT_EQ(Image::collision(a, V(10.9f, 5.2f), 1, b, V(10, 5), 1), 225);
    EXPECT_EQ(Image::collision(a, V(-0.5f, 0), 1, b, V(0, 0), 1), 225);
    EXPECT_EQ(Image::collision(a, V(-1, 0), 1, b, V(0, 0), 1), 210);
}

TEST_F(ImageTest, MaskTestCountsRowsAndWordsWithoutTheLastRow) {
    auto bitmap = opaque();
    Image a(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    Image b(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    EXPECT_EQ(Image::collision(a, V(50, 50), b, V(50, 50)), 15);
    // One shared column is still examined by the mask test; touching rectangles are not.
    EXPECT_EQ(Image::collision(a, V(50, 50), b, V(65, 50)), 15);
    EXPECT_EQ(Image::collision(a, V(50, 50), b, V(66, 50)), 0);
    EXPECT_EQ(Image::collision(a, V(50, 50), b, V(50, 65)), 0);
    EXPECT_EQ(Image::collision(a, V(50, 50), b, V(50, 64)), 1);

    // A bitmap without a mask never hits.
    Bitmap plain(Vector2<unsigned int>(16, 16), renderer, RGBA<float>(1, 1, 1, 1));
    Image c(plain, Box(0, 0, 16, 16), Vector2<int>(8, 8), false);
    EXPECT_EQ(Image::collision(a, V(50, 50), c, V(50, 50)), 0);
}

TEST_F(ImageTest, MaskTestHitsExactlyWhereSolidPixelsMeetAcrossWordOffsets) {
    // One solid pixel each: at bitmap (35, 5) in a, whose rectangle starts at column 3,
    // and at (6, 5) in b, whose rectangle starts at column 0.
    auto bitmapA = load("a.png", 64, 16, [](int x, int row) {
        return Pixel(0, 0, 0, x == 35 && 15 - row == 5 ? 255 : 0);
    });
    auto bitmapB = load("b.png", 64, 16, [](int x, int row) {
        return Pixel(0, 0, 0, x == 6 && 15 - row == 5 ? 255 : 0);
    });
    Image a(*bitmapA, Box(3, 0, 43, 16), Vector2<int>(0, 0), true);
    Image b(*bitmapB, Box(0, 0, 40, 16), Vector2<int>(0, 0), true);
    // a's pixel lands on screen (132, 25); so does b's with b at (126, 20).
    EXPECT_EQ(Image::collision(a, V(100, 20), b, V(126, 20)), 1);
    EXPECT_EQ(Image::collision(a, V(100, 20), 255, b, V(126, 20), 255), 1);
    EXPECT_EQ(Image::collision(a, V(100, 20), b, V(127, 20)), 0);
    EXPECT_EQ(Image::collision(a, V(100, 20), b, V(125, 20)), 0);
    EXPECT_EQ(Image::collision(a, V(100, 20), b, V(126, 21)), 0);
    // On the overlap's last row the pixels are not examined.
    EXPECT_EQ(Image::collision(a, V(100, 20), b, V(126, 20 - 10)), 0);
}

TEST_F(ImageTest, MaskAndAlphaTestsAgreeWithPixelByPixelCountsAtRandomPlacements) {
    std::mt19937 rng(7);
    auto sparse = [&](int, int) {
        const unsigned r = rng() % 100;
        const std::uint8_t alpha = r < 70 ? 0 : r < 78 ? 99 : r < 86 ? 100 : 255;
        return Pixel(0, 0, 0, alpha);
    };
    auto big = load("big.png", 128, 64, sparse);
    auto narrow = load("narrow.png", 16, 16, sparse);
    std::vector<std::unique_ptr<Image>> images;
    images.push_back(std::make_unique<Image>(*big, Box(0, 0, 128, 64), Vector2<int>(64, 32), true));
    images.push_back(std::make_unique<Image>(*big, Box(3, 5, 43, 25), Vector2<int>(7, 2), true));
    images.push_back(
        std::make_unique<Image>(*big, Box(29, 0, 128, 40), Vector2<int>(50, 10), true));
    images.push_back(std::make_unique<Image>(*big, Box(37, 10, 70, 64), Vector2<int>(0, 0), true));
    images.push_back(
        std::make_unique<Image>(*big, Box(96, 1, 128, 33), Vector2<int>(16, 16), true));
    images.push_back(std::make_unique<Image>(*narrow, Box(0, 0, 16, 16), Vector2<int>(8, 8), true));
    images.push_back(std::make_unique<Image>(*narrow, Box(5, 3, 16, 12), Vector2<int>(2, 2), true));

    std::uniform_real_distribution<float> coord(-60, 60);
    const int thresholds[] = {1, 99, 100, 200};
    int maskHits = 0;
    int alphaHits = 0;
    for (int n = 0; n < 3000; ++n) {
        const Image& a = *images[rng() % images.size()];
        const Image& b = *images[rng() % images.size()];
        const V pa(coord(rng), coord(rng));
        const V pb(coord(rng), coord(rng));
        const int ta = thresholds[rng() % 4];
        const int tb = thresholds[rng() % 4];
        const int mask = Image::collision(a, pa, b, pb);
        ASSERT_EQ(mask, bruteMask(a, pa, b, pb)) << "placement " << n;
        const int alpha = Image::collision(a, pa, std::uint8_t(ta), b, pb, std::uint8_t(tb));
        ASSERT_EQ(alpha, bruteAlpha(a, pa, ta, b, pb, tb)) << "placement " << n;
        maskHits += mask > 0;
        alphaHits += alpha > 0;
    }
    // Enough of the placements overlap for the comparison to mean something.
    EXPECT_GT(maskHits, 500);
    EXPECT_GT(alphaHits, 500);
}

TEST_F(ImageTest, BoxTestIsTheRectanglesOnly) {
    auto bitmap = opaque(Pixel(0, 0, 0, 0));
    Image image(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    // The image covers (42, 42) to (58, 58), transparent as it is.
    EXPECT_EQ(Image::collision(image, V(50, 50), 255, Vell::AABB2<float>(45, 45, 46, 46)), 100);
    EXPECT_EQ(Image::collision(image, V(50, 50), 1, Vell::AABB2<float>(58, 50, 70, 60)), 100);
    EXPECT_EQ(Image::collision(image, V(50, 50), 1, Vell::AABB2<float>(58.9f, 50, 70, 60)), 100);
    EXPECT_EQ(Image::collision(image, V(50, 50), 1, Vell::AABB2<float>(59, 50, 70, 60)), 0);
    EXPECT_EQ(Image::collision(image, V(50, 50), 1, Vell::AABB2<float>(0, 0, 41.9f, 41.9f)), 0);
    EXPECT_EQ(Image::collision(image, V(50, 50), 1, Vell::AABB2<float>(0, 0, 42, 42)), 100);
}

TEST_F(ImageTest, PolygonTestCountsVisiblePixelsWhoseCornersAreInside) {
    auto bitmap = opaque();
    Image image(*bitmap, Box(0, 0, 16, 16), Vector2<int>(0, 0), true);
    // Lower-left corners (c, r) with c and r from 0 to 14; inside the triangle when
    // c + r < 16: 225 less the 91 corners on or beyond the slanted edge.
    const std::vector<V> triangle = {V(0, 0), V(16, 0), V(0, 16)};
    EXPECT_EQ(Image::collision(image, V(0, 0), 1, triangle), 134);
    // The left half: its right edge bounds the scan, whose last column is skipped.
    const std::vector<V> half = {V(0, 0), V(8, 0), V(8, 16), V(0, 16)};
    EXPECT_EQ(Image::collision(image, V(0, 0), 1, half), 105);
    EXPECT_EQ(Image::collision(image, V(0.7f, 0), 1, half), 105);
    EXPECT_EQ(Image::collision(image, V(4, 0), 1, half), 45);
    EXPECT_EQ(Image::collision(image, V(20, 0), 1, half), 0);
    EXPECT_EQ(Image::collision(image, V(0, 0), 1, std::vector<V>{}), 0);

    auto faint = load("faint.png", 16, 16, [](int, int) { return Pixel(255, 255, 255, 50); });
    Image ghost(*faint, Box(0, 0, 16, 16), Vector2<int>(0, 0), true);
    EXPECT_EQ(Image::collision(ghost, V(0, 0), 50, triangle), 134);
    EXPECT_EQ(Image::collision(ghost, V(0, 0), 51, triangle), 0);
}
