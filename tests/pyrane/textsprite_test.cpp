#include "pyrane/textsprite.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>

#include "pyrane/font.h"
#include "support/fontpicture.h"
#include "support/glwindow.h"
#include "support/tempdir.h"

using Pyrane::Renderer2D;
using Pyrane::TextSprite;
using Pyrane::Timeline;
using TestSupport::Pixel;

namespace {

constexpr Pixel black{0, 0, 0, 255};
constexpr Pixel white{255, 255, 255, 255};
constexpr Pixel green{0, 255, 0, 255};

class TextSpriteTest : public ::testing::Test {
protected:
    TextSpriteTest() {
        TestSupport::app();
        renderer.textureFilter(Renderer2D::NEAREST);
        TestSupport::writeFontPicture(dir.path("font.png"), TestSupport::threeGlyphFont());
        font = std::make_unique<Pyrane::Font>(dir.path("font.png"), "ABC", 2, 8, 0, renderer, true);
        sprite.textFont(*font);
        sprite.text("A");
        sprite.pos(100, 200);
    }

    // Draws the sprite on black and reads the pixel at (x, y).
    Pixel drawn(int x, int y) {
        renderer.color(0, 0, 0, 1);
        renderer.clear();
        sprite.draw();
        glFinish();
        return TestSupport::readPixel(x, y);
    }

    TestSupport::TempDir dir;
    Renderer2D renderer{Vell::AABB2<int>(0, 0, 640, 400)};
    std::unique_ptr<Pyrane::Font> font;
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
    parent.pos(40, 0);
    TextSprite* child = new TextSprite;
    child->parent(&parent);
    child->textFont(*font);
    child->text("A");
    child->textColor({0, 1, 0, 1});
    child->pos(50, 200);
    child->textOffset({10, 0});
    // The sprite's own image (glyph B, white-modulated green) lies partly under the text.
    child->image(font->charImage('B'));
    child->color(1, 1, 1, 1);
    parent.animate(0);
    EXPECT_EQ(child->posAbs(), Vector2<float>(90, 200));

    renderer.color(0, 0, 0, 1);
    renderer.clear();
    parent.draw();
    glFinish();
    // Text A (white glyph in green) at 100..102, rows 192..199.
    EXPECT_EQ(TestSupport::readPixel(101, 195), green);
    EXPECT_EQ(TestSupport::readPixel(99, 195), black);
    // Image B at x 90..93 with its baseline at 200: rows 198..205.
    EXPECT_EQ(TestSupport::readPixel(91, 203), green);
    EXPECT_EQ(TestSupport::readPixel(95, 203), black);

    child->textColor({1, 1, 1, 1});
    child->textOffset({0, 0});
    renderer.color(0, 0, 0, 1);
    renderer.clear();
    parent.draw();
    glFinish();
    // Where the text covers the image, the text is on top.
    EXPECT_EQ(TestSupport::readPixel(91, 198), white);
    EXPECT_EQ(TestSupport::readPixel(91, 203), green);
}

TEST_F(TextSpriteTest, ScalesWithTheImageScaleAndHidesWhenInvisible) {
    sprite.imageScale({2, 2});
    sprite.animate(0);
    // 6 x 16 below y = 200.
    EXPECT_EQ(drawn(105, 185), white);
    EXPECT_EQ(drawn(106, 185), black);
    sprite.visible(false);
    EXPECT_EQ(drawn(101, 195), black);
}

TEST_F(TextSpriteTest, BlinksByItsAlphaTimelineUntilPaused) {
    Timeline<float> blink = pressFireBlink();
    sprite.timelineTextColorA(blink);
    EXPECT_EQ(blink.target(), &sprite.textColor().a);
    sprite.vel(10, 0);

    // Hidden for a quarter second, then shown, in updates of 0.1 s.
    sprite.animate(0.1);
    EXPECT_EQ(drawn(102, 195), black);
    sprite.animate(0.1);
    EXPECT_EQ(drawn(103, 195), black);
    sprite.animate(0.1);
    EXPECT_EQ(drawn(104, 195), white);

    // Paused: the text goes on moving, but stays shown.
    sprite.pause(true);
    for (int i = 0; i < 4; ++i)
        sprite.animate(0.1);
    EXPECT_FLOAT_EQ(sprite.posAbs().x, 107);
    EXPECT_EQ(drawn(108, 195), white);
    EXPECT_EQ(sprite.textColor().a, 1);

    // Unpaused, the blink goes on where it stood: 0.4 s and 0.5 s shown, then 0.6 s
    // wraps (leaving it shown), and 0.7 s hides it again.
    sprite.pause(false);
    sprite.animate(0.1);
    sprite.animate(0.1);
    sprite.animate(0.1);
    EXPECT_EQ(drawn(111, 195), white);
    sprite.animate(0.1);
    EXPECT_EQ(drawn(112, 195), black);
    EXPECT_EQ(sprite.textColor().a, 0);
}

TEST_F(TextSpriteTest, BoundingBoxFollowsTheAlignment) {
    renderer.leading(0);
    sprite.text("A\nBC");
    sprite.animate(0);
    // 6 x 16 with the anchor at the top-left corner.
    EXPECT_EQ(sprite.boundingBox(), Vell::AABB2<float>(100, 184, 106, 200));
    sprite.textAlign(Renderer2D::CENTER, Renderer2D::CENTER);
    EXPECT_EQ(sprite.boundingBox(), Vell::AABB2<float>(97, 192, 103, 208));
    sprite.textAlign(Renderer2D::RIGHT, Renderer2D::BOTTOM);
    sprite.textOffset({1, 0});
    EXPECT_EQ(sprite.boundingBox(), Vell::AABB2<float>(95, 200, 101, 216));
    // The scale plays no part.
    sprite.imageScale({3, 3});
    EXPECT_EQ(sprite.boundingBox(), Vell::AABB2<float>(95, 200, 101, 216));

    TextSprite fontless;
    fontless.text("ABC");
    EXPECT_EQ(fontless.boundingBox(), Vell::AABB2<float>());
}

TEST_F(TextSpriteTest, DuplicateCarriesTheTextAndItsOwnBlink) {
    Timeline<float> blink = pressFireBlink();
    sprite.timelineTextColorA(blink);
    sprite.textColor({0.5f, 0.25f, 1, 1});
    sprite.textOffset({3, 4});
    sprite.textAlign(Renderer2D::RIGHT, Renderer2D::CENTER);
    sprite.pause(true);
    std::unique_ptr<Pyrane::Sprite> copy(sprite.duplicate());
    auto* text = dynamic_cast<TextSprite*>(copy.get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "A");
    EXPECT_EQ(text->textFont(), font.get());
    EXPECT_EQ(text->textColor(), sprite.textColor());
    EXPECT_EQ(text->textOffset(), Vector2<float>(3, 4));
    EXPECT_EQ(text->textAlignH(), Renderer2D::RIGHT);
    EXPECT_EQ(text->textAlignV(), Renderer2D::CENTER);
    EXPECT_EQ(text->pos(), sprite.pos());
    ASSERT_EQ(text->timelines().size(), 1u);
    EXPECT_EQ(text->timelines()[0].target(), &text->textColor().a);
    EXPECT_TRUE(text->paused());

    text->pause(false);
    text->animate(0.1);
    EXPECT_EQ(text->textColor().a, 0);
    EXPECT_EQ(sprite.textColor().a, 1);
}
