#include "pyrane/font.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"
#include "support/fontpicture.h"
#include "support/glwindow.h"
#include "support/tempdir.h"

using Pyrane::Font;
using Pyrane::Renderer2D;
using TestSupport::Pixel;

namespace {

class FontTest : public ::testing::Test {
protected:
    FontTest() {
        TestSupport::app();
        renderer.textureFilter(Renderer2D::NEAREST);
        TestSupport::writeFontPicture(dir.path("font.png"), TestSupport::threeGlyphFont());
    }

    std::unique_ptr<Font> makeFont(const std::string& characters, int spacing = 0) {
        return std::make_unique<Font>(dir.path("font.png"), characters, 2, 8, spacing, renderer,
                                      true);
    }

    Vector2<float> size(const std::string& text, const Font& font, Vector2<float> scale = {1, 1},
                        std::vector<float>* widths = nullptr) {
        Vector2<float> s;
        renderer.getTextSize(&s, widths, text, font, scale);
        return s;
    }

    // Prints white text on black and reads the pixels back.
    void print(Font& font, const std::string& text, Vector2<float> pos, Renderer2D::align h,
               Renderer2D::align v, Vector2<float> scale = {1, 1}) {
        renderer.color(0, 0, 0, 1);
        renderer.clear();
        renderer.color(1, 1, 1, 1);
        renderer.font(font);
        renderer.textAlign(h, v);
        renderer.print(text, pos, scale);
        glFinish();
    }

    // Whether the pixels from (x0, y0) to (x1, y1) inclusive all have colour `inside`
    // and the ring of pixels around them does not.
    static ::testing::AssertionResult block(int x0, int y0, int x1, int y1, Pixel inside) {
        for (int y = y0 - 1; y <= y1 + 1; ++y)
            for (int x = x0 - 1; x <= x1 + 1; ++x) {
                bool in = x >= x0 && x <= x1 && y >= y0 && y <= y1;
                Pixel p = TestSupport::readPixel(x, y);
                if (in != (p == inside))
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << ", " << y << ") is " << int(p.r) << "," << int(p.g)
                           << "," << int(p.b);
            }
        return ::testing::AssertionSuccess();
    }

    static constexpr Pixel white{255, 255, 255, 255};
    static constexpr Pixel green{0, 255, 0, 255};
    static constexpr Pixel blue{0, 0, 255, 255};

    TestSupport::TempDir dir;
    Renderer2D renderer{Vell::AABB2<int>(0, 0, 640, 400)};
};

} // namespace

TEST_F(FontTest, GlyphsAreCutBetweenMarkersFromTheBottomLineUp) {
    auto font = makeFont("ABCD");
    ASSERT_NE(font->charImage('A'), nullptr);
    ASSERT_NE(font->charImage('B'), nullptr);
    ASSERT_NE(font->charImage('C'), nullptr);
    ASSERT_NE(font->charImage('D'), nullptr);
    EXPECT_EQ(font->charImage('A')->bitmapBox(), Vell::AABB2<int>(0, 0, 3, 8));
    EXPECT_EQ(font->charImage('B')->bitmapBox(), Vell::AABB2<int>(4, 0, 8, 8));
    EXPECT_EQ(font->charImage('C')->bitmapBox(), Vell::AABB2<int>(9, 0, 11, 8));
    EXPECT_EQ(font->charImage('D')->bitmapBox(), Vell::AABB2<int>(0, 8, 5, 16));
    EXPECT_EQ(font->charImage('B')->pivot(), Vector2<int>(0, 2));
    EXPECT_EQ(font->charImage('a'), nullptr);
    EXPECT_EQ(font->charImage(' '), nullptr);
    EXPECT_EQ(font->charImage(0), nullptr);
    EXPECT_EQ(font->charHeight(), 8);
    EXPECT_EQ(font->baseline(), 2);
    EXPECT_NE(font->bitmap()->texID(), 0u);
}

TEST_F(FontTest, CharactersBeyondTheGlyphsGetNoneAndGlyphsBeyondTheCharactersAreUnused) {
    auto more = makeFont("ABCDE");
    EXPECT_EQ(more->charImage('E'), nullptr);
    auto fewer = makeFont("xy");
    EXPECT_EQ(fewer->charImage('x')->size().x, 3);
    EXPECT_EQ(fewer->charImage('y')->size().x, 4);
    EXPECT_EQ(fewer->charImage('A'), nullptr);
    // Codes above 127 are characters like any other.
    auto high = makeFont("\xe9\xff");
    EXPECT_EQ(high->charImage(0xff)->size().x, 4);
}

