#include "pyrane/sprite.h"

#include <cmath>
#include <tuple>

#include "enginetest.h"
#include "pyrane/animatedsprite.h"
#include "pyrane/imagesequence.h"

using Pyrane::AnimatedSprite;
using Pyrane::ImageSequence;
using Pyrane::Sprite;

namespace {

// Counts the destructions of its instances, to see who deletes whom.
struct Counted : Sprite {
    explicit Counted(int& deaths) : _deaths(deaths) {}
    ~Counted() override { ++_deaths; }
    int& _deaths;
};

} // namespace

TEST(Sprite, SpeedChangesBeforePositionAndDecelerationStopsWithoutTurning) {
    Sprite s;
    s.vel(100, 1.5f);
    s.accel(-300);
    s.animate(0.1);
    // (100 - 300 * 0.1) * 0.1 along the direction.
    EXPECT_FLOAT_EQ(s.vel().value, 70);
    EXPECT_NEAR(s.pos().y, 7 * std::sin(1.5f), 1e-4);
    for (double dt : {0.1, 0.1, 0.1, 0.5}) // stopped after a third of a second
        s.animate(dt);
    EXPECT_EQ(s.vel().value, 0);
    EXPECT_FLOAT_EQ(s.vel().angle, 1.5f);
    EXPECT_NEAR(s.pos().y, 12 * std::sin(1.5f), 1e-4);
    EXPECT_FLOAT_EQ(s.lifetime(), 0.9f);
    EXPECT_FLOAT_EQ(s.lifetrail(), 12);
}

