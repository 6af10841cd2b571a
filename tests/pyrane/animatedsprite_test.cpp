#include "pyrane/animatedsprite.h"

#include <gtest/gtest.h>

#include <vector>

#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "pyrane/imagesequence.h"
#include "pyrane/renderer2d.h"
#include "support/glwindow.h"

using Pyrane::AnimatedSprite;

namespace {

class AnimatedSpriteTest : public ::testing::Test {
protected:
    AnimatedSpriteTest() { TestSupport::app(); }
    ~AnimatedSpriteTest() override { sequence.destroyImages(); }

    // A sequence of `frames` frames of 16 x 16 cut from one row.
    void frames(int count) {
        sequence.add(bitmap, 16, 16, 0, 0, count);
        ASSERT_EQ(sequence.count(), count);
        sprite.sequence(sequence);
        sprite.frameDelay(0.1);
    }

    // The frames shown after each of `updates` updates of one frame delay.
    std::vector<int> play(int updates) {
        std::vector<int> shown;
        for (int i = 0; i < updates; ++i) {
            sprite.animate(0.1);
            shown.push_back(sprite.frame());
            EXPECT_EQ(sprite.image(), sequence.image(sprite.frame()));
        }
        return shown;
    }

    Pyrane::Renderer2D renderer{Vell::AABB2<int>(0, 0, 160, 100)};
    Pyrane::Bitmap bitmap{Vector2<unsigned int>(64, 16), renderer, RGBA<float>(1, 1, 1, 1)};
    Pyrane::ImageSequence sequence;
    AnimatedSprite sprite;
};

} // namespace

TEST_F(AnimatedSpriteTest, LoopRunsItsCyclesAndHoldsOnTheCycleEndFrame) {
    frames(4);
    sprite.loop(1, true);
    EXPECT_EQ(play(10), (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 0, 0}));
    EXPECT_EQ(sprite.animType(), AnimatedSprite::HOLD);
    // A playback that has run out does not start again.
    sprite.loop(1, true);
    EXPECT_EQ(sprite.animType(), AnimatedSprite::HOLD);
    EXPECT_EQ(play(2), (std::vector<int>{0, 0}));
}

TEST_F(AnimatedSpriteTest, LoopBackwardsWrapsToTheLastFrame) {
    frames(4);
    sprite.cycleEndFrame(2);
    sprite.loop(0, false);
    EXPECT_EQ(play(4), (std::vector<int>{3, 2, 2, 2}));
    EXPECT_FALSE(sprite.animForward());
}

TEST_F(AnimatedSpriteTest, PingPongShowsTheEndFramesTwice) {
    frames(3);
    sprite.pingPong(-1, true);
    EXPECT_EQ(play(9), (std::vector<int>{1, 2, 2, 1, 0, 0, 1, 2, 2}));
}

TEST_F(AnimatedSpriteTest, PingPongWithDefaultsHoldsAtTheBounceOnFrameZero) {
    frames(3);
    sprite.pingPong(1, true);
    EXPECT_EQ(play(7), (std::vector<int>{1, 2, 2, 1, 0, 0, 0}));
    EXPECT_EQ(sprite.animType(), AnimatedSprite::HOLD);
}

TEST_F(AnimatedSpriteTest, LongUpdateCatchesUpSeveralFrames) {
    frames(4);
    sprite.loop(-1, true);
    sprite.animate(0.35);
    EXPECT_EQ(sprite.frame(), 3);
    // 0.05 s carried over: another 0.05 s completes the next frame.
    sprite.animate(0.049);
    EXPECT_EQ(sprite.frame(), 3);
    sprite.animate(0.002);
    EXPECT_EQ(sprite.frame(), 0);
    // A negative cycle count never holds.
    for (int i = 0; i < 100; ++i)
        sprite.animate(0.1);
    EXPECT_EQ(sprite.animType(), AnimatedSprite::LOOP);
}

TEST_F(AnimatedSpriteTest, HoldShowsTheFrameWithTheIndexClamped) {
    frames(4);
    sprite.hold(7);
    sprite.animate(1);
    EXPECT_EQ(sprite.frame(), 7);
    EXPECT_EQ(sprite.image(), sequence.image(3));
    // Without a sequence nothing is played or shown.
    AnimatedSprite empty;
    empty.loop(-1, true);
    empty.animate(1);
    EXPECT_EQ(empty.frame(), 0);
    EXPECT_EQ(empty.image(), nullptr);
}

TEST_F(AnimatedSpriteTest, MovesAndAnimatesItsChildrenWhilePlaying) {
    frames(4);
    sprite.loop(-1, true);
    sprite.vel(10, 0);
    auto* child = new AnimatedSprite;
    child->parent(&sprite);
    child->sequence(sequence);
    child->frameDelay(0.1);
    child->loop(-1, false);
    sprite.animate(0.1);
    EXPECT_FLOAT_EQ(sprite.pos().x, 1);
    EXPECT_EQ(child->frame(), 3);
    EXPECT_FLOAT_EQ(child->posAbs().x, 1);
}

TEST_F(AnimatedSpriteTest, DuplicateCarriesThePlayback) {
    frames(4);
    sprite.loop(2, false);
    sprite.cycleEndFrame(1);
    sprite.animate(0.25);
    Pyrane::Sprite* copy = sprite.duplicate();
    auto* animated = dynamic_cast<AnimatedSprite*>(copy);
    ASSERT_NE(animated, nullptr);
    EXPECT_EQ(animated->sequence(), &sequence);
    EXPECT_EQ(animated->frame(), sprite.frame());
    EXPECT_EQ(animated->animType(), AnimatedSprite::LOOP);
    EXPECT_FALSE(animated->animForward());
    EXPECT_EQ(animated->cycleEndFrame(), 1);
    // The time towards the next frame came along too.
    sprite.animate(0.06);
    animated->animate(0.06);
    EXPECT_EQ(animated->frame(), 1);
    EXPECT_EQ(sprite.frame(), 1);
    delete copy;
}
