#include "pyrane/renderer2d.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "support/bitmapfixture.h"
#include "support/glwindow.h"
#include "support/tempdir.h"

using Pyrane::Bitmap;
using Pyrane::Image;
using Pyrane::Renderer2D;
using TestSupport::readPixel;
using Pixel = RGBA<unsigned char>;

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb rgbAt(int x, int y) {
    const TestSupport::Pixel p = readPixel(x, y);
    return {p.r, p.g, p.b};
}

constexpr Rgb black{0, 0, 0}, white{255, 255, 255}, red{255, 0, 0}, green{0, 255, 0},
    blue{0, 0, 255};

// How many pixels of the block from (x, y), w x h, satisfy pred.
template <typename Pred> int countPixels(int x, int y, int w, int h, Pred pred) {
    int n = 0;
    for (const TestSupport::Pixel& p : TestSupport::readPixels(x, y, w, h))
        if (pred(Rgb{p.r, p.g, p.b})) ++n;
    return n;
}

GLint filterOf(Renderer2D& renderer, unsigned int texture, GLenum which) {
    renderer.bindTexture(int(texture));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
    return value;
}

class Renderer2DTest : public ::testing::Test {
protected:
    Renderer2DTest() {
        renderer.color(0, 0, 0, 1);
        renderer.clear();
    }

    std::unique_ptr<Bitmap> solid(const std::string& name, Pixel color) {
        return TestSupport::loadBitmap(
            dir, name, 16, 16, [=](int, int) { return color; }, renderer);
    }

    // The window and its context come before the renderer, which sets up GL state.
    OpenglAppMultistate& app = TestSupport::app();
    TestSupport::TempDir dir;
    Renderer2D renderer{Vell::AABB2<int>(0, 0, 160, 100)};
};

} // namespace

TEST_F(Renderer2DTest, ViewportMakesOneUnitOnePixelFromTheBottomLeft) {
    EXPECT_EQ(renderer.vport(), Vell::AABB2<int>(0, 0, 160, 100));
    renderer.color(1, 1, 1, 1);
    renderer.drawBox(Vell::AABB2<int>(0, 0, 1, 1), true, false);
    renderer.drawBox(Vell::AABB2<int>(159, 99, 160, 100), true, false);
    EXPECT_EQ(rgbAt(0, 0), white);
    EXPECT_EQ(rgbAt(1, 0), black);
    EXPECT_EQ(rgbAt(0, 1), black);
    EXPECT_EQ(rgbAt(159, 99), white);
    EXPECT_EQ(rgbAt(158, 99), black);
    EXPECT_EQ(rgbAt(160, 99), black);

    renderer.vport(Vell::AABB2<int>(0, 0, 640, 400));
    renderer.color(0, 1, 0, 1);
    renderer.drawBox(Vell::AABB2<float>(639, 399, 640, 400), true, false);
    EXPECT_EQ(rgbAt(639, 399), green);
    EXPECT_EQ(rgbAt(638, 399), black);
}

TEST_F(Renderer2DTest, ClearFillsWithTheLastDrawingColour) {
    renderer.color(1, 0, 0, 1);
    renderer.clear();
    EXPECT_EQ(rgbAt(0, 0), red);
    EXPECT_EQ(rgbAt(159, 99), red);
    renderer.color(RGBA<float>(0, 0, 0, 1));
    renderer.clear();
    EXPECT_EQ(rgbAt(80, 50), black);
}

