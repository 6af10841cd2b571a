// The pads' controls as keys: hysteresis on the stick and the trigger, and a pad pulled
// out. Which key each button is, and keys shared by several controls, the gamepad test
// checks through SDL's virtual pad.
#include "common_classes/platform/padkeys.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common_classes/platform/win32defs.h"

namespace {

using Platform::PadKeys;

// A key change as the pad's messages carry it: "+37" down, "+37r" down while already
// down, "-37" up.
using Changes = std::vector<std::string>;

class PadKeysTest : public ::testing::Test {
protected:
    // What `input` makes the keys do.
    Changes changes(const std::function<void(const PadKeys::Emit&)>& input) {
        Changes seen;
        input([&](int key, bool down, bool wasDown) {
            EXPECT_TRUE(down || wasDown) << "a key-up is always of a key that was down";
            seen.push_back((down ? "+" : "-") + std::to_string(key) + (down && wasDown ? "r" : ""));
        });
        return seen;
    }
    Changes button(int pad, PadKeys::Control c, bool pressed) {
        return changes([&](const PadKeys::Emit& e) { keys.button(pad, c, pressed, e); });
    }
    Changes stickX(int value, int pad = 1) {
        return changes([&](const PadKeys::Emit& e) { keys.stickX(pad, value, e); });
    }
    Changes stickY(int value, int pad = 1) {
        return changes([&](const PadKeys::Emit& e) { keys.stickY(pad, value, e); });
    }
    Changes trigger(int value, int pad = 1) {
        return changes([&](const PadKeys::Emit& e) { keys.rightTrigger(pad, value, e); });
    }
    Changes unplug(int pad) {
        return changes([&](const PadKeys::Emit& e) { keys.unplug(pad, e); });
    }

    PadKeys keys;
};

const std::string space = std::to_string(VK_SPACE), left = std::to_string(VK_LEFT),
                  right = std::to_string(VK_RIGHT), up = std::to_string(VK_UP),
                  down = std::to_string(VK_DOWN);

TEST_F(PadKeysTest, StickAndTriggerTakeTheirKeysPastOneThresholdAndLetGoInsideAnother) {
    // Values in turn and the changes each makes; the thresholds are 16000 and 10000 for
    // the stick, 16000 and 8000 for the trigger.
    const std::vector<std::pair<int, Changes>> x = {
        {15999, {}},
        {16000, {"+" + right}},
        {12000, {}},
        {15999, {}},
        {16500, {}},
        {10000, {}},
        {9999, {"-" + right}},
        {15000, {}},
        {-15999, {}},
        {-32768, {"+" + left}},
        {32767, {"-" + left, "+" + right}},
        {0, {"-" + right}},
    };
    for (const auto& [value, expected] : x)
        EXPECT_EQ(stickX(value), expected) << "x " << value;
    // Up is negative on a pad's stick.
    const std::vector<std::pair<int, Changes>> y = {
        {-16000, {"+" + up}}, {20000, {"-" + up, "+" + down}}, {-9000, {"-" + down}}, {9000, {}}};
    for (const auto& [value, expected] : y)
        EXPECT_EQ(stickY(value), expected) << "y " << value;
    const std::vector<std::pair<int, Changes>> t = {
        {15999, {}}, {16000, {"+" + space}}, {8000, {}}, {12000, {}}, {7999, {"-" + space}}};
    for (const auto& [value, expected] : t)
        EXPECT_EQ(trigger(value), expected) << "trigger " << value;
}

TEST_F(PadKeysTest, APadPulledOutLetsGoOfEveryKeyOnlyItHeld) {
    button(1, PadKeys::DpadRight, true);
    stickY(-30000);
    trigger(30000);
    button(1, PadKeys::A, true);
    button(2, PadKeys::DpadRight, true);
    // The keys go up in the order of the pad's controls; right stays, the other pad holds it.
    EXPECT_EQ(unplug(1), (Changes{"-" + up, "-" + space}));
    EXPECT_FALSE(keys.holds(VK_SPACE) || keys.holds(VK_UP));
    EXPECT_TRUE(keys.holds(VK_RIGHT));
    EXPECT_EQ(unplug(1), Changes{}) << "gone already";
    EXPECT_EQ(unplug(2), Changes{"-" + right});
    // The same pad id plugged in again starts with nothing held.
    EXPECT_EQ(stickX(0), Changes{});
    EXPECT_EQ(button(1, PadKeys::A, true), Changes{"+" + space});
    keys.clear();
    EXPECT_FALSE(keys.holds(VK_SPACE));
    EXPECT_EQ(button(1, PadKeys::A, true), Changes{"+" + space}) << "cleared without messages";
}

// A held fire button repeats as the keyboard repeats a held Space, which the game
// takes as a fresh pull of the trigger for a new ship; no other control repeats.
TEST_F(PadKeysTest, AHeldFireButtonRepeatsAsAHeldSpaceDoesAndNothingElse) {
    auto at = [&](double now) {
        return changes([&](const PadKeys::Emit& e) { keys.repeat(now, e); });
    };
    const Changes fire{"+32r"};
    button(1, PadKeys::DpadLeft, true);
    button(1, PadKeys::Start, true);
    EXPECT_EQ(at(10), Changes{}) << "steering and pause never repeat";
    EXPECT_EQ(button(1, PadKeys::A, true), Changes{"+32"});
    EXPECT_EQ(at(10), Changes{});
    EXPECT_EQ(at(10.65), Changes{});
    EXPECT_EQ(at(10.67), fire);
    EXPECT_EQ(at(10.70), Changes{});
    EXPECT_EQ(at(10.72), fire);
    EXPECT_EQ(at(60), fire) << "one repeat after a long wait, not a burst";
    EXPECT_EQ(at(60.01), Changes{});
    trigger(20000);
    button(1, PadKeys::A, false);
    EXPECT_EQ(at(60.05), fire) << "the trigger holds fire still";
    EXPECT_EQ(trigger(0), Changes{"-32"});
    EXPECT_EQ(at(61), Changes{});
    button(2, PadKeys::B, true);
    EXPECT_EQ(at(70), Changes{});
    EXPECT_EQ(at(70.5), Changes{}) << "a new press waits the whole delay again";
}

} // namespace
