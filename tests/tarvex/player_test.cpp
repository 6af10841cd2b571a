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
    EXPECT_EQ(p._shotsPending, 0) << "pressing again discards what was due";
    p.animate(0.2);
    EXPECT_EQ(p._shotsPending, 3) << "a long step queues several volleys";
    EXPECT_NEAR(p._fireTime, 0.06, 1e-9);

    p.fire(false);
    p.animate(1.0);
    EXPECT_EQ(p._shotsPending, 0);
    p.fire(true);
    p.animate(0.001);
    EXPECT_EQ(p._shotsPending, 1) << "fires again at once after a release";
}

TEST(Player, InvulnerabilityEndsStrictlyAfterItsTimeWithTheShipShownAndNoShield) {
    Player p;
    p.invulnerable(0.5);
    p.animate(0.01);
    EXPECT_FLOAT_EQ(p._ship.alpha(), 0) << "blinking";
    p.animate(0.49);
    EXPECT_TRUE(p._invulnerable);
    EXPECT_TRUE(p._shield.visible());
    p.animate(0.01);
    EXPECT_FALSE(p._invulnerable);
    EXPECT_FALSE(p._shield.visible());
    EXPECT_FLOAT_EQ(p._ship.alpha(), 1);
}

TEST(Player, ADeadShipIgnoresSteeringDoesNotFireAndRespawnsAfterItsTime) {
    Player p;
    p.powerup();
    p.right(true);
    p.fire(true);
    p.animate(0.1);
    p.die(0.5);
    EXPECT_EQ(p._power, 0);
    EXPECT_FALSE(p._right);
    EXPECT_TRUE(p._fire) << "the fire key stays held";
    EXPECT_FLOAT_EQ(p._ship.pos().x, 80);
    p._shotsPending = 0;

    p.left(true);
    EXPECT_FALSE(p._left) << "steering is ignored while dead";
    p.animate(0.5);
    EXPECT_TRUE(p._dead);
    EXPECT_EQ(p._shotsPending, 0);
    p.animate(0.01);
    EXPECT_FALSE(p._dead);
    EXPECT_FALSE(p._fire);
    EXPECT_TRUE(p._invulnerable);
    EXPECT_DOUBLE_EQ(p._invulnerableDuration, 3.0);
    EXPECT_FLOAT_EQ(p._ship.pos().x, 80);
    EXPECT_FLOAT_EQ(p._ship.pos().y, 16);
    EXPECT_FLOAT_EQ(p._ship.vel().value, 0);
}

} // namespace
