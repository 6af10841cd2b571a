#include "pyrane/sprite.h"

#include <gtest/gtest.h>

#include <cmath>

#include "pyrane/animatedsprite.h"

using Pyrane::Sprite;

namespace {

// Counts the destructions of its instances, to see who deletes whom.
struct Counted : Sprite {
    explicit Counted(int& deaths) : _deaths(deaths) {}
    ~Counted() override { ++_deaths; }
    int& _deaths;
};

} // namespace

TEST(Sprite, SpeedChangesBeforePositionAndDecelerationNeverReverses) {
    Sprite s;
    s.vel(100, 1.5f);
    s.accel(-300);
    s.animate(0.1);
    // (100 - 300 * 0.1) * 0.1 along the direction.
    EXPECT_FLOAT_EQ(s.vel().value, 70);
    EXPECT_NEAR(s.pos().y, 7 * std::sin(1.5f), 1e-4);
    s.animate(0.1);
    s.animate(0.1);
    s.animate(0.1); // a third of a second has passed: stopped
    EXPECT_EQ(s.vel().value, 0);
    EXPECT_FLOAT_EQ(s.vel().angle, 1.5f);
    const Vector2<float> stopped = s.pos();
    s.animate(0.5);
    EXPECT_EQ(s.pos(), stopped);
    EXPECT_NEAR(s.pos().y, 12 * std::sin(1.5f), 1e-4);
    EXPECT_FLOAT_EQ(s.lifetime(), 0.9f);
    EXPECT_FLOAT_EQ(s.lifetrail(), 7 + 4 + 1);
}

TEST(Sprite, ImageRotatesAndScalesButNeverBelowZero) {
    Sprite s;
    s.imageRotationVelocity(2);
    s.imageScaleVelocity({-1, 0.5f});
    s.animate(0.5);
    EXPECT_FLOAT_EQ(s.imageRotation(), 1);
    EXPECT_EQ(s.imageScale(), Vector2<float>(0.5f, 1.25f));
    s.animate(1);
    EXPECT_EQ(s.imageScale(), Vector2<float>(0, 1.75f));
}

TEST(Sprite, ChildFollowsItsParentWithoutLag) {
    Sprite parent;
    Sprite* child = new Sprite;
    child->parent(&parent);
    child->pos(10, 0);
    parent.pos(100, 50);
    parent.animate(0.1);
    EXPECT_EQ(child->posAbs(), Vector2<float>(110, 50));

    parent.vel(10, 0);
    parent.animate(1);
    EXPECT_FLOAT_EQ(child->posAbs().x, 120);
    EXPECT_FLOAT_EQ(child->lifetime(), 1.1f);

    // Animated on its own, a child uses where its parent was at the last update.
    parent.pos(0, 0);
    child->animate(0);
    EXPECT_FLOAT_EQ(child->posAbs().x, 120);
}

TEST(Sprite, OwnershipFollowsTheParent) {
    int deaths = 0;
    Sprite* p = new Sprite;
    Sprite q;
    auto* a = new Counted(deaths);
    auto* b = new Counted(deaths);
    auto* c = new Counted(deaths);
    a->parent(p);
    b->parent(p);
    c->parent(&q);
    auto* grandchild = new Counted(deaths);
    grandchild->parent(b);

    a->parent(&q);
    EXPECT_EQ(p->children(), (std::list<Sprite*>{b}));
    EXPECT_EQ(q.children(), (std::list<Sprite*>{c, a}));
    EXPECT_EQ(a->parent(), &q);

    delete c;
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(q.children(), (std::list<Sprite*>{a}));

    delete p;
    EXPECT_EQ(deaths, 3); // b and its child

    a->parent(nullptr); // detached: the caller owns it now
    EXPECT_TRUE(q.children().empty());
    delete a;
    EXPECT_EQ(deaths, 4);
}

