// The ship's timers on their own: volleys, invulnerability and respawn. Steering is
// driven through the play state's keys (stateplay_test.cpp).
#include "tarvex/player.h"

#include <gtest/gtest.h>

namespace {

using Tarvex::Player;

TEST(Player, AVolleyFallsDueOnlyOnceTheIntervalIsExceeded) {
    Player p;
    p.fire(true);
    p.animate(0);
    EXPECT_EQ(p._shotsPending, 0) << "exactly one interval does not fire";
    p.animate(1e-6);
    EXPECT_EQ(p._shotsPending, 1);
    p.fire(true);
    p.animate(0.2);
    EXPECT_EQ(p._shotsPending, 3) << "pressing again discards what was due";
}

TEST(Player, ADeadShipNeitherSteersNorFiresAndRespawnsBlinkingForThreeSeconds) {
    Player p;
    p.invulnerable(0);
    p.powerup();
    p.fire(true);
    p.animate(0.1);
    p.die(0.5);
    p.left(true);
    p._shotsPending = 0;
    p.animate(0.5);
    EXPECT_EQ(std::tuple(p._dead, p._left, p._power, p._shotsPending),
              std::tuple(true, false, 0, 0.f));
    p.animate(0.01);
    EXPECT_FALSE(p._dead || p._fire);
    // Blinking with the shield up, then shown steadily strictly after the 3 s.
    p.animate(0.01);
    EXPECT_EQ(p._ship.alpha(), 0);
    p.animate(2.99);
    EXPECT_TRUE(p._invulnerable && p._shield.visible());
    p.animate(0.001);
    EXPECT_FALSE(p._invulnerable || p._shield.visible());
    EXPECT_EQ(p._ship.alpha(), 1);
}

} // namespace
