// The generated pictures against what the game cuts from them: every named image and
// animation frame holds a sensible, visible part of its picture.
#include <gtest/gtest.h>
#include <map>
#include <string>

#include "assetpicture.h"
#include "pyrane/image.h"
#include "pyrane/imagesequence.h"

using AssetTest::Box;
using AssetTest::Picture;

namespace {

const Picture& picture(const std::string& name) {
    static std::map<std::string, Picture> loaded;
    auto it = loaded.find(name);
    if (it == loaded.end()) it = loaded.emplace(name, Picture("bitmaps/" + name + ".png")).first;
    return it->second;
}

struct NamedImage {
    std::string name, file;
    Box box;
    int hotX, hotY;
};

// The game's fixed images and tiles, as its start-up cuts them.
std::vector<NamedImage> namedImages() {
    std::vector<NamedImage> images = {
        {"player", "player", {0, 0, 9, 9}, 4, 4},
        {"shield", "shield", {0, 0, 16, 16}, 8, 8},
        {"bullet", "bullet", {0, 0, 2, 2}, 1, 1},
        {"logo", "logo_black", {0, 0, 118, 38}, 59, 19},
        {"box_1x12", "full32x32", {0, 0, 1, 12}, 0, 6},
        {"box_16x16", "full32x32", {0, 0, 16, 16}, 8, 8},
        {"cross_2_4x4", "cross_2", {12, 12, 19, 19}, 3, 3},
        {"cross_1_4x4", "cross_1", {12, 12, 19, 19}, 3, 3},
        {"cross_1_2x2", "cross_1", {14, 14, 17, 17}, 3, 3},
    };
    for (int i = 1; i <= 6; ++i) {
        images.push_back(
            {"back_10_" + std::to_string(i), "background", {10 * (i - 1), 0, 10 * i, 10}, 0, 0});
        images.push_back({"back_10_" + std::to_string(i) + "b",
                          "background",
                          {10 * (i - 1), 10, 10 * i, 20},
                          0,
                          0});
    }
    for (int i = 1; i <= 4; ++i)
        images.push_back(
            {"back_16_" + std::to_string(i), "background", {16 * (i - 1), 20, 16 * i, 36}, 0, 0});
    for (int i = 5; i <= 7; ++i)
        images.push_back({"back_16_" + std::to_string(i),
                          "background",
                          {16 * (i - 5), 36, 16 * (i - 4), 52},
                          0,
                          0});
    return images;
}

} // namespace

TEST(Pictures, EveryPictureLoadsAsPowerOfTwoRgba) {
    for (const char* name :
         {"player", "shield", "bullet", "logo_black", "full32x32", "cross_1", "cross_2", "rhomb",
          "background", "bomb_black", "bomb_white", "pow_fire", "font", "font_small"})
        EXPECT_NO_THROW(picture(name)) << name;
}

TEST(Pictures, EveryNamedImageCutsVisiblePixelsInsideItsPicture) {
    for (const NamedImage& image : namedImages()) {
        const Picture& p = picture(image.file);
        SCOPED_TRACE(image.name);
        EXPECT_LE(image.box.x1, p.width());
        EXPECT_LE(image.box.y1, p.height());
        int area = (image.box.x1 - image.box.x0) * (image.box.y1 - image.box.y0);
        int ink = p.ink(image.box);
        EXPECT_GT(ink, 0);
        // A tile or sprite that is solid all over would show as a plain square.
        if (image.file != "full32x32" && image.file != "background" && image.file != "bullet") {
            EXPECT_LT(ink, area);
        }
    }
}

TEST(Pictures, BoxesAreOpaqueWhite) {
    const Picture& p = picture("full32x32");
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(p.at(x, y), (AssetTest::Pixel{255, 255, 255, 255}));
}

TEST(Pictures, ShipIsSymmetricAroundItsHotSpotAndSolidThere) {
    const Picture& p = picture("player");
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(p.at(x, y), p.at(8 - x, y)) << x << "," << y;
    EXPECT_GE(p.at(4, 4).a, 100); // the collision mask has the middle of the ship
    EXPECT_EQ(p.ink({0, 0, 16, 16}), p.ink({0, 0, 9, 9})) << "nothing outside the cut";
}

TEST(Pictures, CrossesAreCentredOnTheirCutsAndTheSmallCutIsAPlus) {
    for (const char* name : {"cross_1", "cross_2"}) {
        const Picture& p = picture(name);
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                EXPECT_EQ(p.at(15 + dx, 15 + dy).a, p.at(15 - dx, 15 + dy).a) << name;
                EXPECT_EQ(p.at(15 + dx, 15 + dy).a, p.at(15 + dx, 15 - dy).a) << name;
            }
        EXPECT_EQ(p.ink({0, 0, 32, 32}), p.ink({12, 12, 19, 19})) << name;
    }
    const Picture& p = picture("cross_1");
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            EXPECT_EQ(p.at(15 + dx, 15 + dy).a > 0, dx == 0 || dy == 0) << dx << "," << dy;
}

