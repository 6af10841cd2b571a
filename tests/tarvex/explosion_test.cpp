// Explosions in the play state: rings of particles from the pool, moved and drawn by the
// real play frame, removed after their duration with every particle given back.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

#include "pyrane/particle.h"
#include "support/playtest.h"
#include "tarvex/explosion.h"

namespace {

using Pyrane::Particle;
using Tarvex::Explosion;
using TestSupport::Picture;
using Held = std::vector<std::unique_ptr<Particle>>;

const RGBA<float> white(1, 1, 1, 1);

class ExplosionTest : public TestSupport::PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        play._messageText.clear();
        ASSERT_EQ(Particle::_totalFreeCount, Particle::_totalMaxCount);
    }
    Explosion& last() { return *play._explosions.back(); }
};

// How many pixels of the picture have the colour, in the field below the status bar,
// and how many of them lie within the distances [from, to) of the centre.
struct Count {
    int all = 0, inside = 0;
};
Count countColour(const Picture& picture, TestSupport::Pixel colour, Vector2<float> centre,
                  float from, float to) {
    Count n;
    for (int y = 0; y < 84; ++y)
        for (int x = 0; x < 160; ++x) {
            const TestSupport::Pixel& p = picture[std::size_t(y) * 160 + std::size_t(x)];
            if (p.r != colour.r || p.g != colour.g || p.b != colour.b) continue;
            const float d = std::hypot(float(x) + 0.5f - centre.x, float(y) + 0.5f - centre.y);
            ++n.all;
            n.inside += d >= from && d < to;
        }
    return n;
}

TEST_F(ExplosionTest, TheGameFillsTheParticleImagesAtStartUpAndNamesAMissingPicture) {
    EXPECT_EQ(Explosion::_particleImages.size(), 3u);
    try {
        game.image("box_9x9");
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "the game has no image \"box_9x9\"");
    }
}

TEST_F(ExplosionTest, AnExplosionIsARingOfParticlesStepped6Point28ByCountThatNeverDieByRule) {
    play.addExplosion(Vector2<float>(30, 40), RGBA<float>(0.2f, 0.4f, 0.6f, 1), 8, 2, 100, -500,
                      0.5f);
    const Explosion& e = last();
    EXPECT_EQ(e.particleImage(), game.images.at("cross_1_2x2"));
    EXPECT_EQ(std::tuple(e.particles().size(), e.alive(), e.emitted()), std::tuple(8u, 0u, 0u));
    int i = 0;
    for (const Particle* p : e.particles())
        EXPECT_FLOAT_EQ(p->vel.angle, float(i++) * 0.785f);

    // A quarter of a second in four steps: the speed falls to 68.75, 37.5, 6.25 and 0
    // before each move, so every particle stands 7.03 pixels out, and all are there.
    step(0.0625, 4);
    ASSERT_EQ(play._explosions.size(), 1u);
    for (const Particle* p : e.particles()) {
        EXPECT_EQ(p->vel.value, 0);
        EXPECT_NEAR(std::hypot(p->pos.x - 30, p->pos.y - 40), 7.03125, 1e-4);
    }
}

TEST_F(ExplosionTest, AnExplosionLeavesInTheFirstFrameItsTimeExceedsItsDuration) {
    play.addExplosion(Vector2<float>(80, 50), white, 64, 1, 200, -250, 0.25f);
    play.addExplosion(Vector2<float>(80, 50), white, 32, 0, 200, -500, 0.5f);
    step(0.0625, 4);
    EXPECT_EQ(play._explosions.size(), 2u) << "0.25 s is not more than its duration";
    step(0.0625);
    ASSERT_EQ(play._explosions.size(), 1u);
    EXPECT_EQ(last()._duration, 0.5f);
    EXPECT_EQ(Particle::_totalFreeCount, Particle::_totalMaxCount - 32);
    game.paused = true;
    step(1.0, 3);
    EXPECT_EQ(play._explosions.size(), 1u) << "a paused game stands still";
    game.paused = false;
    step(0.0625, 4);
    EXPECT_TRUE(play._explosions.empty());
    EXPECT_EQ(Particle::_totalFreeCount, 10000);
}

TEST_F(ExplosionTest, AnExplosionTakesWhatIsLeftOfAShortPoolAndTheGameGoesOn) {
    Held held;
    while (Particle::_totalFreeCount > 5)
        held.emplace_back(new Particle);
    play.addExplosion(Vector2<float>(80, 50), white, 8, 0, 100, -500, 0.2f);
    EXPECT_EQ(last().particles().size(), 5u);
    play.addExplosion(Vector2<float>(80, 50), white, 8, 0, 100, -500, 0.2f);
    EXPECT_EQ(last().particles().size(), 0u);
    EXPECT_EQ(Particle::_totalFreeCount, 0);
    step(0.05, 5);
    EXPECT_TRUE(play._explosions.empty());
    EXPECT_EQ(Particle::_totalFreeCount, 5);
    held.clear();
    EXPECT_EQ(Particle::_totalFreeCount, 10000);
}

TEST_F(ExplosionTest, TheFieldShowsARingOfParticlesInTheExplosionsColour) {
    const Vector2<float> left(45, 50), right(115, 50);
    play.addExplosion(left, white, 16, 0, 200, -550, 0.3f);
    play.addExplosion(right, RGBA<float>(1, 0, 0, 1), 16, 0, 200, -550, 0.3f);
    step(0.01, 10);
    const Picture picture = readPicture();
    // About 17 pixels out after a tenth of a second, one pixel a particle.
    for (const auto& [centre, colour] :
         {std::pair{left, TestSupport::Pixel{255, 255, 255, 255}}, {right, {255, 0, 0, 255}}}) {
        const Count ring = countColour(picture, colour, centre, 15, 20);
        EXPECT_EQ(countColour(picture, colour, centre, 0, 15).inside, 0) << "a ring, not a disc";
        EXPECT_GE(ring.inside, 16);
        EXPECT_LE(ring.inside, 32);
    }
    EXPECT_EQ(countColour(picture, {255, 255, 255, 255}, left, 15, 20).all,
              countColour(picture, {255, 255, 255, 255}, left, 15, 20).inside)
        << "nothing else white below the status bar";

    step(0.1, 3);
    EXPECT_EQ(countColour(readPicture(), {255, 0, 0, 255}, right, 0, 100).all, 0)
        << "gone at once after its duration";
}

} // namespace
