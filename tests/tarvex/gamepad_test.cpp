// A gamepad playing the game: SDL's virtual joystick, plugged in while the game runs, its
// buttons and stick read through SDL's game controller layer, and the key messages the
// states receive through the platform's queue, as the main loop hands them on.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "support/gamesession.h"
#include "tarvex/stateinitials.h"
#include "tarvex/stateoptions.h"

namespace {

using Tarvex::statePlay;

struct KeyMessage {
    unsigned int message, key;
    long flags; // bits 30 and 31 of lParam
    bool operator==(const KeyMessage&) const = default;
};

std::ostream& operator<<(std::ostream& out, const KeyMessage& m) {
    return out << (m.message == WM_KEYDOWN ? "down " : "up ") << m.key << " flags " << m.flags;
}

constexpr long wasDown = KEY_PREVIOUSLY_DOWN;
constexpr long released = KEY_PREVIOUSLY_DOWN | KEY_TRANSITION_UP;

class GamepadTest : public TestSupport::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        // The test window may not have the keyboard focus, without which SDL holds back
        // a pad's presses, as a player would want while another program is in front.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        pump();
    }
    void TearDown() override {
        for (int i = int(_pads.size()) - 1; i >= 0; --i)
            unplug(i);
        pump();
        GameTest::TearDown();
    }

    // Plugs in a pad as SDL's virtual game controller; returns its number for the test.
    int plugIn() {
        SDL_VirtualJoystickDesc pad{};
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.naxes = SDL_CONTROLLER_AXIS_MAX;
        pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad.name = "Kestrane test pad";
        const int device = SDL_JoystickAttachVirtualEx(&pad);
        EXPECT_GE(device, 0) << SDL_GetError();
        SDL_Joystick* joystick = SDL_JoystickOpen(device);
        EXPECT_NE(joystick, nullptr) << SDL_GetError();
        _pads.push_back(joystick);
        return int(_pads.size()) - 1;
    }
    void unplug(int pad) {
        SDL_Joystick* joystick = _pads.at(pad);
        if (!joystick) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        _pads[pad] = nullptr;
    }
    void button(int pad, SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(_pads.at(pad), b, down);
    }
    // Presses and lets go of the button, each handed to the game.
    void click(int pad, SDL_GameControllerButton b) {
        button(pad, b, true);
        pump();
        button(pad, b, false);
        pump();
    }
    void axis(int pad, SDL_GameControllerAxis a, int value) {
        SDL_JoystickSetVirtualAxis(_pads.at(pad), a, Sint16(value));
    }

    // Hands every waiting message to the game as the main loop does and returns the key
    // messages among them.
    std::vector<KeyMessage> pump() {
        std::vector<KeyMessage> keys;
        Platform::Message m;
        while (Platform::peekMessage() && Platform::getMessage(m)) {
            if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) {
                EXPECT_EQ(m.lParam & 0xFFFF, 1) << "a repeat count of 1";
                keys.push_back({m.message, m.wParam, m.lParam & released});
            }
            Platform::dispatchMessage(m);
        }
        return keys;
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            statePlay.dt = 0.01;
            statePlay.frame();
        }
    }
    float shipX() { return statePlay._player._ship.pos().x; }

private:
    std::vector<SDL_Joystick*> _pads;
};

TEST_F(GamepadTest, APadPluggedInWhileTheGameRunsStartsStearsFiresAndPauses) {
    const int pad = plugIn();
    EXPECT_EQ(pump(), std::vector<KeyMessage>{});
    // Start in the title menu: the key P, which starts a game like any key.
    button(pad, SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYDOWN, 'P', 0}}));
    EXPECT_EQ(game.currentState(), &statePlay);
    EXPECT_TRUE(game.keyDown('P'));
    button(pad, SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYUP, 'P', released}}));
    EXPECT_FALSE(game.keyDown('P'));
    statePlay._player.invulnerable(0);

    // The stick: right past the dead zone, held inside the hysteresis band, then back.
    const float x0 = shipX();
    axis(pad, SDL_CONTROLLER_AXIS_LEFTX, 20000);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_RIGHT, 0}}));
    frames(20);
    const float x1 = shipX();
    EXPECT_GT(x1, x0 + 5);
    // Wobbling inside the band queues nothing at all: no key, and no event that would
    // take a place of the main loop's budget.
    for (int value : {12000, 15000, 10001, 15999, 12000}) {
        axis(pad, SDL_CONTROLLER_AXIS_LEFTX, value);
        EXPECT_FALSE(Platform::peekMessage()) << value;
    }
    EXPECT_TRUE(game.keyDown(VK_RIGHT));
    frames(5);
    EXPECT_GT(shipX(), x1) << "still steering";
    axis(pad, SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYUP, VK_RIGHT, released}}));
    EXPECT_FALSE(game.keyDown(VK_RIGHT));
    axis(pad, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_UP, 0}}));
    EXPECT_TRUE(statePlay._player._up);
    axis(pad, SDL_CONTROLLER_AXIS_LEFTY, 0);
    pump();

    // A fires; X held with it is the same key already down, and only the last of them
    // to let go releases it. Held for many frames, nothing repeats.
    const int shots = statePlay._shotsFired;
    button(pad, SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_SPACE, 0}}));
    button(pad, SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_SPACE, wasDown}}));
    for (int i = 0; i < 10; ++i) {
        frames(2);
        EXPECT_EQ(pump(), std::vector<KeyMessage>{});
    }
    EXPECT_GT(statePlay._shotsFired, shots);
    button(pad, SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(pump(), std::vector<KeyMessage>{});
    EXPECT_TRUE(statePlay._player._fire);
    button(pad, SDL_CONTROLLER_BUTTON_X, false);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYUP, VK_SPACE, released}}));
    EXPECT_FALSE(statePlay._player._fire);
    // A virtual pad's trigger runs over the whole range, resting at its minimum.
    axis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MAX);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_SPACE, 0}}));
    axis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYUP, VK_SPACE, released}}));

    // Start pauses and unpauses; Back returns to the menu.
    // (A virtual pad's button only counts as pressed once a pump has seen it down.)
    for (bool paused : {true, false}) {
        button(pad, SDL_CONTROLLER_BUTTON_START, true);
        pump();
        button(pad, SDL_CONTROLLER_BUTTON_START, false);
        pump();
        EXPECT_EQ(game.paused, paused);
    }
    button(pad, SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_ESCAPE, 0}}));
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
    button(pad, SDL_CONTROLLER_BUTTON_BACK, false);
    pump();
}

