// The options screen as a player drives it from the title menu, with the keyboard and a pad.
#include "tarvex/stateoptions.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "common_classes/settings/settings.h"
#include "support/gamesession.h"

namespace {

using Tarvex::PlayerOptions;
using Tarvex::stateOptions;
using Line = Tarvex::StateOptions::Line;

class StateOptionsTest : public TestSupport::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        keyDown(VK_TAB);
        ASSERT_EQ(game.currentState(), &stateOptions);
    }
    void TearDown() override {
        if (game.currentState() == &stateOptions) keyDown(VK_ESCAPE);
        GameTest::TearDown();
    }
    static void padKey(unsigned int key) {
        game.message(game.hwnd(), WM_KEYDOWN, key, 1 | KEY_FROM_PAD);
    }
    // Presses the key `times` times.
    static void press(unsigned int key, int times) {
        for (int i = 0; i < times; ++i)
            keyDown(key);
    }
    // The loudest of the effects sounding, on the mixer's scale.
    static int loudestEffect() {
        int loudest = -1;
        for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
            if (Mix_Playing(channel)) loudest = std::max(loudest, Mix_Volume(channel, -1));
        return loudest;
    }
};

TEST_F(StateOptionsTest, OpenedByTabOrPadYOverTheTitlesMusicAndLeftBackToTheMenuAsItWas) {
    EXPECT_TRUE(Mix_PlayingMusic());
    stateOptions.dt = 0.1;
    stateOptions.frame();
    const Vector2<float> credits = Tarvex::stateMenu.credits.pos();
    padKey(VK_ESCAPE); // the pad's Back
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
    EXPECT_EQ(Tarvex::stateMenu.credits.pos(), credits) << "the title went on where it was";
    padKey(VK_TAB); // the pad's Y
    EXPECT_EQ(game.currentState(), &stateOptions);
    EXPECT_EQ(stateOptions._line, Line::Music);

    // Leaving writes every option beside the keys the file held.
    press(VK_LEFT, 3);
    press(VK_UP, 1);
    keyDown(VK_RETURN); // BACK
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
    Settings saved(game.settingsFile, false);
    EXPECT_EQ(saved["musicVolume"].stringValue, "7");
    EXPECT_EQ(saved["keyPause"].stringValue, "P");
    EXPECT_EQ(saved["volume"].stringValue, "7");
    EXPECT_EQ(saved["name"].stringValue, "a b");

    // The window closed on the options screen keeps what was changed there.
    keyDown(VK_TAB);
    press(VK_LEFT, 2);
    game.close();
    game.startSound();
    EXPECT_EQ(Settings(game.settingsFile, false)["musicVolume"].stringValue, "5");
}

TEST_F(StateOptionsTest, VolumesReachTheMixerAtOnceAndEachEffectsStepSounds) {
    // The title's song plays at 70 of 256, 35 on the mixer's 128.
    ASSERT_EQ(Mix_VolumeMusic(-1), 35);
    press(VK_LEFT, 5);
    EXPECT_EQ(game.playerOptions.musicVolume, 5);
    EXPECT_EQ(Mix_VolumeMusic(-1), 17);
    press(VK_RIGHT, 9);
    EXPECT_EQ(game.playerOptions.musicVolume, 10) << "no louder than 10";

    keyDown(VK_DOWN);
    Mix_HaltChannel(-1);
    keyDown(VK_LEFT);
    // 150 of 255 is 75 of 128, and nine tenths of it 68.
    EXPECT_EQ(loudestEffect(), 68);
    press(VK_LEFT, 12);
    EXPECT_EQ(game.playerOptions.effectsVolume, 0);
    Mix_HaltChannel(-1);
    keyDown(VK_LEFT);
    EXPECT_EQ(loudestEffect(), 0);
}

TEST_F(StateOptionsTest, AKeyLineWaitsForTheNewKeyAndAKeyTakenSwapsWithIt) {
    press(VK_DOWN, 6); // FIRE
    keyDown(VK_RETURN);
    EXPECT_EQ(stateOptions.value(Line::KeyFire), "PRESS A KEY");
    keyDown(VK_ESCAPE);
    EXPECT_EQ(game.currentState(), &stateOptions) << "Escape only cancels the wait";
    EXPECT_EQ(stateOptions.value(Line::KeyFire), "SPACE");

    keyDown(VK_SPACE);
    padKey(VK_RIGHT);
    EXPECT_TRUE(stateOptions._waitingForKey) << "a pad's control is no key to bind";
    keyDown('X');
    EXPECT_EQ(stateOptions.value(Line::KeyFire), "X");

    press(VK_UP, 4); // LEFT
    keyDown('X');    // acts now: X is the fire key
    keyDown('X');
    EXPECT_EQ(stateOptions.value(Line::KeyLeft), "X");
    EXPECT_EQ(stateOptions.value(Line::KeyFire), "LEFT");

    press(VK_DOWN, 8); // DEFAULTS, steering down with the arrow that still steers down
    keyDown(VK_RETURN);
    EXPECT_EQ(game.playerOptions, PlayerOptions());
}

TEST_F(StateOptionsTest, APadsDpadKeepsItsMeaningWhenTheKeyboardsArrowsAreSwapped) {
    game.playerOptions.bind(PlayerOptions::Up, VK_LEFT); // Left takes the Up arrow
    padKey(VK_DOWN);
    padKey(VK_UP);
    EXPECT_EQ(stateOptions._line, Line::Music);
    keyDown(VK_UP);
    EXPECT_EQ(game.playerOptions.musicVolume, 9);
}

} // namespace
