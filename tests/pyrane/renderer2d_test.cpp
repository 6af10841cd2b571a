#include "pyrane/renderer2d.h"

#include <GL/gl.h>

#include "enginetest.h"

using Pyrane::Bitmap;
using Pyrane::Image;
using Pyrane::Renderer2D;

namespace {

using Renderer2DTest = EngineTest;

GLint filterOf(Renderer2D& renderer, const Bitmap& bitmap, GLenum which) {
    renderer.bindTexture(int(bitmap.texID()));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
    return value;
}

} // namespace

TEST_F(Renderer2DTest, OneUnitIsOnePixelFromTheBottomLeftAndClearUsesTheDrawingColour) {
    renderer.drawBox(Box(0, 0, 1, 1), true, false);
    renderer.drawBox(Box(159, 99, 160, 100), true, false);
    EXPECT_EQ(count(0, 0, 161, 101, white), 2);
    EXPECT_EQ(rgb(0, 0), white);
    EXPECT_EQ(rgb(159, 99), white);
    renderer.color(1, 0, 0, 1);
    renderer.clear();
    EXPECT_EQ(count(0, 0, 160, 100, red), 160 * 100);
}

TEST_F(Renderer2DTest, DrawImagePutsTheHotSpotOnThePositionAndTurnsCounterClockwise) {
    // Left half red, right half blue.
    auto bitmap = load("halves.png", 16, 16, [](int x, int) {
        return x < 8 ? Colour(255, 0, 0, 255) : Colour(0, 0, 255, 255);
    });
    Image image(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    renderer.drawImage(image, V(40, 50), 0, 1, 1);
    EXPECT_EQ(count(32, 42, 8, 16, red), 128);
    EXPECT_EQ(count(40, 42, 8, 16, blue), 128);
    EXPECT_EQ(count(30, 40, 20, 20, black), 400 - 256);

    // A quarter turn: the right half goes up.
    renderer.drawImage(image, V(100, 50), 1.57f, 1, 1);
    EXPECT_EQ(rgb(98, 54), blue);
    EXPECT_EQ(rgb(102, 56), blue);
    EXPECT_EQ(rgb(98, 45), red);
    EXPECT_EQ(rgb(102, 43), red);

    // Scaled about the hot spot and tinted by the drawing colour.
    clear(white);
    renderer.color(1, 0, 0, 1);
    renderer.drawImage(image, V(80, 50), 0, 2, 1);
    EXPECT_EQ(count(64, 42, 16, 16, red), 256);
    EXPECT_EQ(count(80, 42, 16, 16, black), 256);
    EXPECT_EQ(rgb(63, 50), white);
    EXPECT_EQ(rgb(96, 50), white);
}

TEST_F(Renderer2DTest, DrawingTheSameImageTwiceBindsItsTextureOnce) {
    auto redBitmap = solid("red.png", Colour(255, 0, 0, 255));
    auto greenBitmap = solid("green.png", Colour(0, 255, 0, 255));
    Image image(*redBitmap, Box(0, 0, 16, 16), Vector2<int>(0, 0), true);
    renderer.drawImage(image, V(10, 10), 0, 1, 1);
    EXPECT_EQ(rgb(15, 15), red);
    // Bound behind the renderer's back, the other texture shows in the second draw.
    glBindTexture(GL_TEXTURE_2D, greenBitmap->texID());
    renderer.drawImage(image, V(40, 10), 0, 1, 1);
    EXPECT_EQ(rgb(45, 15), green);
    // Once the renderer knows of another binding, drawing binds the image's texture.
    renderer.bindTexture(int(greenBitmap->texID()));
    renderer.drawImage(image, V(70, 10), 0, 1, 1);
    EXPECT_EQ(rgb(75, 15), red);
}

TEST_F(Renderer2DTest, TextureFilterChangesEveryLiveTextureOnlyWhenItChanges) {
    auto a = solid("a.png", Colour(1, 1, 1, 255));
    auto b = solid("b.png", Colour(2, 2, 2, 255));
    auto c = solid("c.png", Colour(3, 3, 3, 255));
    renderer.textureFilter(Renderer2D::LINEAR);
    for (Bitmap* bitmap : {a.get(), b.get(), c.get()}) {
        EXPECT_EQ(filterOf(renderer, *bitmap, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(filterOf(renderer, *bitmap, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    }
    // The same filter again touches no texture.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    renderer.textureFilter(Renderer2D::LINEAR);
    EXPECT_EQ(filterOf(renderer, *c, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    // A texture made later gets the current filter; a deleted one is no longer touched.
    auto d = solid("d.png", Colour(4, 4, 4, 255));
    EXPECT_EQ(filterOf(renderer, *d, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    b.reset();
    EXPECT_EQ(renderer.textures().size(), 3u);
    renderer.textureFilter(Renderer2D::NEAREST);
    for (Bitmap* bitmap : {a.get(), c.get(), d.get()})
        EXPECT_EQ(filterOf(renderer, *bitmap, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Renderer2DTest, UploadFromFramebufferCopiesTheScreenIntoTheTextureCorner) {
    Bitmap bitmap(Vector2<unsigned int>(32, 32), renderer, RGBA<float>(1, 1, 1, 1));
    bitmap.activate();
    Image image(bitmap, Box(0, 0, 32, 32), Vector2<int>(0, 0), true);
    // Screen: green left of x 8, red elsewhere. Copy 16 x 16 of it from (4, 2).
    clear(red);
    renderer.color(0, 1, 0, 1);
    renderer.drawBox(Box(0, 0, 8, 100), true, false);
    renderer.uploadTextureFromFramebuffer(bitmap, Vell::AABB2<unsigned int>(4, 2, 20, 18));

    clear(black);
    renderer.drawImage(image, V(50, 50), 0, 1, 1);
    EXPECT_EQ(count(50, 50, 4, 16, green), 64);
    EXPECT_EQ(count(54, 50, 12, 16, red), 192);
    // The rest of the texture keeps its pixels.
    EXPECT_EQ(count(50, 50, 32, 32, white), 32 * 32 - 256);
}

TEST_F(Renderer2DTest, ExclusiveOrBoxesDrawnTwiceRestoreThePixels) {
    clear(Rgb{51, 102, 153});
    const Rgb ground = rgb(20, 20), inverted{255 - ground[0], 255 - ground[1], 255 - ground[2]};
    renderer.drawBox(Vell::AABB2<float>(10, 10, 30, 30), true, true);
    EXPECT_EQ(count(10, 10, 20, 20, inverted), 400);
    EXPECT_EQ(count(0, 0, 40, 40, ground), 1600 - 400);
    renderer.drawBox(Vell::AABB2<float>(10, 10, 30, 30), true, true);
    EXPECT_EQ(count(0, 0, 40, 40, ground), 1600);

    // An outline leaves the inside alone, and drawn twice vanishes too.
    renderer.drawBox(Box(50, 10, 70, 30), false, true);
    EXPECT_EQ(rgb(60, 20), ground);
    EXPECT_GE(count(45, 5, 30, 30, inverted), 70);
    renderer.drawBox(Box(50, 10, 70, 30), false, true);
    EXPECT_EQ(count(45, 5, 30, 30, ground), 900);
    // Plain drawing afterwards: the exclusive-or and outline modes are off.
    renderer.drawBox(Box(100, 10, 120, 30), true, false);
    EXPECT_EQ(count(100, 10, 20, 20, white), 400);
}

TEST_F(Renderer2DTest, ImageBordersOutlineImagesAndKeepTheDrawingColourAndTexturing) {
    auto bitmap = solid("white.png", Colour(255, 255, 255, 255));
    Image image(*bitmap, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    auto grey = [](Rgb p) { return p[0] > 100 && p[0] < 155 && p[0] == p[1] && p[1] == p[2]; };
    renderer.color(0, 0, 0, 1);
    renderer.drawImage(image, V(40, 50), 0, 1, 1);
    EXPECT_EQ(count(28, 38, 24, 24, grey), 0);

    // Half-transparent white over the black image and ground: a grey square ring.
    renderer.showImageBorders(true);
    renderer.drawImage(image, V(100, 50), 0, 1, 1);
    EXPECT_GE(count(88, 38, 24, 24, grey), 56);
    EXPECT_EQ(rgb(100, 50), black);
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_EQ(std::vector<float>(current, current + 4), (std::vector<float>{0, 0, 0, 1}));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    // The outline alone, in the drawing colour, leaves texturing off.
    renderer.color(0, 0, 1, 1);
    renderer.drawImageBorder(image, V(130, 50), 0, 1, 1);
    EXPECT_EQ(rgb(130, 50), black);
    EXPECT_GE(count(118, 38, 24, 24, blue), 56);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Renderer2DTest, LinesAndCrosses) {
    renderer.drawLine(V(10.5f, 20.5f), V(50.5f, 20.5f));
    EXPECT_EQ(count(0, 15, 60, 10, white), count(10, 20, 41, 1, white));
    EXPECT_GE(count(10, 20, 41, 1, white), 39);
    // The cross is drawn around the current origin.
    renderer.pushMatrix();
    renderer.translate(100.5f, 50.5f);
    renderer.drawCross(5);
    renderer.popMatrix();
    for (auto [x, y] : {std::pair{103, 50}, {97, 50}, {100, 53}, {100, 47}})
        EXPECT_EQ(rgb(x, y), white) << x << ", " << y;
    EXPECT_EQ(count(90, 40, 20, 20, white), 19);
}