TEST(Sprite, DuplicateCopiesChildrenDeeplyButNotTheParentsOwnership) {
    Sprite root;
    Sprite* s = new Sprite;
    s->parent(&root);
    s->pos(1, 2);
    s->vel(3, 0.5f);
    s->accel(4);
    s->color(0.1f, 0.2f, 0.3f, 0.4f);
    s->visible(false);
    s->imageRotation(5);
    s->imageRotationVelocity(6);
    s->imageScale({7, 8});
    s->imageScaleVelocity({9, 10});
    s->pause(true);
    s->drawChildrenAfterParent(true);
    s->animate(0.25);
    auto* first = new Sprite;
    first->pos(11, 0);
    first->parent(s);
    auto* second = new Pyrane::AnimatedSprite;
    second->frameDelay(0.5);
    second->parent(s);

    Sprite* copy = s->duplicate();
    EXPECT_EQ(copy->pos(), s->pos());
    EXPECT_EQ(copy->vel().value, 3 + 4 * 0.25f);
    EXPECT_EQ(copy->accel(), 4);
    EXPECT_EQ(copy->color(), s->color());
    EXPECT_FALSE(copy->visible());
    EXPECT_EQ(copy->imageRotation(), s->imageRotation());
    EXPECT_EQ(copy->imageRotationVelocity(), 6);
    EXPECT_EQ(copy->imageScale(), s->imageScale());
    EXPECT_EQ(copy->imageScaleVelocity(), Vector2<float>(9, 10));
    EXPECT_TRUE(copy->paused());
    EXPECT_TRUE(copy->drawChildrenAfterParent());
    // Age, distance and the absolute position belong to the original.
    EXPECT_EQ(copy->lifetime(), 0);
    EXPECT_EQ(copy->lifetrail(), 0);
    EXPECT_EQ(copy->posAbs(), Vector2<float>());
    // Relative to the same parent, which does not own it.
    EXPECT_EQ(copy->parent(), &root);
    EXPECT_EQ(root.children().size(), 1u);

    ASSERT_EQ(copy->children().size(), 2u);
    EXPECT_EQ(s->children(), (std::list<Sprite*>{first, second}));
    Sprite* copiedFirst = copy->children().front();
    Sprite* copiedSecond = copy->children().back();
    EXPECT_NE(copiedFirst, first);
    EXPECT_EQ(copiedFirst->parent(), copy);
    EXPECT_EQ(copiedFirst->pos().x, 11);
    auto* animated = dynamic_cast<Pyrane::AnimatedSprite*>(copiedSecond);
    ASSERT_NE(animated, nullptr);
    EXPECT_EQ(animated->frameDelay(), 0.5);
    EXPECT_EQ(animated->parent(), copy);

    delete copy; // not in root's list, so root is left alone
    EXPECT_EQ(root.children().size(), 1u);
    EXPECT_EQ(s->children().size(), 2u);
}

TEST(Sprite, CopyToReplacesTheTargetsChildren) {
    int deaths = 0;
    Sprite source;
    (new Sprite)->parent(&source);
    Sprite target;
    (new Counted(deaths))->parent(&target);
    (new Counted(deaths))->parent(&target);
    source.copyTo(&target);
    EXPECT_EQ(deaths, 2);
    ASSERT_EQ(target.children().size(), 1u);
    EXPECT_EQ(target.children().front()->parent(), &target);
    source.copyTo(&source); // nothing happens
    EXPECT_EQ(source.children().size(), 1u);
}

TEST(Sprite, AChildMayLeaveWhileItIsAnimated) {
    struct Leaver : Sprite {
        void animate(double dt) override {
            Sprite::animate(dt);
            delete this;
        }
    };
    Sprite parent;
    (new Leaver)->parent(&parent);
    auto* stays = new Sprite;
    stays->parent(&parent);
    stays->pos(3, 0);
    parent.animate(0.1);
    EXPECT_EQ(parent.children(), (std::list<Sprite*>{stays}));
    EXPECT_EQ(stays->posAbs().x, 3);
}
