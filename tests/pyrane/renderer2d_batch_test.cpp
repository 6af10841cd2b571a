#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "enginetest.h"
#include "pyrane/particlesystem.h"

namespace {

using C = RGBA<float>;
using Picture = std::vector<TestSupport::Pixel>;

// One image drawn in a colour.
struct Draw {
    const Image* image;
    V pos;
    float rotation;
    V scale;
    C colour;
};

// A small fixed generator, so that the scenes are the same in every run.
struct Lcg {
    std::uint32_t state = 12345;
    float next(float min, float max) {
        state = state * 1664525u + 1013904223u;
        return min + (max - min) * float(state >> 8) / float(1u << 24);
    }
};

class Renderer2DBatchTest : public EngineTest {
protected:
    Renderer2DBatchTest() {
        // Quadrants of four colours with a see-through corner: a wrong texture
        // coordinate, turn or mirror shows.
        quadrants = load("quadrants.png", 16, 16, [](int x, int row) {
            if (x < 2 && row < 2) return Colour(0, 0, 0, 0);
            if (x < 8) return row < 8 ? Colour(255, 0, 0, 255) : Colour(0, 255, 0, 255);
            return row < 8 ? Colour(0, 0, 255, 255) : Colour(255, 255, 0, 128);
        });
        stripes = load("stripes.png", 8, 8, [](int x, int) {
            return x % 2 ? Colour(255, 255, 255, 255) : Colour(255, 0, 255, 200);
        });
    }

    static Picture picture() { return TestSupport::readPixels(0, 0, 160, 100); }
    static int differing(const Picture& a, const Picture& b) {
        int n = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            n += !(a[i] == b[i]);
        return n;
    }
    void draw(const Draw& d) {
        renderer.color(d.colour);
        renderer.drawImage(*d.image, d.pos, d.rotation, d.scale.x, d.scale.y);
    }
    // The scene drawn one by one, then batched, on the same ground; the two pictures.
    template <typename Scene> std::pair<Picture, Picture> bothWays(Scene scene) {
        clear(Rgb{30, 60, 90});
        scene();
        const Picture single = picture();
        clear(Rgb{30, 60, 90});
        {
            ImageBatch batch(renderer);
            scene();
        }
        return {single, picture()};
    }

    std::unique_ptr<Bitmap> quadrants, stripes;
};

} // namespace

