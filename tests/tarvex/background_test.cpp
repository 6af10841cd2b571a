// A scrolling background layer: its rows as they are made and dropped, and the
// picture it draws into the 160 x 100 field.
#include "tarvex/background.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "pyrane/image.h"
#include "support/gamesession.h"
#include "tarvex/game.h"

using Tarvex::Background;
using TestSupport::Pixel;

namespace {

// A layer as the play state sets it up, with stand-in images (rows alone need none).
Background layer(int tileSize, int tileCount, float speed) {
    Background b;
    b._tileSize = tileSize;
    b._tileCount = tileCount;
    b._tiles.assign(tileCount, nullptr);
    b._speed = speed;
    return b;
}

// The rows follow each other one tile apart and reach from at or below the bottom of
// the view to at least its top.
void expectCoversView(const Background& b) {
    ASSERT_FALSE(b._rows.empty());
    EXPECT_EQ(b._rowCount, int(b._rows.size()));
    float previous = b._rows.front().y - b._tileSize;
    for (const Background::Row& row : b._rows) {
        EXPECT_EQ(row.y, previous + b._tileSize);
        previous = row.y;
    }
    EXPECT_LE(b._rows.front().y, std::trunc(b._offset.y));
    EXPECT_GE(b._rows.back().y + b._tileSize, b._offset.y + 100);
}

TEST(Background, FirstUpdateFillsTheFieldFromBottomToTop) {
    Background::generator().seed(1);
    for (int size : {16, 10}) {
        SCOPED_TRACE(size);
        Background b = layer(size, 6, 70);
        b.animate(0);
        expectCoversView(b);
        EXPECT_EQ(b._rows.front().y, 0);
        EXPECT_EQ(b._rows.back().y, size == 16 ? 96 : 100);

        // Clearing starts afresh from the bottom and keeps the tiles.
        b.animate(3.3);
        b.clear();
        EXPECT_EQ(b._rowCount, 0);
        EXPECT_EQ(b._offset.y, 0);
        EXPECT_EQ(b._tiles.size(), 6u);
        b.animate(0);
        EXPECT_EQ(b._rows.front().y, 0);
    }
}

TEST(Background, RowsFollowTheScrollAndOldOnesFallOut) {
    Background::generator().seed(2);
    for (int size : {16, 10}) {
        SCOPED_TRACE(size);
        Background b = layer(size, 7, 33);
        const int columns = 160 / size;
        double seconds = 0;
        for (int frame = 0; frame < 2000; ++frame) {
            b.animate(frame % 7 * 0.01);
            seconds += frame % 7 * 0.01;
            ASSERT_LE(b._rowCount, columns + 1);
            ASSERT_NO_FATAL_FAILURE(expectCoversView(b));
        }
        EXPECT_EQ(b._rowCount, columns + 1);
        EXPECT_NEAR(b._offset.y, 33 * seconds, 0.5);
    }
}

TEST(Background, AboutHalfTheCellsAreFilledAndImageZeroIsFavoured) {
    Background::generator().seed(3);
    for (int count : {7, 6}) {
        SCOPED_TRACE(count);
        Background b = layer(10, count, 100);
        int cells = 0, tiles = 0;
        std::map<int, int> uses;
        for (int i = 0; i < 20000; ++i) {
            float newest = b._rows.empty() ? -1e9f : b._rows.back().y;
            b.animate(0.1);
            for (const Background::Row& row : b._rows) {
                if (row.y <= newest) continue;
                cells += 16;
                tiles += int(row.xs.size());
                ASSERT_EQ(row.xs.size(), row.tileIndex.size());
                for (std::size_t t = 0; t < row.xs.size(); ++t) {
                    ++uses[row.tileIndex[t]];
                    EXPECT_EQ(std::fmod(row.xs[t], 10.0f), 0);
                    EXPECT_LT(row.xs[t], 160);
                    if (t) {
                        EXPECT_LT(row.xs[t - 1], row.xs[t]);
                    }
                }
            }
        }
        EXPECT_NEAR(double(tiles) / cells, 0.5, 0.01);
        ASSERT_EQ(int(uses.size()), count);
        EXPECT_EQ(uses.begin()->first, 0);
        EXPECT_EQ(uses.rbegin()->first, count - 1);
        EXPECT_NEAR(double(uses[0]) / tiles, 6.0 / (count + 5), 0.01);
        EXPECT_NEAR(double(uses[1]) / tiles, 1.0 / (count + 5), 0.01);
    }
}

// Drawing: a layer of solid white 16-pixel tiles over black, read straight from the
// 160 x 100 corner of the back buffer.
class BackgroundPicture : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::startGame();
        Pyrane::Bitmap& white = *game.bitmapManager.get("full32x32.png");
        _tile = std::make_unique<Pyrane::Image>(white, Vell::AABB2<int>(0, 0, 16, 16),
                                                Vector2<int>(0, 0), true);
        _layer = layer(16, 1, 70);
        _layer._tiles = {_tile.get()};
    }

    std::vector<Pixel> draw(const RGBA<float>& colour) {
        Pyrane::Renderer2D& r = game.renderer;
        r.vport(Vell::AABB2<int>(0, 0, 160, 100));
        r.color(0, 0, 0, 1);
        r.clear();
        r.color(colour);
        _layer.draw();
        return TestSupport::readPixels(0, 0, 160, 100);
    }

    // Whether the cell of the field at (x, y) holds a tile, from the layer's rows.
    bool tileAt(int x, int y) const {
        float sy = y + std::trunc(_layer._offset.y);
        for (const Background::Row& row : _layer._rows)
            for (float tx : row.xs)
                if (x >= tx && x < tx + 16 && sy >= row.y && sy < row.y + 16) return true;
        return false;
    }

    std::unique_ptr<Pyrane::Image> _tile;
    Background _layer;
};