TEST_F(FontTest, TheRightEdgeEndsALine) {
    // Bottom rows of four lines 4 pixels high, lowest line first: the first runs to the
    // edge without a marker, the second has its marker in the last column; neither
    // makes an empty glyph for the next character.
    const std::vector<std::string> bottoms{"AAAAAAA#BBBBBBBB", "CCCCCCCCCCCCCCC#",
                                           "DDDDDDDD#EE##...", "FF#............."};
    std::vector<std::string> rows;
    for (auto line = bottoms.rbegin(); line != bottoms.rend(); ++line) {
        rows.insert(rows.end(), 3, std::string(16, '.'));
        rows.push_back(*line);
    }
    TestSupport::writeFontPicture(dir.path("edge.png"), rows);
    Font font(dir.path("edge.png"), "ABCDEF", 0, 4, 0, renderer, false);
    EXPECT_EQ(font.charImage('A')->size().x, 7);
    EXPECT_EQ(font.charImage('B')->size().x, 8);
    EXPECT_EQ(font.charImage('C')->size().x, 15);
    EXPECT_EQ(font.charImage('D')->size().x, 8);
    EXPECT_EQ(font.charImage('D')->bitmapPos(), Vector2<int>(0, 8));
    EXPECT_EQ(font.charImage('E')->bitmapPos(), Vector2<int>(9, 8));
    EXPECT_EQ(font.charImage('F')->size().x, 2);
    EXPECT_EQ(font.charImage('F')->bitmapPos(), Vector2<int>(0, 12));
    EXPECT_EQ(font.bitmap()->texID(), 0u);
}

TEST_F(FontTest, AMissingPictureIsAnError) {
    EXPECT_THROW(Font(dir.path("none.png"), "A", 0, 8, 0, renderer, true), std::runtime_error);
}

TEST_F(FontTest, MeasuresLinesWithSpacingLeadingAndScale) {
    auto font = makeFont("ABC", 1);
    EXPECT_EQ(size("AB", *font), Vector2<float>(9, 8));
    // Characters without a glyph take no room.
    EXPECT_EQ(size("AxB?", *font), Vector2<float>(9, 8));

    renderer.leading(2);
    std::vector<float> widths;
    // Each glyph: width x 2 plus the spacing 1 x 2; line advance (8 + 2) x 1.
    EXPECT_EQ(size("A\nBC", *font, {2, 1}, &widths), Vector2<float>(16, 18));
    EXPECT_EQ(widths, (std::vector<float>{8, 16}));

    widths.clear();
    EXPECT_EQ(size("", *font, {1, 3}, &widths), Vector2<float>(0, 24));
    EXPECT_EQ(widths, (std::vector<float>{0}));
    EXPECT_EQ(size("A\n", *font, {1, 1}, &widths), Vector2<float>(4, 18));
    renderer.getTextSize(nullptr, nullptr, "ABC", *font, {1, 1}); // both outputs optional
}

TEST_F(FontTest, PrintsLeftTopFromTheTopLeftCorner) {
    auto font = makeFont("ABC");
    print(*font, "A\nB", {100, 200}, Renderer2D::LEFT, Renderer2D::TOP);
    // A: baseline at 200 - (8 - 2) + 0.15, so its cell covers rows 192..199.
    EXPECT_TRUE(block(100, 192, 102, 199, white));
    // B one line lower, from x = 100.
    EXPECT_TRUE(block(100, 184, 103, 191, green));
}

TEST_F(FontTest, PrintSkipsMissingGlyphsAndAddsSpacing) {
    auto font = makeFont("ABC", 2);
    print(*font, "A?B", {100.7f, 200}, Renderer2D::LEFT, Renderer2D::TOP);
    // The first line starts at the truncated anchor.
    EXPECT_TRUE(block(100, 192, 102, 199, white));
    EXPECT_TRUE(block(105, 192, 108, 199, green));
}

TEST_F(FontTest, PrintCentresEachLineOnItsOwnWidth) {
    auto font = makeFont("ABC");
    print(*font, "A\nBC", {320.3f, 200}, Renderer2D::CENTER, Renderer2D::CENTER);
    // Block of two lines, 16 high, centred on y = 200; A 3 wide, BC 6 wide.
    EXPECT_TRUE(block(319, 200, 321, 207, white));
    EXPECT_TRUE(block(317, 192, 320, 199, green));
    EXPECT_TRUE(block(321, 192, 322, 199, blue));
}

TEST_F(FontTest, PrintRightBottomEndsAtTheAnchor) {
    auto font = makeFont("ABC");
    print(*font, "AB", {600.3f, 50}, Renderer2D::RIGHT, Renderer2D::BOTTOM);
    EXPECT_TRUE(block(593, 50, 595, 57, white));
    EXPECT_TRUE(block(596, 50, 599, 57, green));
}

TEST_F(FontTest, PrintScalesGlyphsAboutTheBaseline) {
    auto font = makeFont("ABC", 1);
    print(*font, "AB", {100, 300}, Renderer2D::LEFT, Renderer2D::TOP, {2, 2});
    // A: 6 x 16 below y = 300; B after A's width and the spacing, both scaled.
    EXPECT_TRUE(block(100, 284, 105, 299, white));
    EXPECT_TRUE(block(108, 284, 115, 299, green));
}

TEST_F(FontTest, PrintWithoutFontDrawsNothing) {
    Renderer2D fresh{Vell::AABB2<int>(0, 0, 640, 400)};
    fresh.color(0, 0, 0, 1);
    fresh.clear();
    fresh.color(1, 1, 1, 1);
    fresh.print("A", {100, 200}, {1, 1});
    EXPECT_EQ(TestSupport::readPixel(100, 195), (Pixel{0, 0, 0, 255}));
}
