#include "pyrane/font.h"

#include <GL/gl.h>

#include <memory>
#include <stdexcept>
#include <tuple>

#include "enginetest.h"
#include "pyrane/textsprite.h"

using Pyrane::Font;
using Pyrane::Renderer2D;
using Pyrane::TextSprite;
using Pyrane::Timeline;

namespace {

// Writes a font picture given as text rows, top row first, a character a pixel: '#' the
// pure red marker, '.' transparent, 'B' green, 'C' blue, anything else white.
std::string writeFont(const std::string& path, const std::vector<std::string>& rows) {
    TestSupport::writePng(path, int(rows[0].size()), int(rows.size()), [&](int x, int row) {
        switch (rows[row][x]) {
        case '#':
            return Colour(255, 0, 0, 255);
        case '.':
            return Colour(0, 0, 0, 0);
        case 'B':
            return Colour(0, 255, 0, 255);
        case 'C':
            return Colour(0, 0, 255, 255);
        default:
            return Colour(255, 255, 255, 255);
        }
    });
    return path;
}

// Two lines 8 pixels high: at the bottom A (3 wide), B (4) and C (2), each followed by a
// marker and the line ended by a second one; above them D (5).
std::vector<std::string> threeGlyphs() {
    std::vector<std::string> rows(7, "DDDDD...........................");
    rows.push_back("DDDDD##.........................");
    rows.insert(rows.end(), 7, "AAA.BBBB.CC.....................");
    rows.push_back("AAA#BBBB#CC##...................");
    return rows;
}

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

    // Baseline 2, letter spacing 1; the top glyph is character 255, E has none.
    std::unique_ptr<Font> font =
        std::make_unique<Font>(writeFont(dir.path("font.png"), threeGlyphs()),
                               "ABC\xff"
                               "E",
                               2, 8, 1, renderer, true);
};

} // namespace

TEST_F(FontTest, GlyphsAreCutBetweenMarkersFromTheBottomLineUp) {
    EXPECT_EQ(font->charImage('A')->bitmapBox(), Box(0, 0, 3, 8));
    EXPECT_EQ(font->charImage('B')->bitmapBox(), Box(4, 0, 8, 8));
    EXPECT_EQ(font->charImage('C')->bitmapBox(), Box(9, 0, 11, 8));
    EXPECT_EQ(font->charImage(0xff)->bitmapBox(), Box(0, 8, 5, 16));
    EXPECT_EQ(font->charImage('B')->pivot(), Vector2<int>(0, 2));
    for (unsigned char none : {'E', 'D', 'a', ' ', '\0'})
        EXPECT_EQ(font->charImage(none), nullptr) << none;
    EXPECT_NE(font->bitmap()->texID(), 0u);
    EXPECT_THROW(Font(dir.path("none.png"), "A", 0, 8, 0, renderer, true), std::runtime_error);
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
    writeFont(dir.path("edge.png"), rows);
    Font edge(dir.path("edge.png"), "ABCDEF", 0, 4, 0, renderer, false);
    const std::pair<char, Box> glyphs[] = {{'A', {0, 0, 7, 4}},   {'B', {8, 0, 16, 4}},
                                           {'C', {0, 4, 15, 8}},  {'D', {0, 8, 8, 12}},
                                           {'E', {9, 8, 11, 12}}, {'F', {0, 12, 2, 16}}};
    for (const auto& [c, box] : glyphs)
        EXPECT_EQ(edge.charImage(c)->bitmapBox(), box) << c;
    EXPECT_EQ(edge.bitmap()->texID(), 0u);
}

TEST_F(FontTest, MeasuresLinesWithSpacingLeadingAndScale) {
    // Characters without a glyph take no room; the spacing follows every glyph.
    EXPECT_EQ(size("AB"), V(9, 8));
    EXPECT_EQ(size("AxB?"), V(9, 8));
    renderer.leading(2);
    std::vector<float> widths;
    // Each glyph: width x 2 plus the spacing 1 x 2; line advance (8 + 2) x 1.
    EXPECT_EQ(size("A\nBC", {2, 1}, &widths), V(16, 18));
    EXPECT_EQ(widths, (std::vector<float>{8, 16}));
    widths.clear();
    EXPECT_EQ(size("", {1, 3}, &widths), V(0, 24));
    EXPECT_EQ(widths, (std::vector<float>{0}));
    EXPECT_EQ(size("A\n"), V(4, 18));
    renderer.getTextSize(nullptr, nullptr, "ABC", *font, {1, 1}); // both outputs optional
}

