// A scrolling background layer: its rows as they are made and dropped, and the
// picture it draws into the 160 x 100 field.
#include "tarvex/background.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

#include "pyrane/image.h"
#include "support/gamesession.h"

using Tarvex::Background;
using TestSupport::Pixel;

namespace {

// A layer as the play state sets it up, with stand-in images (rows alone need none)
// and the rows' generator seeded.
Background layer(int tileSize, int tileCount, float speed) {
    Background b;
    b._tileSize = tileSize;
    b._tileCount = tileCount;
    b._tiles.assign(tileCount, nullptr);
    b._speed = speed;
    Background::generator().seed(tileSize * tileCount);
    return b;
}

// The rows follow each other one tile apart and reach from at or below the bottom of
// the view to at least its top.
void expectCoversView(const Background& b) {
    ASSERT_EQ(b._rowCount, int(b._rows.size()));
    ASSERT_FALSE(b._rows.empty());
    float y = b._rows.front().y;
    for (const Background::Row& row : b._rows)
        ASSERT_EQ(row.y, std::exchange(y, y + b._tileSize));
    EXPECT_LE(b._rows.front().y, std::trunc(b._offset.y));
    EXPECT_GE(b._rows.back().y + b._tileSize, b._offset.y + 100);
}

TEST(Background, RowsCoverTheFieldOldOnesFallOutAndHalfTheCellsHoldTilesMostlyImageZero) {
    for (auto [size, count] : {std::pair{16, 7}, {10, 6}}) {
        Background b = layer(size, count, 100);
        b.animate(0);
        ASSERT_NO_FATAL_FAILURE(expectCoversView(b));
        EXPECT_EQ(std::pair(b._rows.front().y, b._rows.back().y),
                  std::pair(0.f, size == 16 ? 96.f : 100.f));
        int cells = 0, tiles = 0;
        std::map<int, int> uses;
        for (int frame = 0; frame < 20000; ++frame) {
            const float newest = b._rows.back().y;
            b.animate(frame % 7 * 0.01);
            ASSERT_LE(b._rowCount, 160 / size + 1);
            ASSERT_NO_FATAL_FAILURE(expectCoversView(b)) << size;
            for (auto row = b._rows.rbegin(); row->y > newest; ++row) {
                cells += 160 / size;
                tiles += int(row->xs.size());
                for (int k : row->tileIndex)
                    ++uses[k];
            }
        }
        EXPECT_NEAR(double(tiles) / cells, 0.5, 0.01) << size;
        ASSERT_EQ(int(uses.size()), count);
        EXPECT_EQ(uses.rbegin()->first, count - 1);
        // Image 0 has 6 chances in count + 5, every other image one.
        EXPECT_NEAR(double(uses[0]) / tiles, 6.0 / (count + 5), 0.01) << size;
        EXPECT_NEAR(double(uses[1]) / tiles, 1.0 / (count + 5), 0.01) << size;
        // Clearing starts afresh from the bottom.
        b.clear();
        b.animate(0);
        EXPECT_EQ(b._rows.front().y, 0);
    }
}

// Solid white 16-pixel tiles drawn over black come out dark grey, 0.3 (76 or 77,
// depending on the rounding), exactly where the rows put them, whatever colour was
// current before; they move down in whole pixels, 70 of them in a second at speed 70.
TEST(Background, DrawsDimmedTilesWhereTheRowsPutThemAndScrollsInWholePixels) {
    TestSupport::startGame();
    Pyrane::Image tile(*game.bitmapManager.get("full32x32.png"), Vell::AABB2<int>(0, 0, 16, 16),
                       Vector2<int>(0, 0), true);
    Background b = layer(16, 1, 70);
    b._tiles = {&tile};
    auto draw = [&] {
        game.beginPicture();
        game.renderer.color(0, 0, 0, 1);
        game.renderer.clear();
        game.renderer.color(0.5f, 0.2f, 1, 1);
        b.draw();
        return TestSupport::readPicture(game.renderer);
    };

    b.animate(0);
    const std::vector<Pixel> first = draw();
    int wrong = 0, tiles = 0;
    for (int i = 0; i < 160 * 100; ++i) {
        const int x = i % 160, y = i / 160;
        bool covered = false;
        for (const Background::Row& row : b._rows)
            for (float tx : row.xs)
                covered |= x >= tx && x < tx + 16 && y >= row.y && y < row.y + 16;
        const Pixel p = first[i];
        tiles += covered;
        wrong +=
            covered ? p.r < 76 || p.r > 77 || p.g != p.r || p.b != p.r : p != Pixel{0, 0, 0, 255};
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(tiles, 4000);

    for (int i = 0; i < 8; ++i)
        b.animate(0.125);
    ASSERT_EQ(b._offset.y, 70);
    const std::vector<Pixel> after = draw();
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + 30 * 160, first.begin() + 70 * 160));
    b.animate(0.01); // 0.7 pixels more: not yet a whole one
    EXPECT_EQ(draw(), after);
}

} // namespace
