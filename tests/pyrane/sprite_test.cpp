#include "pyrane/sprite.h"

#include <cmath>

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

TEST(Sprite, SpeedChangesBeforePositionAndDecelerationStopsWithoutTurning) {
    Sprite s;
    s.vel(100, 1.5f);
    s.accel(-300);
    s.animate(0.1);
    // (100 - 300 * 0.1) * 0.1 along the direction.
    EXPECT_NEAR(s.pos().y, 7 * std::sin(1.5f), 1e-4);
    for (double dt : {0.1, 0.1, 0.1, 0.5}) // stopped after a third of a second
        s.animate(dt);
    EXPECT_TRUE(s.vel().value == 0 && s.vel().angle == 1.5f);
    EXPECT_NEAR(s.pos().y, 12 * std::sin(1.5f), 1e-4);
    EXPECT_FLOAT_EQ(s.lifetrail(), 12);
}

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

// A white bitmap with an 8 x 8 square on it, its hot spot at the bottom-left corner.
class SpriteTest : public EngineTest {
protected:
    // The frames shown in updates of 0.1 s, each with its image.
    static std::vector<int> play(AnimatedSprite& s, std::size_t updates) {
        std::vector<int> shown;
        while (shown.size() < updates) {
            s.animate(0.1);
            shown.push_back(s.frame());
            EXPECT_EQ(s.image(), s.sequence()->image(s.frame()));
        }
        return shown;
    }

    Bitmap bitmap{Vector2<unsigned int>(64, 16), renderer, RGBA<float>(1, 1, 1, 1)};
    Image square{bitmap.activate(), Box(0, 0, 8, 8), Vector2<int>(0, 0), true};
};

} // namespace

TEST_F(SpriteTest, ChildrenAreDrawnBeneathOrOnTopOfTheirParentAndHiddenWithIt) {
    Sprite parent;
    parent.image(&square);
    parent.color(1, 0, 0, 1);
    parent.pos(50, 50);
    Sprite* child = new Sprite;
    child->parent(&parent);
    child->image(&square);
    child->color(0, 0, 1, 1);
    child->pos(4, 0);
    child->imageScale({2, 1});
    parent.animate(0);
    // Where the parent alone, both, the child alone and the child's scaled end are.
    auto row = [&] {
        clear(black);
        parent.draw();
        return std::vector<Rgb>{rgb(52, 52), rgb(56, 52), rgb(60, 52), rgb(69, 52), rgb(70, 52)};
    };
    EXPECT_EQ(row(), (std::vector<Rgb>{red, red, blue, blue, black}));
    parent.drawChildrenAfterParent(true);
    EXPECT_EQ(row(), (std::vector<Rgb>{red, blue, blue, blue, black}));
    child->visible(false);
    EXPECT_EQ(row(), (std::vector<Rgb>{red, red, black, black, black}));
    child->visible(true);
    parent.visible(false);
    EXPECT_EQ(row(), std::vector<Rgb>(5, black));
}

TEST_F(SpriteTest, APlaybackRunsItsCyclesThenHoldsItsLastFrame) {
    // The game's power-ups loop for ever; a playback that has run out holds and does not
    // start again.
    ImageSequence sequence(bitmap, 16, 16, 0, 0, 4);
    AnimatedSprite s;
    s.sequence(sequence);
    s.frameDelay(0.1);
    s.loop(1, true);
    EXPECT_EQ(play(s, 10), (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 0, 0}));
    s.loop(1, true);
    EXPECT_EQ(play(s, 1).back(), 0);
    sequence.destroyImages();
}

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