TEST_F(GamepadTest, APadPulledOutLetsGoOfItsKeysSoTheShipStopsDrifting) {
    const int first = plugIn(), second = plugIn();
    pump();
    game.play();
    statePlay._player.invulnerable(0);
    button(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    axis(first, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MAX);
    button(second, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    pump();
    frames(10);
    EXPECT_TRUE(game.keyDown(VK_LEFT) && game.keyDown(VK_SPACE) && game.keyDown(VK_UP));

    unplug(first);
    std::vector<KeyMessage> keys = pump();
    std::sort(keys.begin(), keys.end(), [](auto& a, auto& b) { return a.key < b.key; });
    EXPECT_EQ(keys, (std::vector<KeyMessage>{{WM_KEYUP, VK_SPACE, released},
                                             {WM_KEYUP, VK_LEFT, released}}));
    EXPECT_FALSE(game.keyDown(VK_LEFT) || game.keyDown(VK_SPACE));
    EXPECT_TRUE(game.keyDown(VK_UP)) << "the other pad still holds its key";
    frames(100);
    const float x = shipX();
    frames(10);
    EXPECT_EQ(shipX(), x) << "the ship coasts to rest";
    EXPECT_FALSE(statePlay._player._fire);

    unplug(second);
    EXPECT_EQ(pump(), (std::vector<KeyMessage>{{WM_KEYUP, VK_UP, released}}));
    EXPECT_FALSE(game.keyDown(VK_UP));
}

// Initials by pad: the d-pad's up and down change the letter, left goes back, A takes it
// and Back keeps what is shown.
TEST_F(GamepadTest, APadEntersTheInitialsOfAGameForTheTable) {
    const int pad = plugIn();
    pump();
    auto press = [&](SDL_GameControllerButton b) { click(pad, b); };
    game.play();
    statePlay._score = 1e6f;
    statePlay.gameOver();
    statePlay._gameOverTime = 1;
    press(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(game.currentState(), &Tarvex::stateInitials);
    std::string expected = Tarvex::stateInitials.initials;
    const std::string_view alphabet = Tarvex::RecordTable::initialsAlphabet;
    expected[1] = alphabet[(alphabet.find(expected[1]) + 2) % alphabet.size()];
    expected[0] = alphabet[(alphabet.find(expected[0]) + alphabet.size() - 1) % alphabet.size()];

    press(SDL_CONTROLLER_BUTTON_A);
    press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(Tarvex::stateInitials.initials, expected);
    press(SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
    EXPECT_EQ(game.records.table().records.at(0).initials, expected);
}

TEST_F(GamepadTest, APadDrivesTheOptionsAndKeepsItsOwnControlsWhateverTheKeyboardsKeys) {
    const int pad = plugIn();
    pump();
    auto press = [&](SDL_GameControllerButton b) { click(pad, b); };
    press(SDL_CONTROLLER_BUTTON_Y);
    ASSERT_EQ(game.currentState(), &Tarvex::stateOptions);
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    EXPECT_EQ(game.playerOptions.effectsVolume, 9);
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN); // LEFT
    press(SDL_CONTROLLER_BUTTON_A);
    press(SDL_CONTROLLER_BUTTON_X);
    EXPECT_TRUE(Tarvex::stateOptions._waitingForKey) << "a pad's button is no key to bind";
    keyDown('A');
    EXPECT_EQ(game.playerOptions.keys[Tarvex::PlayerOptions::Left], unsigned('A'));
    press(SDL_CONTROLLER_BUTTON_BACK);
    ASSERT_EQ(game.currentState(), &Tarvex::stateMenu);

    // The keyboard's Left no longer steers; the pad's d-pad still does.
    game.play();
    statePlay._player.invulnerable(0);
    const float start = shipX();
    keyDown(VK_LEFT);
    frames(10);
    EXPECT_EQ(shipX(), start);
    keyUp(VK_LEFT);
    button(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pump();
    frames(10);
    EXPECT_LT(shipX(), start);
    button(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    pump();
}

} // namespace