TEST(Sprite, ImageTurnsAndScalesButNeverBelowZero) {
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
    EXPECT_EQ(child->posAbs(), V(110, 50));
    parent.vel(10, 0);
    parent.animate(1);
    EXPECT_FLOAT_EQ(child->posAbs().x, 120);
    EXPECT_FLOAT_EQ(child->lifetime(), 1.1f);
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
    (new Counted(deaths))->parent(b);

    a->parent(&q);
    EXPECT_EQ(p->children(), (std::list<Sprite*>{b}));
    EXPECT_EQ(q.children(), (std::list<Sprite*>{c, a}));
    delete c;
    EXPECT_EQ(q.children(), (std::list<Sprite*>{a}));
    delete p;
    EXPECT_EQ(deaths, 3); // c, b and b's child
    a->parent(nullptr);   // detached: the caller owns it now
    EXPECT_TRUE(q.children().empty());
    delete a;
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
    s->imageRotationVelocity(6);
    s->imageScaleVelocity({9, 10});
    s->pause(true);
    s->drawChildrenAfterParent(true);
    s->animate(0.25);
    (new Sprite)->parent(s);
    auto* animated = new AnimatedSprite;
    animated->frameDelay(0.5);
    animated->parent(s);

    std::unique_ptr<Sprite> copy(s->duplicate());
    auto fields = [](const Sprite& x) {
        return std::tuple(x.pos(), x.vel().value, x.vel().angle, x.accel(), x.color(), x.visible(),
                          x.imageRotation(), x.imageRotationVelocity(), x.imageScale(),
                          x.imageScaleVelocity(), x.paused(), x.drawChildrenAfterParent());
    };
    EXPECT_TRUE(fields(*copy) == fields(*s));
    // Age and distance belong to the original; the parent does not own the copy.
    EXPECT_EQ(copy->lifetime(), 0);
    EXPECT_EQ(copy->parent(), &root);
    EXPECT_EQ(root.children().size(), 1u);
    ASSERT_EQ(copy->children().size(), 2u);
    for (Sprite* child : copy->children()) {
        EXPECT_EQ(child->parent(), copy.get());
        EXPECT_EQ(std::count(s->children().begin(), s->children().end(), child), 0);
    }
    auto* copiedAnimated = dynamic_cast<AnimatedSprite*>(copy->children().back());
    ASSERT_NE(copiedAnimated, nullptr);
    EXPECT_EQ(copiedAnimated->frameDelay(), 0.5);
    copy.reset();
    EXPECT_EQ(root.children().size(), 1u);
    EXPECT_EQ(s->children().size(), 2u);

    // Copying onto another sprite deletes its children first.
    int deaths = 0;
    Sprite target;
    (new Counted(deaths))->parent(&target);
    (new Counted(deaths))->parent(&target);
    s->copyTo(&target);
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(target.children().size(), 2u);
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

namespace {

// A white bitmap: an 8 x 8 square with its hot spot at the bottom-left corner, and 16 x 16
// frames.
class SpriteTest : public EngineTest {
protected:
    ~SpriteTest() override { four.destroyImages(); }

    // Plays sprite in updates of 0.1 s and gives the frames shown, each with its image.
    static std::vector<int> play(AnimatedSprite& sprite, std::size_t updates) {
        std::vector<int> shown;
        while (shown.size() < updates) {
            sprite.animate(0.1);
            shown.push_back(sprite.frame());
            EXPECT_EQ(sprite.image(), sprite.sequence()->image(sprite.frame()));
        }
        return shown;
    }
    void playing(AnimatedSprite& sprite, ImageSequence& sequence) {
        sprite.sequence(sequence);
        sprite.frameDelay(0.1);
    }

    Pyrane::Bitmap bitmap{Vector2<unsigned int>(64, 16), renderer, RGBA<float>(1, 1, 1, 1)};
    Pyrane::Image square{bitmap.activate(), Box(0, 0, 8, 8), Vector2<int>(0, 0), true};
    ImageSequence four{bitmap, 16, 16, 0, 0, 4};
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
    parent.animate(0);
    // Where the parent alone, both, and the child alone are.
    auto row = [&] {
        clear(black);
        parent.draw();
        return std::vector<Rgb>{rgb(52, 52), rgb(56, 52), rgb(60, 52)};
    };
    EXPECT_EQ(row(), (std::vector<Rgb>{red, red, blue}));
    parent.drawChildrenAfterParent(true);
    EXPECT_EQ(row(), (std::vector<Rgb>{red, blue, blue}));
    child->visible(false);
    EXPECT_EQ(row(), (std::vector<Rgb>{red, red, black}));
    child->visible(true);
    parent.visible(false);
    EXPECT_EQ(row(), (std::vector<Rgb>{black, black, black}));
}

TEST_F(SpriteTest, ImageIsScaledAndTurnedAboutItsHotSpot) {
    Sprite s;
    s.image(&square);
    s.pos(100, 50);
    s.imageScale({2, 1});
    s.animate(0);
    s.draw();
    EXPECT_EQ(count(90, 40, 40, 20, white), 16 * 8);
    EXPECT_EQ(count(100, 50, 16, 8, white), 16 * 8);
    // A quarter turn counter-clockwise puts the square left of the hot spot.
    s.imageScale({1, 1});
    s.imageRotation(1.57f);
    clear(black);
    s.draw();
    EXPECT_EQ(rgb(96, 54), white);
    EXPECT_EQ(rgb(104, 54), black);
}

TEST_F(SpriteTest, DrawSpriteUsesTheRelativePositionAndRestoresTheColour) {
    Sprite parent;
    parent.pos(100, 0);
    Sprite* s = new Sprite;
    s->parent(&parent);
    s->image(&square);
    s->pos(20, 60);
    s->color(0, 0, 1, 1);
    parent.animate(0);
    renderer.color(1, 0, 0, 0.5f);
    renderer.drawSprite(*s);
    EXPECT_EQ(rgb(22, 62), blue);
    EXPECT_EQ(rgb(122, 62), black);
    EXPECT_EQ(renderer.color(), RGBA<float>(1, 0, 0, 0.5f));
    // Invisible or without an image: nothing drawn, the colour left alone.
    clear(black);
    s->visible(false);
    renderer.drawSprite(*s);
    s->visible(true);
    s->image(nullptr);
    renderer.drawSprite(*s);
    EXPECT_EQ(rgb(22, 62), black);
    EXPECT_EQ(renderer.color(), RGBA<float>(1, 1, 1, 1));
}

TEST_F(SpriteTest, FramePlaybackSequences) {
    const struct {
        const char* name;
        int frames, cycles, endFrame;
        bool pingPong, forward;
        std::vector<int> shown;
    } cases[] = {
        {"loop", 4, 1, 0, false, true, {1, 2, 3, 0, 1, 2, 3, 0, 0, 0}},
        {"loop backwards", 4, 0, 2, false, false, {3, 2, 2, 2}},
        {"ping-pong", 3, -1, 0, true, true, {1, 2, 2, 1, 0, 0, 1, 2, 2}},
        // The bounce step on frame 0 is the second arrival there.
        {"ping-pong once", 3, 1, 0, true, true, {1, 2, 2, 1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        ImageSequence sequence(bitmap, 16, 16, 0, 0, c.frames);
        AnimatedSprite sprite;
        playing(sprite, sequence);
        sprite.cycleEndFrame(c.endFrame);
        c.pingPong ? sprite.pingPong(c.cycles, c.forward) : sprite.loop(c.cycles, c.forward);
        EXPECT_EQ(play(sprite, c.shown.size()), c.shown) << c.name;
        if (c.cycles >= 0) {
            // A playback that has run out holds and does not start again.
            sprite.loop(1, true);
            EXPECT_EQ(play(sprite, 1).back(), c.shown.back()) << c.name;
            EXPECT_EQ(sprite.animType(), AnimatedSprite::HOLD) << c.name;
        }
        sequence.destroyImages();
    }
}

TEST_F(SpriteTest, LongUpdateCatchesUpSeveralFramesAndEndlessLoopsNeverHold) {
    AnimatedSprite sprite;
    playing(sprite, four);
    sprite.loop(-1, true);
    sprite.animate(0.35);
    EXPECT_EQ(sprite.frame(), 3);
    // 0.05 s carried over: another 0.05 s completes the next frame.
    sprite.animate(0.049);
    EXPECT_EQ(sprite.frame(), 3);
    sprite.animate(0.002);
    EXPECT_EQ(sprite.frame(), 0);
    play(sprite, 100);
    EXPECT_EQ(sprite.animType(), AnimatedSprite::LOOP);

    // Held frames are clamped to the sequence; without one nothing is shown.
    sprite.hold(7);
    sprite.animate(1);
    EXPECT_EQ(sprite.image(), four.image(3));
    AnimatedSprite empty;
    empty.loop(-1, true);
    empty.animate(1);
    EXPECT_EQ(empty.image(), nullptr);
}

TEST_F(SpriteTest, DuplicateCarriesThePlaybackAndTheTimeTowardsTheNextFrame) {
    AnimatedSprite sprite;
    playing(sprite, four);
    sprite.loop(2, false);
    sprite.cycleEndFrame(1);
    sprite.animate(0.25);
    std::unique_ptr<Sprite> copy(sprite.duplicate());
    auto* animated = dynamic_cast<AnimatedSprite*>(copy.get());
    ASSERT_NE(animated, nullptr);
    EXPECT_EQ(animated->sequence(), &four);
    EXPECT_EQ(animated->cycleEndFrame(), 1);
    for (AnimatedSprite* s : {&sprite, animated}) {
        s->animate(0.06);
        EXPECT_EQ(s->frame(), 1);
        EXPECT_EQ(play(*s, 4), (std::vector<int>{0, 3, 2, 1}));
    }
    EXPECT_EQ(animated->animType(), AnimatedSprite::LOOP);
}
