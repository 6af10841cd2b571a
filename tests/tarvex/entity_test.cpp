// Entities against boxes and against each other, with the game's own solid squares cut
// from "full32x32.png".
#include "tarvex/entity.h"

#include <gtest/gtest.h>

#include "support/gamesession.h"
#include "tarvex/game.h"

namespace {

using Tarvex::Entity;
using Box = Vell::AABB2<float>;
using V = Vector2<float>;

TEST(Entity, TheBoxFitsTheImageAndMovesByPositionAndOffset) {
    TestSupport::startGame();
    Entity e;
    e.calcBbox();
    EXPECT_EQ(e._bbox, Box()) << "without an image the box stays";
    e.image(game.images.at("box_4x2"));
    e.calcBbox();
    EXPECT_EQ(e._bbox, Box(-2, -1, 2, 1));

    e.pos(10, 10);
    const V offset(5, 0); // the box now spans (13, 9)-(17, 11)
    EXPECT_TRUE(e.collisionWithBox(Box(17, 11, 20, 20), offset)) << "touching counts";
    EXPECT_FALSE(e.collisionWithBox(Box(17.1f, 11, 20, 20), offset));
    EXPECT_FALSE(e.collisionWithBox(Box(17, 11, 20, 20), V()));
}

TEST(Entity, PixelTestPlacesThisEntityAtItsPositionPlusTheOffset) {
    TestSupport::startGame();
    Entity a;
    Entity b;
    a.image(game.images.at("box_16x16"));
    b.image(game.images.at("box_16x16"));
    a.pos(50, 50);
    b.pos(60, 50);
    EXPECT_TRUE(a.collision(&b, V()));
    b.pos(66, 50);
    EXPECT_FALSE(a.collision(&b, V())) << "squares that only touch do not collide";

    // A piece at (0, 0) of something at (55, 50), as enemy pieces are tested.
    a.pos(0, 0);
    EXPECT_FALSE(a.collision(&b, V()));
    EXPECT_TRUE(a.collision(&b, V(55, 50)));
    EXPECT_FALSE(b.collision(&a, V(55, 50))) << "the offset moves only the one tested";

    b.image(nullptr);
    EXPECT_FALSE(a.collision(&b, V(66, 50))) << "without an image nothing collides";
}

} // namespace
