#include "pyrane/polyline.h"

#include <GL/gl.h>

#include <cmath>

#include "enginetest.h"

namespace {

using Strip = std::vector<V>;

bool finite(const Strip& strip) {
    for (const V& v : strip)
        if (!std::isfinite(v.x) || !std::isfinite(v.y)) return false;
    return true;
}

} // namespace

TEST(TexturedPolyLine, TheRibbonStandsAcrossTheLineAndEachPointCarriesTheLengthToItsNext) {
    TexturedPolyLine line;
    line.addPoint(0, 0).addPoint(V(10, 0)).addPoint(20, 0);
    EXPECT_EQ(line.quadStrip(), (Strip{{1, 0},
                                       {0, 8},
                                       {1, 1},
                                       {0, -8},
                                       {2, 0},
                                       {10, 8},
                                       {2, 1},
                                       {10, -8},
                                       {2, 0},
                                       {20, 8},
                                       {2, 1},
                                       {20, -8}}));
    EXPECT_EQ(line.lengths(), (std::vector<float>{10, 20, 20}));

    // At a corner the ribbon takes the mean of the two directions.
    TexturedPolyLine corner;
    corner.addPoint(0, 0).addPoint(10, 0).addPoint(10, 10);
    const float r = std::sqrt(0.5f);
    EXPECT_NEAR(corner.directions()[1].x, r, 1e-6);
    EXPECT_NEAR(corner.directions()[1].y, r, 1e-6);
    EXPECT_NEAR(corner.quadStrip()[5].x, 10 - 8 * r, 1e-5);
    EXPECT_NEAR(corner.quadStrip()[5].y, 8 * r, 1e-5);
    EXPECT_EQ(corner.normals()[2], V(-1, 0));
}

TEST(TexturedPolyLine, SettingsWaitForTheNextPointAndClearingKeepsTheRibbon) {
    TexturedPolyLine line;
    line.addPoint(0, 0).addPoint(10, 0);
    line.width(4);
    line.textureTileLength(5);
    EXPECT_EQ(line.quadStrip()[1], V(0, 8));
    // Through the base class too.
    PolyLine& base = line;
    base.addPoint(30, 0);
    EXPECT_EQ(line.quadStrip()[0], V(2, 0));
    EXPECT_EQ(line.quadStrip()[1], V(0, 2));
    EXPECT_EQ(line.quadStrip().size(), 12u);

    line.clear();
    EXPECT_TRUE(line.points().empty());
    EXPECT_EQ(line.quadStrip().size(), 12u);
    line.addPoint(5, 5);
    EXPECT_EQ(line.quadStrip().size(), 4u);
}

TEST(TexturedPolyLine, LonePointsAndFoldsGetADirectionInsteadOfNaN) {
    struct Case {
        Strip points;
        std::size_t at;
        V direction;
    };
    // A fold turns across the segment that arrives there; a lone point faces +x.
    for (const Case& c :
         {Case{{{5, 5}}, 0, {1, 0}}, Case{{{3, 3}, {3, 3}}, 1, {1, 0}},
          Case{{{0, 0}, {10, 0}, {0, 0}}, 1, {1, 0}}, Case{{{0, 0}, {0, 10}, {0, 0}}, 1, {0, 1}},
          Case{{{0, 0}, {0, 10}, {0, 0}}, 2, {0, -1}}}) {
        TexturedPolyLine line;
        for (const V& p : c.points)
            line.addPoint(p);
        EXPECT_TRUE(finite(line.quadStrip()));
        EXPECT_EQ(line.directions()[c.at], c.direction) << c.points.size() << " " << c.at;
        EXPECT_EQ(line.normals()[c.at], V(-c.direction.y, c.direction.x));
    }
}

using PolyLineDrawTest = EngineTest;

TEST_F(PolyLineDrawTest, APolyLineIsDrawnUntexturedInTheCurrentColourAndTexturingIsLeftAsFound) {
    auto green = solid("green.png", Colour(0, 255, 0, 255));
    PolyLine line;
    line.addPoint(10.5f, 10.5f).addPoint(60.5f, 10.5f).addPoint(60.5f, 40.5f);
    for (bool enabled : {true, false}) {
        clear(black);
        // A texture left on would colour the line green times red: black.
        renderer.bindTexture(int(green->texID()));
        enabled ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        renderer.color(1, 0, 0, 1);
        renderer.drawPolyLine(line);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), enabled);
        EXPECT_EQ(count(10, 10, 50, 1, red) + count(60, 10, 1, 30, red), 80) << enabled;
        EXPECT_EQ(count(0, 0, 160, 100, red), 80) << enabled;
    }
}

TEST_F(PolyLineDrawTest, ATexturedRibbonShowsItsBitmapOrTheCurrentColourAndLeavesTexturingAsFound) {
    // Upper rows red, lower rows blue; the ribbon's left edge (texture row 0, the
    // picture's bottom) is blue, so a line to the right shows blue above red.
    auto bitmap = load("halves.png", 16, 16, [](int, int row) {
        return row < 8 ? Colour(255, 0, 0, 255) : Colour(0, 0, 255, 255);
    });
    TexturedPolyLine line;
    line.textureBitmap(bitmap.get());
    line.addPoint(20, 50).addPoint(100, 50);
    for (bool enabled : {true, false}) {
        clear(black);
        enabled ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        renderer.drawTexturedPolyLine(line);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), enabled);
        EXPECT_EQ(renderer.boundTexture(), int(bitmap->texID()));
        EXPECT_EQ(std::tuple(count(20, 50, 80, 8, blue), count(20, 42, 80, 8, red),
                             count(0, 0, 160, 100, black)),
                  std::tuple(640, 640, 160 * 100 - 1280))
            << enabled;
    }

    line.textureBitmap(nullptr);
    for (bool enabled : {true, false}) {
        clear(black);
        enabled ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        renderer.color(0, 1, 0, 1);
        renderer.drawTexturedPolyLine(line);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), enabled);
        EXPECT_EQ(count(20, 42, 80, 16, green), 1280) << enabled;
    }
}
