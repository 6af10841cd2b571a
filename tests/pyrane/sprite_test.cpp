#include "pyrane/sprite.h"

#include "enginetest.h"
#include "pyrane/animatedsprite.h"
#include "pyrane/imagesequence.h"

namespace {

// Counts the destructions of its instances, to see who deletes whom; one that leaves
// deletes itself when animated.
struct Counted : Sprite {
    Counted(int& deaths, bool leaves = false) : _deaths(deaths), _leaves(leaves) {}
    ~Counted() override { ++_deaths; }
    void animate(double dt) override {
        Sprite::animate(dt);
        if (_leaves) delete this;
    }
    int& _deaths;
    bool _leaves;
};

} // namespace

TEST(Sprite, ChildrenFollowAndBelongToTheirParent) {
    int deaths = 0;
    Sprite q;
    auto* p = new Sprite;
    auto* a = new Counted(deaths);
    auto* b = new Counted(deaths);
    auto* c = new Counted(deaths);
    a->parent(p);
    b->parent(p);
    (new Counted(deaths))->parent(b);
    c->parent(&q);
    a->pos(10, 0);
    p->pos(100, 50);
    // A child may leave while it is animated.
    (new Counted(deaths, true))->parent(p);
    p->animate(0.1);
    EXPECT_EQ(a->posAbs(), V(110, 50));
    EXPECT_EQ(deaths, 1);

    a->parent(&q);
    EXPECT_EQ(p->children(), (std::list<Sprite*>{b}));
    EXPECT_EQ(q.children(), (std::list<Sprite*>{c, a}));
    delete c;
    delete p;
    EXPECT_EQ(deaths, 4); // c, b and b's child
    EXPECT_EQ(q.children(), (std::list<Sprite*>{a}));
    a->parent(nullptr); // detached: the caller owns it now
    EXPECT_TRUE(q.children().empty());
    delete a;
}

namespace {

// A white bitmap to cut animation frames from.
class SpriteTest : public EngineTest {
protected:
    Bitmap bitmap{Vector2<unsigned int>(64, 16), renderer, RGBA<float>(1, 1, 1, 1)};
};

} // namespace

TEST_F(SpriteTest, ALongUpdateCatchesUpSeveralFrames) {
    ImageSequence four(bitmap, 16, 16, 0, 0, 4);
    AnimatedSprite sprite;
    sprite.sequence(four);
    sprite.frameDelay(0.1);
    sprite.loop(-1, true);
    sprite.animate(0.35);
    EXPECT_EQ(sprite.frame(), 3);
    // 0.05 s carried over: another 0.05 s completes the next frame.
    sprite.animate(0.049);
    EXPECT_EQ(sprite.frame(), 3);
    sprite.animate(0.002);
    EXPECT_EQ(sprite.frame(), 0);
    // Without a sequence nothing is shown.
    AnimatedSprite empty;
    empty.loop(-1, true);
    empty.animate(1);
    EXPECT_EQ(empty.image(), nullptr);
    four.destroyImages();
}
