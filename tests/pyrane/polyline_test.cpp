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
