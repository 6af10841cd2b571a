// Fonts cut from their pictures, measured and printed. Text sprites, the title's prompt
// and credits, the menu's tests check as the player sees them.
#include "pyrane/font.h"

#include <memory>

#include "enginetest.h"

namespace {

// Writes a font picture of lines 4 pixels high, given by their bottom rows from the lowest
// line up, the glyphs filling the rows above: '#' the pure red marker in the bottom row,
// '.' transparent, 'B' green, 'C' blue, anything else white.
std::string writeFont(const std::string& path, const std::vector<std::string>& bottoms) {
    const int lines = int(bottoms.size());
    TestSupport::writePng(path, int(bottoms[0].size()), lines * 4, [&](int x, int row) {
        const char c = bottoms[lines - 1 - row / 4][x];
        if (c == '#') return row % 4 == 3 ? Colour(255, 0, 0, 255) : Colour();
        return c == '.'   ? Colour()
               : c == 'B' ? Colour(0, 255, 0, 255)
               : c == 'C' ? Colour(0, 0, 255, 255)
                          : Colour(255, 255, 255, 255);
    });
    return path;
}

// A font with lines 4 high and baseline 1: at the bottom A (3 wide), B (4) and C (2), each
// followed by a marker and the line ended by a second one; above it character 255 (5).
class FontTest : public EngineTest {
protected:
    Vector2<float> size(const std::string& text, V scale = {1, 1},
                        std::vector<float>* widths = nullptr) {
        Vector2<float> s;
        renderer.getTextSize(&s, widths, text, *font, scale);
        return s;
    }
    // Whether exactly the pixels of box (corners included) and none around it have colour c.
    static bool block(Box b, Rgb c) {
        const int w = b.max.x - b.min.x + 1, h = b.max.y - b.min.y + 1;
        return count(b.min.x, b.min.y, w, h, c) == w * h &&
               count(b.min.x - 1, b.min.y - 1, w + 2, h + 2, c) == w * h;
    }

    // Letter spacing 1; E has no glyph.
    std::unique_ptr<Font> font = std::make_unique<Font>(
        writeFont(dir.path("font.png"), {"AAA#BBBB#CC##...", "DDDDD##........."}),
        std::string("ABC\xff") + "E", 1, 4, 1, renderer, true);
};

} // namespace

TEST_F(FontTest, GlyphsAreCutBetweenMarkersFromTheBottomLineUp) {
    EXPECT_EQ(font->charImage('A')->bitmapBox(), Box(0, 0, 3, 4));
    EXPECT_EQ(font->charImage('B')->bitmapBox(), Box(4, 0, 8, 4));
    EXPECT_EQ(font->charImage('C')->bitmapBox(), Box(9, 0, 11, 4));
    EXPECT_EQ(font->charImage(0xff)->bitmapBox(), Box(0, 4, 5, 8));
    EXPECT_EQ(font->charImage('B')->pivot(), Vector2<int>(0, 1));
    for (unsigned char none : {'E', 'D', 'a', '\0'})
        EXPECT_EQ(font->charImage(none), nullptr) << none;
    EXPECT_NE(font->bitmap()->texID(), 0u);

    // The right edge ends a line, with or without a marker in the last column, and
    // makes no empty glyph for the next character.
    Font edge(writeFont(dir.path("edge.png"), {"AAAAAAA#BBBBBBBB", "CCCCCCCCCCCCCCC#",
                                               "DDDDDDDD#EE##...", "FF#............."}),
              "ABCDEF", 0, 4, 0, renderer, false);
    std::vector<int> cuts; // left, bottom and width of each glyph
    for (char c : std::string("ABCDEF")) {
        const Image* glyph = edge.charImage(c);
        cuts.insert(cuts.end(), {glyph->bitmapPos().x, glyph->bitmapPos().y, glyph->size().x});
    }
    EXPECT_EQ(cuts, (std::vector<int>{0, 0, 7, 8, 0, 8, 0, 4, 15, 0, 8, 8, 9, 8, 2, 0, 12, 2}));
}

TEST_F(FontTest, MeasuresLinesWithSpacingLeadingAndScale) {
    // Characters without a glyph take no room; the spacing follows every glyph.
    EXPECT_EQ(size("AxB?"), V(9, 4));
    renderer.leading(2);
    std::vector<float> widths;
    // Each glyph: width x 2 plus the spacing 1 x 2; line advance (4 + 2) x 1.
    EXPECT_EQ(size("A\nBC", {2, 1}, &widths), V(16, 10));
    EXPECT_EQ(widths, (std::vector<float>{8, 16}));
    widths.clear();
    EXPECT_EQ(size("", {1, 3}, &widths), V(0, 12));
    EXPECT_EQ(widths, (std::vector<float>{0}));
}

TEST_F(FontTest, PrintsEachLineFromItsAlignedStart) {
    renderer.font(*font);
    // Prints text and checks that exactly the given boxes (corners included) show the
    // given colours.
    auto print = [&](const char* text, V pos, Renderer2D::align h, Renderer2D::align v, float scale,
                     const std::vector<std::pair<Box, Rgb>>& glyphs) {
        clear(black);
        renderer.textAlign(h, v);
        renderer.print(text, pos, {scale, scale});
        for (const auto& [box, colour] : glyphs)
            EXPECT_TRUE(block(box, colour))
                << text << " at " << pos.x << ": glyph at " << box.min.x << ", " << box.min.y;
    };
    // The baseline at 80 - (4 - 1) + 0.15 from the truncated anchor; the next line one
    // advance lower from the anchor itself, no room taken by the missing glyph.
    print("A\n?B", {20.7f, 80}, Renderer2D::LEFT, Renderer2D::TOP, 1,
          {{{20, 76, 22, 79}, white}, {{21, 72, 24, 75}, green}});
    // Each line centred on its own width, the block of two lines on y = 50.
    print("A\nBC", {80.3f, 50}, Renderer2D::CENTER, Renderer2D::CENTER, 1,
          {{{78, 50, 80, 53}, white}, {{76, 46, 79, 49}, green}, {{81, 46, 82, 49}, blue}});
    print("AB", {150.3f, 20}, Renderer2D::RIGHT, Renderer2D::BOTTOM, 1,
          {{{141, 20, 143, 23}, white}, {{145, 20, 148, 23}, green}});
    // Scaled about the baseline, the spacing too.
    print("AB", {20, 90}, Renderer2D::LEFT, Renderer2D::TOP, 2,
          {{{20, 82, 25, 89}, white}, {{28, 82, 35, 89}, green}});
}
