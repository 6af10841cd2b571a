// Entities against boxes and against each other, with the game's own solid squares cut
// from "full32x32.png".
#include "tarvex/entity.h"

#include <gtest/gtest.h>

#include "support/gamesession.h"

namespace {

using Tarvex::Entity;
using Box = Vell::AABB2<float>;
using V = Vector2<float>;

TEST(Entity, BoxesFitTheImageAndPixelTestsPlaceOnlyTheTestedEntityAtTheOffset) {
    TestSupport::startGame();
    Entity a, b;
    a.image(game.images.at("box_4x2"));
    a.calcBbox();
    a.pos(10, 10);
    // The box spans (13, 9)-(17, 11) at the offset; touching counts.
    EXPECT_TRUE(a.collisionWithBox(Box(17, 11, 20, 20), V(5, 0)));
    EXPECT_FALSE(a.collisionWithBox(Box(17.1f, 11, 20, 20), V(5, 0)));

    a.image(game.images.at("box_16x16"));
    b.image(game.images.at("box_16x16"));
    a.pos(50, 50);
    b.pos(66, 50);
    EXPECT_FALSE(a.collision(&b, V())) << "squares that only touch do not collide";
    EXPECT_TRUE(a.collision(&b, V(1, 0)));
    EXPECT_FALSE(b.collision(&a, V(1, 0))) << "the offset moves only the one tested";
    b.image(nullptr);
    EXPECT_FALSE(a.collision(&b, V(10, 0))) << "without an image nothing collides";
}

} // namespace
