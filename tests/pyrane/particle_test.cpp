// The particle pool and the particle systems as the game's explosions use them: particles
// appended by hand, moved and drawn; and the emitter's counts and random colours.
#include "pyrane/particle.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "enginetest.h"
#include "pyrane/functions.h"
#include "pyrane/particlesystem.h"

namespace {

using Held = std::vector<std::unique_ptr<Particle>>;
using C = RGBA<float>;

// Takes n slots from the pool; they go back when the holder goes.
Held take(int n) {
    Held held;
    for (int i = 0; i < n; ++i)
        held.emplace_back(new Particle);
    return held;
}

// A system whose absolute position is (x, y), as after a frame of its own.
struct Emitter : ParticleSystem {
    Emitter(float x = 0, float y = 0) {
        pos(x, y);
        animate(0);
    }
};

// An emitter that also takes particles appended by hand, as an explosion does.
struct Appending : Emitter {
    void append(float alpha) {
        std::unique_ptr<Particle> p(new Particle);
        p->color.a = alpha;
        _particles.push_back(p.release());
    }
};

} // namespace

TEST(ParticleSystem, AnAppendedParticleDyingByRuleLeavesTheEmitterCountingAndEmitting) {
    Appending s;
    s.particleDieMethod(ParticleSystem::DIE_ALPHA);
    s.particlesMaxCount(2, 0);
    s.append(0); // dies at the next step
    s.animate(0.01);
    EXPECT_EQ(s.alive(), 0u);
    s.createParticles(5);
    EXPECT_EQ(s.alive(), 2u) << "emission goes on, up to the alive limit";
    EXPECT_EQ(s.particles().size(), 2u);
}

// A particle's random colour takes four draws in the order red, green, blue, alpha, in
// every build: the order a call's arguments are evaluated in is the compiler's choice.
TEST(ParticleSystem, ARandomColourDrawsRedGreenBlueAlphaInThatOrder) {
    std::srand(7);
    std::vector<float> draws;
    for (int i = 0; i < 30; ++i)
        draws.push_back(Pyrane::random(-1, 1));
    Emitter s;
    s.particleColor(C(0, 0, 0, 0), C(1, 1, 1, 1), C(), C());
    std::srand(7);
    s.createParticles(1);
    const C c = s.particles().front()->color;
    const std::vector<float> colour{c.r, c.g, c.b, c.a};
    EXPECT_NE(std::search(draws.begin(), draws.end(), colour.begin(), colour.end()), draws.end());
}

TEST(ParticlePool, TheSlotPastTheLastRaisesAndLeavesTheFreeCountAsItWas) {
    ASSERT_EQ(Particle::_totalMaxCount, 10000);
    Held all = take(10000);
    EXPECT_EQ(Particle::_totalFreeCount, 0);
    EXPECT_EQ(errorOf([] { delete new Particle; }),
              "Out of particle memory. Increase Particle::_totalMaxCount");
    EXPECT_EQ(Particle::_totalFreeCount, 0);
    all.clear();
    EXPECT_EQ(Particle::_totalFreeCount, 10000);
}

TEST(ParticlePool, ReleasedSlotsAreHandedOutAgainFirstInFirstOutAsFreshParticles) {
    Held held = take(9990);
    held[1234]->pos.set(5, 5);
    held[1234]->color.set(0, 0, 0, 0);
    Particle* released = held[1234].get();
    held[1234].reset();
    ASSERT_EQ(Particle::_totalFreeCount, 11);

    Held next = take(11);
    for (int i = 0; i < 10; ++i)
        EXPECT_NE(next[i].get(), released) << "the ten slots free before come first";
    EXPECT_EQ(next[10].get(), released);
    EXPECT_EQ(next[10]->pos, V(0, 0));
    EXPECT_EQ(next[10]->color, C(1, 1, 1, 1));
}

using ParticleDrawTest = EngineTest;

TEST_F(ParticleDrawTest, ParticlesDrawInTheirColoursWhereTheyAreNotWhereTheSystemMovedTo) {
    auto bitmap = solid("white.png", Colour(255, 255, 255, 255));
    Image dot(*bitmap, Box(0, 0, 2, 2), Vector2<int>(1, 1), true);
    Emitter s(40, 50);
    s.particleImage(&dot);
    s.particleColor(C(1, 0, 0, 1), C(), C(), C());
    s.particleScaleInit(V(2, 2));
    s.createParticles(1);
    s.pos(100, 50);
    s.animate(0);
    s.particleColor(C(0, 0, 1, 1), C(), C(), C());
    s.particleScaleInit(V(1, 1));
    s.createParticles(1);
    // The system's own image in its own colour, where it is now.
    s.image(&dot);
    s.color(0, 1, 0, 1);
    s.pos(70, 50);
    s.animate(0);
    s.draw();
    EXPECT_EQ(std::tuple(count(38, 48, 4, 4, red), count(99, 49, 2, 2, blue),
                         count(69, 49, 2, 2, green), count(0, 0, 160, 100, black)),
              std::tuple(16, 4, 4, 160 * 100 - 24));

    clear(black);
    s.particleImage(nullptr);
    s.draw();
    EXPECT_EQ(count(0, 0, 160, 100, black), 160 * 100 - 4) << "the system's own image only";
}
