#include "pyrane/renderer2d.h"

#include <GL/gl.h>

#include "enginetest.h"

using Renderer2DTest = EngineTest;

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
    EXPECT_EQ(count(32, 42, 8, 16, red) + count(40, 42, 8, 16, blue), 256);
    EXPECT_EQ(count(30, 40, 20, 20, black), 400 - 256);
    // A quarter turn: the right half goes up.
    renderer.drawImage(image, V(100, 50), 1.57f, 1, 1);
    EXPECT_EQ(count(93, 51, 14, 6, blue) + count(93, 43, 14, 6, red), 2 * 14 * 6);
    // Scaled about the hot spot and tinted by the drawing colour.
    clear(white);
    renderer.color(1, 0, 0, 1);
    renderer.drawImage(image, V(80, 50), 0, 2, 1);
    EXPECT_EQ(count(64, 42, 16, 16, red) + count(80, 42, 16, 16, black), 512);
    EXPECT_EQ(count(0, 0, 160, 100, white), 160 * 100 - 512);
}

TEST_F(Renderer2DTest, DrawingTheSameImageTwiceBindsItsTextureOnce) {
    auto redBitmap = solid("red.png", Colour(255, 0, 0, 255));
    auto greenBitmap = solid("green.png", Colour(0, 255, 0, 255));
    Image image(*redBitmap, Box(0, 0, 16, 16), Vector2<int>(0, 0), true);
    renderer.drawImage(image, V(10, 10), 0, 1, 1);
    // Bound behind the renderer's back, the other texture shows in the second draw.
    glBindTexture(GL_TEXTURE_2D, greenBitmap->texID());
    renderer.drawImage(image, V(40, 10), 0, 1, 1);
    // Once the renderer knows of another binding, drawing binds the image's texture.
    renderer.bindTexture(int(greenBitmap->texID()));
    renderer.drawImage(image, V(70, 10), 0, 1, 1);
    EXPECT_EQ((std::vector<Rgb>{rgb(15, 15), rgb(45, 15), rgb(75, 15)}),
              (std::vector<Rgb>{red, green, red}));
}

TEST_F(Renderer2DTest, TextureFilterChangesEveryLiveTextureOnlyWhenItChanges) {
    auto a = solid("a.png", Colour(1, 1, 1, 255));
    auto b = solid("b.png", Colour(2, 2, 2, 255));
    auto filters = [&] {
        std::vector<GLint> seen;
        for (GLenum which : {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER})
            for (Bitmap* bitmap : {a.get(), b.get()}) {
                renderer.bindTexture(int(bitmap->texID()));
                glGetTexParameteriv(GL_TEXTURE_2D, which, &seen.emplace_back());
            }
        return seen;
    };
    renderer.textureFilter(Renderer2D::LINEAR);
    EXPECT_EQ(filters(), std::vector<GLint>(4, GL_LINEAR));
    // The same filter again touches no texture: b, bound last, keeps what it was given.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    renderer.textureFilter(Renderer2D::LINEAR);
    EXPECT_EQ(filters(), (std::vector<GLint>{GL_LINEAR, GL_LINEAR, GL_LINEAR, GL_NEAREST}));
}

TEST_F(Renderer2DTest, ExclusiveOrBoxesDrawnTwiceRestoreThePixels) {
    clear(Rgb{51, 102, 153});
    const Rgb ground = rgb(20, 20), inverted{255 - ground[0], 255 - ground[1], 255 - ground[2]};
    renderer.drawBox(Vell::AABB2<float>(10, 10, 30, 30), true, true);
    renderer.drawBox(Box(50, 10, 70, 30), false, true);
    EXPECT_EQ(count(10, 10, 20, 20, inverted), 400);
    // An outline leaves the inside alone.
    EXPECT_EQ(rgb(60, 20), ground);
    EXPECT_GE(count(45, 5, 30, 30, inverted), 70);
    renderer.drawBox(Vell::AABB2<float>(10, 10, 30, 30), true, true);
    renderer.drawBox(Box(50, 10, 70, 30), false, true);
    EXPECT_EQ(count(0, 0, 80, 40, ground), 80 * 40);
    // Plain drawing afterwards: the exclusive-or and outline modes are off.
    renderer.drawBox(Box(100, 10, 120, 30), true, false);
    EXPECT_EQ(count(100, 10, 20, 20, white), 400);
}

TEST_F(Renderer2DTest, QuadStripsFillBetweenVertexPairsInTheColourAndTexturingSwitches) {
    // A see-through texture would hide whatever is drawn textured.
    auto clearBitmap = solid("clear.png", Colour(0, 0, 0, 0));
    renderer.bindTexture(int(clearBitmap->texID()));
    // The square (10, 10)-(30, 30), then a quad whose last pair meets in one point: the
    // triangle (30, 10), (30, 30), (50, 10), 200 pixels.
    const std::vector<V> strip = {V(10, 10), V(10, 30), V(30, 10), V(30, 30), V(50, 10), V(50, 10)};
    renderer.texturing(false);
    renderer.color(0, 1, 0, 1);
    renderer.drawQuadStrip(strip);
    EXPECT_EQ(count(10, 10, 20, 20, green), 400);
    EXPECT_NEAR(count(30, 10, 20, 20, green), 200, 20);
    EXPECT_EQ(count(0, 0, 10, 100, green) + count(10, 30, 150, 70, green), 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    renderer.texturing(true);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    renderer.color(1, 0, 0, 1);
    renderer.drawQuadStrip({V(60, 60), V(60, 80), V(80, 60), V(80, 80)});
    EXPECT_EQ(count(60, 60, 20, 20, red), 0) << "textured with see-through texels";
}