TEST_F(FontTest, PrintsEachLineFromItsAlignedStart) {
    const struct {
        const char* text;
        V pos;
        Renderer2D::align h, v;
        float scale;
        std::vector<std::pair<Box, Rgb>> glyphs;
    } cases[] = {
        // The baseline at 80 - (8 - 2) + 0.15, the next line one advance lower.
        {"A\nB",
         {20, 80},
         Renderer2D::LEFT,
         Renderer2D::TOP,
         1,
         {{{20, 72, 22, 79}, white}, {{20, 64, 23, 71}, green}}},
        // From the truncated anchor; no room for the missing glyph.
        {"A?B",
         {20.7f, 80},
         Renderer2D::LEFT,
         Renderer2D::TOP,
         1,
         {{{20, 72, 22, 79}, white}, {{24, 72, 27, 79}, green}}},
        // Each line centred on its own width, the block of two lines on y = 50.
        {"A\nBC",
         {80.3f, 50},
         Renderer2D::CENTER,
         Renderer2D::CENTER,
         1,
         {{{78, 50, 80, 57}, white}, {{76, 42, 79, 49}, green}, {{81, 42, 82, 49}, blue}}},
        {"AB",
         {150.3f, 20},
         Renderer2D::RIGHT,
         Renderer2D::BOTTOM,
         1,
         {{{141, 20, 143, 27}, white}, {{145, 20, 148, 27}, green}}},
        // Scaled about the baseline, the spacing too.
        {"AB",
         {20, 90},
         Renderer2D::LEFT,
         Renderer2D::TOP,
         2,
         {{{20, 74, 25, 89}, white}, {{28, 74, 35, 89}, green}}},
    };
    renderer.font(*font);
    for (const auto& c : cases) {
        clear(black);
        renderer.textAlign(c.h, c.v);
        renderer.print(c.text, c.pos, {c.scale, c.scale});
        for (const auto& [box, colour] : c.glyphs)
            EXPECT_TRUE(block(box, colour))
                << c.text << " at " << c.pos.x << ", glyph at " << box.min.x << ", " << box.min.y;
    }
    // Without a font nothing is printed.
    clear(black);
    Renderer2D fresh{Box(0, 0, 160, 100)};
    fresh.print("A", {20, 80}, {1, 1});
    EXPECT_EQ(count(0, 0, 160, 100, black), 160 * 100);
}

namespace {

class TextSpriteTest : public FontTest {
protected:
    TextSpriteTest() {
        sprite.textFont(*font);
        sprite.text("A");
        sprite.pos(20, 80);
    }
    // Draws the sprite on black and reads the pixel at (x, y).
    Rgb drawn(int x, int y) {
        clear(black);
        sprite.draw();
        return rgb(x, y);
    }

    TextSprite sprite;
};

// The title prompt's blink: hidden until 0.25 s, shown until 0.5 s, looping.
Timeline<float> pressFireBlink() {
    Timeline<float> t;
    for (auto [time, value] :
         {std::pair{0.0, 0.f}, {0.25, 0.f}, {0.251, 1.f}, {0.5, 1.f}, {0.501, 0.f}})
        t.addKey(Timeline<float>::Keyframe(time, value, Timeline<float>::ABSOLUTE));
    return t;
}

} // namespace

TEST_F(TextSpriteTest, DrawsTheTextAtItsAbsolutePositionInItsColourAboveItsImage) {
    TextSprite parent;
    parent.pos(10, 0);
    TextSprite* child = new TextSprite;
    child->parent(&parent);
    child->textFont(*font);
    child->text("A");
    child->textColor({0, 1, 0, 1});
    child->pos(20, 80);
    child->textOffset({10, 0});
    // The sprite's own image: glyph B, x 30..33 with its baseline at 80, rows 78..85.
    child->image(font->charImage('B'));
    parent.animate(0);
    parent.draw();
    // Text A (white glyph in green) at x 40..42, rows 72..79.
    EXPECT_TRUE(block(Box(40, 72, 42, 79), green));
    EXPECT_TRUE(block(Box(30, 78, 33, 85), green));

    child->textColor({1, 1, 1, 1});
    child->textOffset({0, 0});
    clear(black);
    parent.draw();
    // Where the text covers the image, the text is on top.
    EXPECT_EQ(rgb(31, 78), white);
    EXPECT_EQ(rgb(31, 83), green);
}

