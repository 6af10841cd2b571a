#include "tarvex/player.h"

#include <gtest/gtest.h>

namespace {

using Tarvex::Player;

Vector2<float> velocity(const Player& p) {
    return p._ship.vel().toVector2();
}

// Steps the ship n times by dt.
void run(Player& p, int n, double dt) {
    for (int i = 0; i < n; ++i)
        p.animate(dt);
}

TEST(Player, StartsAliveAtRestInTheMiddleOfTheBottomAndShielded) {
    Player p;
    EXPECT_FLOAT_EQ(p._ship.pos().x, 80);
    EXPECT_FLOAT_EQ(p._ship.pos().y, 16);
    EXPECT_FALSE(p._dead);
    EXPECT_TRUE(p._invulnerable);
    EXPECT_DOUBLE_EQ(p._invulnerableDuration, 3.0);
    EXPECT_TRUE(p._shield.visible());
    EXPECT_EQ(p._power, 0);
    EXPECT_FLOAT_EQ(p._ship.color().r, 0);
    EXPECT_FLOAT_EQ(p._ship.alpha(), 1);
}

TEST(Player, ReachesTopSpeedIn1_36sAndStopsIn1_12s) {
    Player p;
    p.right(true);
    p.animate(1.0 / 72);
    EXPECT_NEAR(velocity(p).x, 25, 1e-3);
    p.animate(1.0 / 72);
    EXPECT_NEAR(velocity(p).x, 50, 1e-3);
    p.animate(1.0 / 72);
    EXPECT_NEAR(velocity(p).x, 50, 1e-3) << "capped at the top speed";

    p.right(false);
    p.animate(1.0 / 24);
    EXPECT_NEAR(velocity(p).x, 25, 1e-3);
    p.animate(1.0 / 24);
    EXPECT_NEAR(velocity(p).x, 0, 1e-3);
    const float x = p._ship.pos().x;
    p.animate(0.1);
    EXPECT_NEAR(p._ship.pos().x, x, 1e-4) << "at rest it stays";
}

TEST(Player, UpIsPlusYAndDiagonalsAreNotNormalised) {
    Player p;
    p.up(true);
    p.left(true);
    run(p, 10, 0.01);
    EXPECT_NEAR(velocity(p).x, -50, 1e-3);
    EXPECT_NEAR(velocity(p).y, 50, 1e-3);
    EXPECT_NEAR(p._ship.vel().value, 70.71f, 0.01);
    p.down(true);
    EXPECT_FALSE(p._up);
    run(p, 10, 0.01);
    EXPECT_NEAR(velocity(p).y, -50, 1e-3);
}

TEST(Player, RightWhileLeftIsHeldMovesRightAndReleasingLeftKeepsItGoing) {
    Player p;
    p.left(true);
    run(p, 5, 0.02);
    p.right(true);
    EXPECT_FALSE(p._left);
    run(p, 5, 0.02);
    EXPECT_NEAR(velocity(p).x, 50, 1e-3);
    p.left(false);
    const float x = p._ship.pos().x;
    run(p, 5, 0.02);
    EXPECT_NEAR(velocity(p).x, 50, 1e-3);
    EXPECT_NEAR(p._ship.pos().x, x + 5, 1e-3);
}

TEST(Player, NeverLeavesItsBoxWhateverTheStep) {
    Player p;
    for (double dt : {0.01, 0.5, 3.0}) {
        // Long enough to cross the field at top speed.
        const int steps = int(4 / dt) + 1;
        p.left(true);
        p.down(true);
        run(p, steps, dt);
        EXPECT_FLOAT_EQ(p._ship.pos().x, 4);
        EXPECT_FLOAT_EQ(p._ship.pos().y, 4);
        EXPECT_FLOAT_EQ(p._ship.posAbs().x, 4) << "drawn where it was clamped";
        p.right(true);
        p.up(true);
        run(p, steps, dt);
        EXPECT_FLOAT_EQ(p._ship.pos().x, 156);
        EXPECT_FLOAT_EQ(p._ship.pos().y, 96);
        EXPECT_FLOAT_EQ(p._shield.pos().x, 156);
        EXPECT_FLOAT_EQ(p._shield.pos().y, 96);
    }
}

TEST(Player, FireMakesAVolleyDueOnlyWhenTheIntervalIsExceeded) {
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

TEST(Player, BlinksWhileInvulnerableThenShowsSteadilyAndDropsTheShield) {
    Player p;
    bool seenHidden = false;
    bool seenShown = false;
    for (int i = 0; i < 20; ++i) {
        p.animate(0.01);
        (p._ship.alpha() == 0 ? seenHidden : seenShown) = true;
        EXPECT_TRUE(p._shield.visible());
    }
    EXPECT_TRUE(seenHidden);
    EXPECT_TRUE(seenShown);
    run(p, 280, 0.01);
    p.animate(0.01);
    EXPECT_FALSE(p._invulnerable);
    EXPECT_FALSE(p._shield.visible());
    EXPECT_FLOAT_EQ(p._ship.alpha(), 1);

    p.invulnerable(0.5);
    EXPECT_TRUE(p._shield.visible());
    p.animate(0.5);
    EXPECT_TRUE(p._invulnerable) << "ends only when the duration is exceeded";
    p.animate(0.01);
    EXPECT_FALSE(p._invulnerable);
}

TEST(Player, DeadShipIgnoresSteeringDoesNotFireAndRespawnsAfterItsTime) {
    Player p;
    p.powerup();
    p.right(true);
    p.fire(true);
    run(p, 10, 0.01);
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

TEST(Player, PowerStaysBetweenZeroAndTheMaximum) {
    Player p;
    for (int i = 0; i < 5; ++i)
        p.powerup();
    EXPECT_EQ(p._power, 3);
    for (int i = 0; i < 5; ++i)
        p.powerdown();
    EXPECT_EQ(p._power, 0);
}

} // namespace