TEST_F(Renderer2DBatchTest, BatchedImagesLookExactlyAsDrawnOneByOne) {
    Image whole(*quadrants, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    Image part(*quadrants, Box(3, 2, 13, 15), Vector2<int>(2, 7), true);
    Image uncached(*stripes, Box(0, 0, 8, 8), Vector2<int>(4, 4), false);
    // Hand-picked cases first (exact pixel positions, quarter and half turns, mirrors,
    // see-through colours overlapping), textures switching back and forth.
    std::vector<Draw> draws = {
        {&whole, V(20, 20), 0, V(1, 1), C(1, 1, 1, 1)},
        {&whole, V(26.5f, 24.25f), 0, V(1, 1), C(1, 1, 1, 0.5f)},
        {&uncached, V(40, 20), 1.57f, V(1, 1), C(1, 0.5f, 0.25f, 1)},
        {&part, V(60, 20), 3.14f, V(2, 0.5f), C(1, 1, 1, 1)},
        {&part, V(62.3f, 22.7f), -0.3f, V(-1, 1), C(0, 1, 1, 0.7f)},
        {&whole, V(80, 30), 0.75f, V(1.5f, 1.5f), C(1, 1, 1, 1)},
        {&uncached, V(84, 34), 0, V(3, 2), C(0.2f, 0.4f, 1, 0.6f)},
        {&whole, V(100.01f, 19.99f), 0, V(0.5f, 0.5f), C(1, 1, 1, 1)},
    };
    // Then many at random, as particles and pieces are.
    Lcg lcg;
    const Image* images[] = {&whole, &part, &uncached};
    for (int i = 0; i < 300; ++i)
        draws.push_back({images[int(lcg.next(0, 2.99f))], V(lcg.next(-5, 165), lcg.next(-5, 105)),
                         lcg.next(-7, 7), V(lcg.next(0.2f, 2.5f), lcg.next(0.2f, 2.5f)),
                         C(lcg.next(0, 1), lcg.next(0, 1), lcg.next(0, 1), lcg.next(0, 1))});
    // Every fifth unturned and unscaled, the case of most pieces and bullets.
    for (std::size_t i = 8; i < draws.size(); i += 5) {
        draws[i].rotation = 0;
        draws[i].scale = V(1, 1);
    }
    for (Renderer2D::TexFilter filter : {Renderer2D::NEAREST, Renderer2D::LINEAR}) {
        renderer.textureFilter(filter);
        const auto [single, batched] = bothWays([&] {
            for (const Draw& d : draws)
                draw(d);
        });
        EXPECT_EQ(differing(single, batched), 0) << "filter " << filter;
        EXPECT_GT(differing(single, Picture(single.size(), single[0])), 5000) << "drew nothing";
    }
}

TEST_F(Renderer2DBatchTest, OtherDrawingInsideABatchKeepsItsPlaceAndTheColourStaysKnown) {
    Image whole(*quadrants, Box(0, 0, 16, 16), Vector2<int>(8, 8), true);
    const auto [single, batched] = bothWays([&] {
        renderer.drawImage(whole, V(30, 50), 0, 2, 2);
        renderer.color(0, 0, 0, 0.5f);
        renderer.drawBox(Box(20, 40, 40, 60), true, false);
        renderer.color(1, 1, 1, 1);
        renderer.drawImage(whole, V(40, 60), 0.5f, 1, 1);
        renderer.color(0, 1, 0, 1);
        renderer.drawLine(V(10, 10), V(150, 90));
        renderer.pushMatrix();
        renderer.translate(50, 0);
        renderer.drawImage(whole, V(30, 50), 0, 1, 1);
        renderer.popMatrix();
        renderer.drawImage(whole, V(35, 50), 0, 1, 1);
        renderer.color(1, 0, 0, 1);
    });
    EXPECT_EQ(differing(single, batched), 0);
    // After the batch OpenGL's colour is the renderer's, and texturing is on as after
    // drawing an image.
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_EQ((std::vector<float>(current, current + 4)), (std::vector<float>{1, 0, 0, 1}));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
}

TEST_F(Renderer2DBatchTest, OnlyTheOutermostEndDrawsAndAColourSetInsideReachesOpenGL) {
    auto white = solid("white.png", Colour(255, 255, 255, 255));
    Image dot(*white, Box(0, 0, 4, 4), Vector2<int>(0, 0), true);
    renderer.beginBatch();
    renderer.beginBatch();
    renderer.color(0, 0, 1, 1);
    renderer.drawImage(dot, V(10, 10), 0, 1, 1);
    renderer.endBatch();
    EXPECT_TRUE(renderer.batching());
    EXPECT_EQ(count(10, 10, 4, 4, blue), 0) << "drawn before the outermost end";
    renderer.endBatch();
    EXPECT_FALSE(renderer.batching());
    EXPECT_EQ(count(10, 10, 4, 4, blue), 16);
    // An end too many is harmless, and a colour set with nothing to draw still arrives.
    renderer.endBatch();
    renderer.beginBatch();
    renderer.color(0, 1, 0, 1);
    renderer.endBatch();
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_EQ((std::vector<float>(current, current + 4)), (std::vector<float>{0, 1, 0, 1}));
}

TEST_F(Renderer2DBatchTest, AParticleSystemLooksAsItsParticlesDrawnOneByOne) {
    Image part(*quadrants, Box(1, 1, 15, 13), Vector2<int>(7, 6), true);
    ParticleSystem system;
    system.pos(80, 50);
    system.animate(0);
    system.particleImage(&part);
    system.particlesMaxCount(600, 0);
    system.particleColor(C(0.5f, 0.5f, 0.5f, 0.6f), C(0.5f, 0.5f, 0.5f, 0.4f), C(), C());
    system.particleRotation(0, 3, 0, 0);
    system.particleScale(V(1, 1), V(0.8f, 0.8f), false, V(), V(), false);
    system.particleSpawnScatter(V(70, 45));
    system.createParticles(500);
    ASSERT_EQ(system.particles().size(), 500u);
    renderer.textureFilter(Renderer2D::LINEAR);

    clear(black);
    for (const Particle* p : system.particles()) {
        renderer.color(p->color);
        renderer.drawImage(part, p->pos, p->rotation, p->scale.x, p->scale.y);
    }
    const Picture single = picture();
    clear(black);
    system.draw();
    EXPECT_FALSE(renderer.batching());
    EXPECT_EQ(differing(single, picture()), 0);
    EXPECT_GT(count(0, 0, 160, 100, black), 0);
    EXPECT_LT(count(0, 0, 160, 100, black), 160 * 100 / 2) << "drew too little";
}