// Puts the four quarters "rhomb_n_a" to "rhomb_n_d" together at their hot spots, reading
// rows below the picture as the clamped texture does, and checks for a diamond.
TEST(Pictures, RhombQuartersOfEverySizeMakeASymmetricDiamond) {
    const Picture& p = picture("rhomb");
    auto solid = [&](int x, int y) { return p.at(x, y < 0 ? 0 : y).a >= 100; };
    for (int n = 2; n <= 15; ++n) {
        const int k = n + 1;
        SCOPED_TRACE("size " + std::to_string(n));
        // Assembled grid: columns -k..k around the hot spot column, rows -k..k-1.
        std::map<std::pair<int, int>, int> cover;
        auto place = [&](Box box, int hotX, int hotY) {
            for (int y = box.y0; y < box.y1; ++y)
                for (int x = box.x0; x < box.x1; ++x) {
                    int ax = x - box.x0 - hotX, ay = y - box.y0 - hotY;
                    cover[{ax, ay}] += 1;
                    if (!solid(x, y)) cover[{ax, ay}] += 100; // marks an empty pixel
                }
        };
        place({0, 16, k, 16 + k}, k, 0);
        place({31 - k, 16, 32, 16 + k}, 0, 0);
        place({0, 15 - k, k, 15}, k, k);
        place({31 - k, 15 - k, 32, 15}, 0, k);
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
        EXPECT_EQ(previousHalf <= 2, true) << "the tips are pointed";
    }
}

TEST(Pictures, QuietTileOfEachSetIsTheFaintest) {
    const Picture& p = picture("background");
    auto weight = [&](Box box) {
        int sum = 0;
        for (int y = box.y0; y < box.y1; ++y)
            for (int x = box.x0; x < box.x1; ++x)
                sum += p.at(x, y).a;
        return sum;
    };
    for (int row : {0, 10}) {
        for (int i = 1; i < 6; ++i)
            EXPECT_LT(weight({0, row, 10, row + 10}), weight({10 * i, row, 10 * i + 10, row + 10}))
                << "10-pixel tile " << i << " of the set at row " << row;
    }
    std::vector<Box> big = {{16, 20, 32, 36}, {32, 20, 48, 36}, {48, 20, 64, 36},
                            {0, 36, 16, 52},  {16, 36, 32, 52}, {32, 36, 48, 52}};
    for (const Box& b : big)
        EXPECT_LT(weight({0, 20, 16, 36}), weight(b)) << b.x0 << "," << b.y0;
}

TEST(Pictures, AnimationFramesAreDrawnWithinTheirCutAndDiffer) {
    for (const char* name : {"bomb_black", "bomb_white", "pow_fire"}) {
        const Picture& p = picture(name);
        SCOPED_TRACE(name);
        // Cut as the game cuts its power-up animations: 16 x 16 cells, at most 4 frames.
        Pyrane::ImageSequence sequence(p.bitmap(), 16, 16, 0, 0, 4);
        ASSERT_EQ(sequence.count(), 4);
        int total = 0;
        for (int f = 0; f < 4; ++f) {
            const auto& box = sequence.image(f)->bitmapBox();
            Box frame{box.min.x, box.min.y, box.max.x, box.max.y};
            EXPECT_GT(p.ink(frame), 40);
            total += p.ink(frame);
            bool differs = false;
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 15; ++x)
                    differs |= !(p.at(frame.x0 + x, y) == p.at(16 * ((f + 1) % 4) + x, y));
            EXPECT_TRUE(differs) << "frame " << f << " equals the next";
        }
        // Nothing lies outside the frames, which leave out their cell's last row and column.
        EXPECT_EQ(total, p.ink({0, 0, p.width(), p.height()}));
        sequence.destroyImages();
    }
}

TEST(Pictures, LogoHasDarkLettersWithALightRimInsideItsCut) {
    const Picture& p = picture("logo_black");
    int dark = 0, light = 0;
    for (int y = 0; y < 38; ++y)
        for (int x = 0; x < 118; ++x) {
            AssetTest::Pixel px = p.at(x, y);
            if (px.a == 255 && px.r < 40) ++dark;
            if (px.a == 255 && px.r > 200) ++light;
        }
    // Dark letters show on the cyan tiles, the light rim on the black ground.
    EXPECT_GT(dark, 600);
    EXPECT_GT(light, 300);
    EXPECT_EQ(p.ink({0, 0, p.width(), p.height()}), p.ink({0, 0, 118, 38}));
}
