// The generated pictures and fonts as the game's start-up loads and cuts them: every named
// image, animation frame and glyph holds a sensible, visible part of its picture.
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "pyrane/bitmap.h"
#include "pyrane/font.h"
#include "pyrane/image.h"
#include "pyrane/imagesequence.h"
#include "support/gamesession.h"
#include "tarvex/game.h"

namespace {

using Box = Vell::AABB2<int>;
using Pixel = RGBA<unsigned char>;

// Pixels of the box whose alpha is at least `alpha`.
int ink(const Pyrane::Bitmap& b, const Box& box, int alpha = 1) {
    int count = 0;
    for (int y = box.min.y; y < box.max.y; ++y)
        for (int x = box.min.x; x < box.max.x; ++x)
            count += b.pixelColor({x, y}).a >= alpha;
    return count;
}

const Pyrane::Bitmap& bitmapOf(const std::string& image) {
    return game.images.at(image)->bitmap();
}

class Pictures : public ::testing::Test {
protected:
    void SetUp() override { TestSupport::startGame(); }
};

// A font as the game cut it: `count` glyphs, each of positive width and followed by a blank
// column, white on a transparent ground so that the drawing colour tints it, no two alike;
// capitals stand on the baseline at one height; nothing follows the last glyph.
void checkFont(const Pyrane::Font& font, int count) {
    const Pyrane::Bitmap& b = *font.bitmap();
    std::set<std::vector<int>> shapes;
    int glyphs = 0, capHeight = 0;
    Box last;
    for (int c = 0; c < 256; ++c) {
        const Pyrane::Image* glyph = font.charImage(static_cast<unsigned char>(c));
        if (!glyph) continue;
        ++glyphs;
        const Box& g = glyph->bitmapBox();
        SCOPED_TRACE(std::string("glyph '") + char(c) + "'");
        if (std::pair(g.min.y, g.min.x) > std::pair(last.min.y, last.min.x)) last = g;
        EXPECT_TRUE(g.max.x > g.min.x && g.max.x - g.min.x < 8) << "width " << g.max.x - g.min.x;
        EXPECT_EQ(ink(b, {g.max.x - 1, g.min.y, g.max.x, g.max.y}), 0);
        EXPECT_EQ(ink(b, g) == 0, c == ' ');
        std::vector<int> shape{g.max.x - g.min.x};
        for (int y = g.min.y; y < g.max.y; ++y)
            for (int x = g.min.x; x < g.max.x; ++x) {
                Pixel p = b.pixelColor({x, y});
                EXPECT_TRUE(!p.a || p == Pixel(255, 255, 255, 255))
                    << "not white at " << x << "," << y;
                shape.push_back(p.a);
            }
        EXPECT_TRUE(shapes.insert(shape).second) << "two characters look the same";
        if (c >= 'A' && c <= 'Z') {
            const int base = g.min.y + font.baseline();
            EXPECT_GT(ink(b, {g.min.x, base, g.max.x, base + 1}), 0);
            EXPECT_EQ(ink(b, {g.min.x, g.min.y, g.max.x, base}), 0);
            int top = 0;
            for (int y = base; y < g.max.y; ++y)
                if (ink(b, {g.min.x, y, g.max.x, y + 1})) top = y - base + 1;
            EXPECT_EQ(top, capHeight ? capHeight : (capHeight = top)) << "capitals' height";
        }
    }
    EXPECT_EQ(glyphs, count);
    // The last glyph ends its line with the second marker, and no line above holds anything.
    EXPECT_EQ(b.pixelColor({last.max.x + 1, last.min.y}), Pixel(255, 0, 0, 255));
    EXPECT_EQ(ink(b, {last.max.x + 2, last.min.y, b.w(), last.max.y}), 0);
    EXPECT_EQ(ink(b, {0, last.max.y, b.w(), b.h()}), 0);
}

} // namespace

TEST_F(Pictures, EveryNamedImageCutsVisiblePixelsInsideItsPicture) {
    for (const auto& [name, image] : game.images) {
        SCOPED_TRACE(name);
        const Pyrane::Bitmap& b = image->bitmap();
        const Box& box = image->bitmapBox();
        EXPECT_LE(box.max.x, b.w());
        EXPECT_LE(box.max.y, b.h());
        int inked = ink(b, box);
        EXPECT_GT(inked, 0);
        // A sprite solid all over would show as a plain square; boxes and tiles are meant to.
        if (!name.starts_with("box_") && !name.starts_with("back_") && name != "bullet") {
            EXPECT_LT(inked, (box.max.x - box.min.x) * (box.max.y - box.min.y));
        }
    }
    EXPECT_GE(bitmapOf("player").pixelColor({4, 4}).a, 100) << "the ship's middle is solid";
    const Pyrane::Bitmap& boxes = bitmapOf("box_1x1");
    for (int y = 0; y < boxes.h(); ++y)
        for (int x = 0; x < boxes.w(); ++x)
            ASSERT_EQ(boxes.pixelColor({x, y}), Pixel(255, 255, 255, 255)) << "box picture";
}

TEST_F(Pictures, FontsHaveAGlyphForEachOfTheirCharacters) {
    checkFont(*game.font, 93);
    checkFont(*game.smallFont, 81);
}

// Puts the four quarters "rhomb_n_a" to "rhomb_n_d" together at their hot spots, reading
// rows below the picture as the clamped texture does, and checks for a diamond.
TEST_F(Pictures, RhombQuartersOfEverySizeMakeASymmetricDiamond) {
    const Pyrane::Bitmap& b = bitmapOf("rhomb_2_a");
    for (int n = 2; n <= 15; ++n) {
        const int k = n + 1;
        SCOPED_TRACE("size " + std::to_string(n));
        // Per pixel around the hot spot: quarters covering it, plus 100 for an empty pixel.
        std::map<std::pair<int, int>, int> cover;
        for (char quarter : {'a', 'b', 'c', 'd'}) {
            const Pyrane::Image& image =
                *game.images.at("rhomb_" + std::to_string(n) + "_" + quarter);
            const Box& box = image.bitmapBox();
            for (int y = box.min.y; y < box.max.y; ++y)
                for (int x = box.min.x; x < box.max.x; ++x)
                    cover[{x - box.min.x - image.pivot().x, y - box.min.y - image.pivot().y}] +=
                        b.pixelColor({x, std::max(y, 0)}).a >= 100 ? 1 : 101;
        }
        for (int ay = -k; ay < k; ++ay)
            for (int ax = -k; ax <= k; ++ax)
                ASSERT_EQ(cover[std::pair(ax, ay)] % 100, 1) << "overlap or gap";
        auto filled = [&](int ax, int ay) { return cover[{ax, ay}] == 1; };
        int previousHalf = k + 1;
        for (int ay = 0; ay < k; ++ay) {
            // Row ay above the middle line mirrors row -1 - ay below it, each row is one
            // unbroken run centred on column 0, and the runs narrow towards the tips.
            int half = -1;
            for (int ax = -k; ax <= k; ++ax) {
                EXPECT_EQ(filled(ax, ay), filled(ax, -1 - ay));
                EXPECT_EQ(filled(ax, ay), filled(-ax, ay));
                if (filled(ax, ay)) half = std::max(half, ax);
            }
            ASSERT_GE(half, 0) << "row " << ay << " is empty";
            for (int ax = -half; ax <= half; ++ax)
                EXPECT_TRUE(filled(ax, ay));
            EXPECT_LE(half, previousHalf);
            previousHalf = half;
        }
        EXPECT_LE(previousHalf, 2) << "the tips are pointed";
    }
}