TEST_F(Renderer2DTest, DrawImagePutsTheHotSpotOnThePositionAndTurnsCounterClockwise) {
    renderer.textureFilter(Renderer2D::NEAREST);
    // Left half red, right half blue.
    auto bitmap = TestSupport::loadBitmap(
        dir, "halves.png", 16, 16,
        [](int x, int) { return x < 8 ? Pixel(255, 0, 0, 255) : Pixel(0, 0, 255, 255); }, renderer);
    Image image(*bitmap, Vell::AABB2<int>(0, 0, 16, 16), Vector2<int>(8, 8), true);
    renderer.color(1, 1, 1, 1);

    renderer.drawImage(image, Vector2<float>(40, 50), 0, 1, 1);
    EXPECT_EQ(rgbAt(32, 50), red);
    EXPECT_EQ(rgbAt(39, 50), red);
    EXPECT_EQ(rgbAt(40, 50), blue);
    EXPECT_EQ(rgbAt(47, 57), blue);
    EXPECT_EQ(rgbAt(31, 50), black);
    EXPECT_EQ(rgbAt(48, 50), black);
    EXPECT_EQ(rgbAt(40, 58), black);

    // A quarter turn: the right half goes up.
    renderer.drawImage(image, Vector2<float>(100, 50), 1.57f, 1, 1);
    EXPECT_EQ(rgbAt(98, 54), blue);
    EXPECT_EQ(rgbAt(102, 56), blue);
    EXPECT_EQ(rgbAt(98, 45), red);
    EXPECT_EQ(rgbAt(102, 43), red);

    // Scaled about the hot spot, and tinted by the drawing colour.
    renderer.color(1, 1, 1, 1);
    renderer.clear();
    renderer.color(1, 0, 0, 1);
    renderer.drawImage(image, Vector2<float>(80, 50), 0, 2, 1);
    EXPECT_EQ(rgbAt(65, 50), red);
    EXPECT_EQ(rgbAt(90, 50), black);
    EXPECT_EQ(rgbAt(63, 50), white);
    EXPECT_EQ(rgbAt(96, 50), white);
}

TEST_F(Renderer2DTest, DrawingTheSameImageTwiceBindsItsTextureOnce) {
    auto redBitmap = solid("red.png", Pixel(255, 0, 0, 255));
    Image image(*redBitmap, Vell::AABB2<int>(0, 0, 16, 16), Vector2<int>(0, 0), true);
    auto greenBitmap = solid("green.png", Pixel(0, 255, 0, 255));
    renderer.color(1, 1, 1, 1);

    renderer.drawImage(image, Vector2<float>(10, 10), 0, 1, 1);
    EXPECT_EQ(rgbAt(15, 15), red);
    EXPECT_EQ(renderer.boundTexture(), int(redBitmap->texID()));
    // Behind the renderer's back another texture is bound: the second draw does not
    // bind again, so it shows that texture.
    glBindTexture(GL_TEXTURE_2D, greenBitmap->texID());
    renderer.drawImage(image, Vector2<float>(40, 10), 0, 1, 1);
    EXPECT_EQ(rgbAt(45, 15), green);
    // Once the renderer knows of another binding, drawing binds the image's texture.
    renderer.bindTexture(int(greenBitmap->texID()));
    renderer.drawImage(image, Vector2<float>(70, 10), 0, 1, 1);
    EXPECT_EQ(rgbAt(75, 15), red);
}