TEST_F(BackgroundPicture, TilesAreDrawnDimmedWhereTheRowsPutThem) {
    Background::generator().seed(4);
    _layer.animate(0);
    // White tiles under white come out at 0.3: 76 or 77 depending on the rounding.
    std::vector<Pixel> picture = draw({1, 1, 1, 1});
    const Pixel black{0, 0, 0, 255};
    int wrong = 0, tiles = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 160; ++x) {
            const Pixel& p = picture[y * 160 + x];
            bool tile = tileAt(x, y);
            tiles += tile;
            wrong += tile ? p.r < 76 || p.r > 77 || p.g != p.r || p.b != p.r : p != black;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(tiles, 4000);

    // Under a cyan drawing colour the tiles are a dark cyan.
    picture = draw({0, 1, 1, 1});
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 160; ++x) {
            const Pixel& p = picture[y * 160 + x];
            if (tileAt(x, y)) {
                ASSERT_TRUE(p.r == 0 && p.g >= 76 && p.g <= 77 && p.b == p.g);
            }
        }
    }
}

TEST_F(BackgroundPicture, OneSecondAtSpeed70MovesEveryRowDown70Pixels) {
    Background::generator().seed(5);
    _layer.animate(0);
    std::vector<Pixel> before = draw({1, 1, 1, 1});
    for (int i = 0; i < 8; ++i)
        _layer.animate(0.125);
    EXPECT_FLOAT_EQ(_layer._offset.y, 70);
    std::vector<Pixel> after = draw({1, 1, 1, 1});
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 160; ++x)
            ASSERT_EQ(after[y * 160 + x], before[(y + 70) * 160 + x]) << x << "," << y;
}

TEST_F(BackgroundPicture, ScrollsInWholePixelsAndStandsStillWithoutTime) {
    Background::generator().seed(6);
    _layer.animate(0.01); // 0.7 pixels: not yet a whole one
    std::vector<Pixel> first = draw({1, 1, 1, 1});
    _layer.animate(0);
    EXPECT_EQ(draw({1, 1, 1, 1}), first);
    _layer.animate(0.005); // 1.05 pixels
    std::vector<Pixel> moved = draw({1, 1, 1, 1});
    for (int y = 0; y < 99; ++y)
        for (int x = 0; x < 160; ++x)
            ASSERT_EQ(moved[y * 160 + x], first[(y + 1) * 160 + x]);
}

} // namespace