TEST_F(TextSpriteTest, ScalesWithTheImageScaleAndHidesWhenInvisible) {
    sprite.imageScale({2, 2});
    sprite.animate(0);
    clear(black);
    sprite.draw();
    EXPECT_TRUE(block(Box(20, 64, 25, 79), white));
    sprite.visible(false);
    EXPECT_EQ(drawn(21, 75), black);
}

TEST_F(TextSpriteTest, BlinksByItsAlphaTimelineUntilPaused) {
    Timeline<float> blink = pressFireBlink();
    sprite.timelineTextColorA(blink);
    sprite.vel(10, 0);
    // Hidden for a quarter second, then shown, in updates of 0.1 s.
    std::vector<Rgb> seen;
    for (int x : {22, 23, 24}) {
        sprite.animate(0.1);
        seen.push_back(drawn(x, 75));
    }
    EXPECT_EQ(seen, (std::vector<Rgb>{black, black, white}));
    // Paused: the text goes on moving, but stays shown.
    sprite.pause(true);
    for (int i = 0; i < 4; ++i)
        sprite.animate(0.1);
    EXPECT_EQ(drawn(28, 75), white);
    // Unpaused, the blink goes on where it stood: 0.4 s and 0.5 s shown, then 0.6 s
    // wraps (leaving it shown), and 0.7 s hides it again.
    sprite.pause(false);
    seen.clear();
    for (int x : {29, 30, 31, 32}) {
        sprite.animate(0.1);
        seen.push_back(drawn(x, 75));
    }
    EXPECT_EQ(seen, (std::vector<Rgb>{white, white, white, black}));
}

TEST_F(TextSpriteTest, BoundingBoxFollowsTheAlignmentButNotTheScale) {
    renderer.leading(0);
    sprite.text("A\nBC");
    sprite.animate(0);
    // 8 x 16 with the anchor at the top-left corner.
    EXPECT_EQ(sprite.boundingBox(), Vell::AABB2<float>(20, 64, 28, 80));
    sprite.textAlign(Renderer2D::CENTER, Renderer2D::CENTER);
    EXPECT_EQ(sprite.boundingBox(), Vell::AABB2<float>(16, 72, 24, 88));
    sprite.textAlign(Renderer2D::RIGHT, Renderer2D::BOTTOM);
    sprite.textOffset({1, 0});
    sprite.imageScale({3, 3});
    EXPECT_EQ(sprite.boundingBox(), Vell::AABB2<float>(13, 80, 21, 96));
    EXPECT_EQ(TextSprite().boundingBox(), Vell::AABB2<float>());
}

TEST_F(TextSpriteTest, DuplicateCarriesTheTextAndItsOwnBlink) {
    Timeline<float> blink = pressFireBlink();
    sprite.timelineTextColorA(blink);
    sprite.textColor({0.5f, 0.25f, 1, 1});
    sprite.textOffset({3, 4});
    sprite.textAlign(Renderer2D::RIGHT, Renderer2D::CENTER);
    std::unique_ptr<Pyrane::Sprite> copy(sprite.duplicate());
    auto* text = dynamic_cast<TextSprite*>(copy.get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::tuple(text->text(), text->textFont(), text->textColor(), text->textOffset(),
                         text->textAlignH(), text->textAlignV(), text->pos()),
              std::tuple(sprite.text(), sprite.textFont(), sprite.textColor(), sprite.textOffset(),
                         sprite.textAlignH(), sprite.textAlignV(), sprite.pos()));
    ASSERT_EQ(text->timelines().size(), 1u);
    text->animate(0.1);
    EXPECT_EQ(text->textColor().a, 0);
    EXPECT_EQ(sprite.textColor().a, 1);
}