TEST_F(Renderer2DTest, TextureFilterChangesEveryLiveTextureOnlyWhenItChanges) {
    auto a = solid("a.png", Pixel(1, 1, 1, 255));
    auto b = solid("b.png", Pixel(2, 2, 2, 255));
    auto c = solid("c.png", Pixel(3, 3, 3, 255));
    EXPECT_EQ(renderer.textureFilter(), Renderer2D::LINEAR);
    for (Bitmap* bitmap : {a.get(), b.get(), c.get()})
        EXPECT_EQ(filterOf(renderer, bitmap->texID(), GL_TEXTURE_MAG_FILTER), GL_LINEAR);

    renderer.textureFilter(Renderer2D::NEAREST);
    EXPECT_EQ(renderer.textureFilter(), Renderer2D::NEAREST);
    for (Bitmap* bitmap : {a.get(), b.get(), c.get()}) {
        EXPECT_EQ(filterOf(renderer, bitmap->texID(), GL_TEXTURE_MAG_FILTER), GL_NEAREST);
        EXPECT_EQ(filterOf(renderer, bitmap->texID(), GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    }

    // The same filter again touches no texture.
    renderer.bindTexture(int(b->texID()));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    renderer.textureFilter(Renderer2D::NEAREST);
    EXPECT_EQ(filterOf(renderer, b->texID(), GL_TEXTURE_MAG_FILTER), GL_LINEAR);

    // A texture made later gets the current filter; a deleted one is no longer touched.
    auto d = solid("d.png", Pixel(4, 4, 4, 255));
    EXPECT_EQ(filterOf(renderer, d->texID(), GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    c.reset();
    EXPECT_EQ(renderer.textures().size(), 3u);
    renderer.textureFilter(Renderer2D::LINEAR);
    for (Bitmap* bitmap : {a.get(), b.get(), d.get()})
        EXPECT_EQ(filterOf(renderer, bitmap->texID(), GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Renderer2DTest, UploadFromFramebufferCopiesTheScreenIntoTheTextureCorner) {
    renderer.textureFilter(Renderer2D::NEAREST);
    Bitmap bitmap(Vector2<unsigned int>(32, 32), renderer, RGBA<float>(1, 1, 1, 1));
    bitmap.activate();
    Image image(bitmap, Vell::AABB2<int>(0, 0, 32, 32), Vector2<int>(0, 0), true);

    // Screen: green left of x 8, red elsewhere. Copy 16 x 16 of it from (4, 2).
    renderer.color(1, 0, 0, 1);
    renderer.clear();
    renderer.color(0, 1, 0, 1);
    renderer.drawBox(Vell::AABB2<int>(0, 0, 8, 100), true, false);
    renderer.uploadTextureFromFramebuffer(bitmap, Vell::AABB2<unsigned int>(4, 2, 20, 18));

    renderer.color(0, 0, 0, 1);
    renderer.clear();
    renderer.color(1, 1, 1, 1);
    renderer.drawImage(image, Vector2<float>(50, 50), 0, 1, 1);
    EXPECT_EQ(rgbAt(50, 50), green);
    EXPECT_EQ(rgbAt(53, 65), green);
    EXPECT_EQ(rgbAt(54, 50), red);
    EXPECT_EQ(rgbAt(65, 65), red);
    // The rest of the texture keeps its pixels.
    EXPECT_EQ(rgbAt(66, 50), white);
    EXPECT_EQ(rgbAt(50, 66), white);
}

TEST_F(Renderer2DTest, ExclusiveOrBoxDrawnTwiceRestoresThePixels) {
    renderer.color(0.2f, 0.4f, 0.6f, 1);
    renderer.clear();
    const Rgb ground = rgbAt(20, 20);
    const Rgb inverted{255 - ground.r, 255 - ground.g, 255 - ground.b};
    renderer.color(1, 1, 1, 1);

    renderer.drawBox(Vell::AABB2<float>(10, 10, 30, 30), true, true);
    EXPECT_EQ(rgbAt(20, 20), inverted);
    EXPECT_EQ(rgbAt(10, 10), inverted);
    EXPECT_EQ(rgbAt(9, 20), ground);
    EXPECT_EQ(rgbAt(30, 20), ground);
    renderer.drawBox(Vell::AABB2<float>(10, 10, 30, 30), true, true);
    EXPECT_EQ(countPixels(0, 0, 40, 40, [&](Rgb p) { return p == ground; }), 1600);

    // An outline leaves the inside alone, and drawn twice vanishes too.
    renderer.drawBox(Vell::AABB2<int>(50, 10, 70, 30), false, true);
    EXPECT_EQ(rgbAt(60, 20), ground);
    EXPECT_GE(countPixels(45, 5, 30, 30, [&](Rgb p) { return p == inverted; }), 70);
    renderer.drawBox(Vell::AABB2<int>(50, 10, 70, 30), false, true);
    EXPECT_EQ(countPixels(45, 5, 30, 30, [&](Rgb p) { return p == ground; }), 900);

    // Plain drawing afterwards: the exclusive-or mode and the outline mode are off.
    renderer.drawBox(Vell::AABB2<int>(100, 10, 120, 30), true, false);
    EXPECT_EQ(rgbAt(110, 20), white);
}

TEST_F(Renderer2DTest, ImageBordersOutlineEveryImageAndKeepTheDrawingColour) {
    auto bitmap = solid("white.png", Pixel(255, 255, 255, 255));
    Image image(*bitmap, Vell::AABB2<int>(0, 0, 16, 16), Vector2<int>(8, 8), true);
    auto grey = [](Rgb p) { return p.r > 100 && p.r < 155 && p.r == p.g && p.g == p.b; };

    renderer.color(0, 0, 0, 1);
    renderer.drawImage(image, Vector2<float>(40, 50), 0, 1, 1);
    EXPECT_EQ(countPixels(28, 38, 24, 24, grey), 0);

    EXPECT_FALSE(renderer.showImageBorders());
    renderer.showImageBorders(true);
    renderer.drawImage(image, Vector2<float>(100, 50), 0, 1, 1);
    // Half-transparent white over the black image and ground: a grey square ring.
    EXPECT_GE(countPixels(88, 38, 24, 24, grey), 56);
    EXPECT_EQ(rgbAt(100, 50), black);
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_EQ(Rgb(int(current[0]), int(current[1]), int(current[2])), black);
    EXPECT_EQ(current[3], 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    // The border colour can be changed.
    renderer.imageBorderColor(1, 0, 0, 1);
    EXPECT_EQ(renderer.imageBorderColor(), RGBA<float>(1, 0, 0, 1));
    renderer.drawImage(image, Vector2<float>(130, 50), 0, 1, 1);
    EXPECT_GE(countPixels(118, 38, 24, 24, [](Rgb p) { return p == red; }), 56);
}

TEST_F(Renderer2DTest, ImageBorderAloneIsTheQuadOutlineInTheDrawingColour) {
    auto bitmap = solid("white.png", Pixel(255, 255, 255, 255));
    Image image(*bitmap, Vell::AABB2<int>(0, 0, 16, 16), Vector2<int>(8, 8), false);
    renderer.color(0, 0, 1, 1);
    renderer.drawImageBorder(image, Vector2<float>(80, 50), 0, 1, 1);
    EXPECT_EQ(rgbAt(80, 50), black);
    const int outline = countPixels(68, 38, 24, 24, [](Rgb p) { return p == blue; });
    EXPECT_GE(outline, 56);
    EXPECT_LE(outline, 68);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Renderer2DTest, LinesAndCrosses) {
    renderer.color(1, 1, 1, 1);
    renderer.drawLine(Vector2<float>(10.5f, 20.5f), Vector2<float>(50.5f, 20.5f));
    EXPECT_EQ(rgbAt(30, 20), white);
    EXPECT_EQ(rgbAt(30, 21), black);
    EXPECT_EQ(rgbAt(60, 20), black);

    // The cross is drawn around the current origin.
    renderer.pushMatrix();
    renderer.translate(100.5f, 50.5f);
    renderer.drawCross(5);
    renderer.popMatrix();
    EXPECT_EQ(rgbAt(103, 50), white);
    EXPECT_EQ(rgbAt(97, 50), white);
    EXPECT_EQ(rgbAt(100, 53), white);
    EXPECT_EQ(rgbAt(100, 47), white);
    EXPECT_EQ(rgbAt(103, 53), black);
    EXPECT_EQ(rgbAt(108, 50), black);
    EXPECT_EQ(countPixels(90, 40, 20, 20, [](Rgb p) { return p == white; }), 19);
}
