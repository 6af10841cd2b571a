// The blast ring on its own: how its two radii grow and the strip of 36 segments that
// closes the ring. How long it lasts, the bomb tests of the play state check.
#include "tarvex/blast.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Tarvex::Blast;

struct Radii {
    double time;
    float inner, outer;
};

// The bombs' blast: radius 70, duration 0.5. The disc reaches 49 in 1/16 s and 70 at
// 0.5 s; the hole opens at 0.125 s and closes the ring at 0.625 s.
TEST(Blast, TheDiscGrowsFastThenHollowsOutIntoAThinRing) {
    for (const Radii& r : std::vector<Radii>{{0, 0.001f, 0.001f},
                                             {0.0625, 0.001f, 49},
                                             {0.125, 0.001f, 49 + 21 * (0.0625f / 0.4375f)},
                                             {0.375, 35.0005f, 64},
                                             {0.625, 70, 70},
                                             {0.9, 70, 70}}) {
        Blast blast({80, 50}, 70, 0.5, RGBA<float>(0, 0, 0, 1));
        blast.animate(r.time);
        const std::vector<Vector2<float>> ring = blast.ringVertices();
        ASSERT_EQ(ring.size(), 74u) << "36 segments, the last pair closing the ring";
        for (std::size_t i = 0; i < ring.size(); i += 2) {
            EXPECT_NEAR(ring[i].abs(), r.inner, 1e-3) << r.time;
            EXPECT_NEAR(ring[i + 1].abs(), r.outer, 1e-3) << r.time;
        }
        EXPECT_NEAR(ring[0].x, r.inner, 1e-4);
        EXPECT_NEAR(ring[1].y, 0, 1e-4);
        // Pair 9 points straight up, and the last pair lies on the first.
        EXPECT_NEAR(ring[19].x, 0, 1e-3);
        EXPECT_NEAR(ring[19].y, r.outer, 1e-3);
        EXPECT_NEAR(ring[73].x, ring[1].x, 1e-3);
        EXPECT_NEAR(ring[73].y, ring[1].y, 1e-3);
    }
}

} // namespace
