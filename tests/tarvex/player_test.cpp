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

TEST(Player, ADeadShipIgnoresSteeringAndRespawnsInvulnerableAfterItsTime) {
    Player p;
    p.invulnerable(0);
    p.powerup();
    p.right(true);
    p.fire(true);
    p.animate(0.1);
    p.die(0.5);
    EXPECT_EQ(p._power, 0);
    EXPECT_FLOAT_EQ(p._ship.pos().x, 80);
    p.left(true);
    EXPECT_FALSE(p._left || p._right) << "steering is ignored while dead";
    p._shotsPending = 0;
    p.animate(0.5);
    EXPECT_TRUE(p._dead);
    EXPECT_EQ(p._shotsPending, 0) << "a dead ship does not fire";
    p.animate(0.01);
    EXPECT_FALSE(p._dead || p._fire);
    EXPECT_TRUE(p._invulnerable);
    EXPECT_DOUBLE_EQ(p._invulnerableDuration, 3.0);
}

TEST(Player, InvulnerabilityBlinksWithTheShieldUpAndEndsStrictlyAfterItsTime) {
    Player p;
    p.invulnerable(0.5);
    p.animate(0.01);
    EXPECT_FLOAT_EQ(p._ship.alpha(), 0);
    p.animate(0.49);
    EXPECT_TRUE(p._invulnerable && p._shield.visible());
    p.animate(0.01);
    EXPECT_FALSE(p._invulnerable || p._shield.visible());
    EXPECT_FLOAT_EQ(p._ship.alpha(), 1);
}

} // namespace
