// Sprites as a player sees them: drawn through the renderer and read back.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"
#include "pyrane/sprite.h"
#include "support/glwindow.h"

using Pyrane::Sprite;
using TestSupport::Pixel;

namespace {

constexpr Pixel black{0, 0, 0, 255};
constexpr Pixel white{255, 255, 255, 255};
constexpr Pixel red{255, 0, 0, 255};
constexpr Pixel blue{0, 0, 255, 255};

class SpriteDrawTest : public ::testing::Test {
protected:
    SpriteDrawTest() {
        TestSupport::app();
        renderer.textureFilter(Pyrane::Renderer2D::NEAREST);
        bitmap.activate();
    }

    void clear() {
        renderer.color(0, 0, 0, 1);
        renderer.clear();
    }
    static Pixel at(int x, int y) {
        glFinish();
        return TestSupport::readPixel(x, y);
    }

    Pyrane::Renderer2D renderer{Vell::AABB2<int>(0, 0, 640, 400)};
    Pyrane::Bitmap bitmap{Vector2<unsigned int>(16, 16), renderer, RGBA<float>(1, 1, 1, 1)};
    // 8 x 8 with the hot spot at its bottom-left corner.
    Pyrane::Image square{bitmap, Vell::AABB2<int>(0, 0, 8, 8), Vector2<int>(0, 0), true};
};

} // namespace

TEST_F(SpriteDrawTest, ChildrenAreDrawnBeneathOrOnTopOfTheirParent) {
    Sprite parent;
    parent.image(&square);
    parent.color(1, 0, 0, 1);
    parent.pos(100, 100);
    Sprite* child = new Sprite;
    child->parent(&parent);
    child->image(&square);
    child->color(0, 0, 1, 1);
    child->pos(4, 0);
    parent.animate(0);

    clear();
    parent.draw();
    EXPECT_EQ(at(102, 102), red);
    EXPECT_EQ(at(106, 102), red); // the parent covers the child where they overlap
    EXPECT_EQ(at(110, 102), blue);

    parent.drawChildrenAfterParent(true);
    clear();
    parent.draw();
    EXPECT_EQ(at(102, 102), red);
    EXPECT_EQ(at(106, 102), blue);

    // An invisible parent hides its visible child.
    parent.visible(false);
    clear();
    parent.draw();
    EXPECT_EQ(at(102, 102), black);
    EXPECT_EQ(at(110, 102), black);

    // An invisible child alone disappears.
    parent.visible(true);
    child->visible(false);
    clear();
    parent.draw();
    EXPECT_EQ(at(106, 102), red);
    EXPECT_EQ(at(110, 102), black);
}

TEST_F(SpriteDrawTest, ImageIsScaledAndTurnedAboutItsHotSpot) {
    Sprite s;
    s.image(&square);
    s.pos(200, 200);
    s.imageScale({2, 1});
    s.animate(0);
    clear();
    s.draw();
    EXPECT_EQ(at(215, 204), white);
    EXPECT_EQ(at(217, 204), black);
    EXPECT_EQ(at(204, 209), black);

    // A quarter turn counter-clockwise puts the square left of the hot spot.
    s.imageScale({1, 1});
    s.imageRotation(1.57f);
    clear();
    s.draw();
    EXPECT_EQ(at(196, 204), white);
    EXPECT_EQ(at(204, 204), black);
}

TEST_F(SpriteDrawTest, DrawSpriteUsesTheRelativePositionAndRestoresTheColour) {
    Sprite parent;
    parent.pos(300, 0);
    Sprite* s = new Sprite;
    s->parent(&parent);
    s->image(&square);
    s->pos(50, 60);
    s->color(0, 0, 1, 1);
    parent.animate(0);
    clear();
    renderer.color(1, 0, 0, 0.5f);
    renderer.drawSprite(*s);
    EXPECT_EQ(at(52, 62), blue);
    EXPECT_EQ(at(352, 62), black);
    EXPECT_EQ(renderer.color(), RGBA<float>(1, 0, 0, 0.5f));

    // Invisible or without an image: nothing drawn, the colour left alone.
    s->visible(false);
    clear();
    renderer.color(0, 1, 0, 1);
    renderer.drawSprite(*s);
    EXPECT_EQ(at(52, 62), black);
    s->visible(true);
    s->image(nullptr);
    renderer.drawSprite(*s);
    EXPECT_EQ(at(52, 62), black);
    EXPECT_EQ(renderer.color(), RGBA<float>(0, 1, 0, 1));
}
