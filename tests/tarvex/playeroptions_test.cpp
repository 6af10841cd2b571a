// The player's options in the settings file, and the keys the player binds.
#include "tarvex/playeroptions.h"

#include <gtest/gtest.h>

#include "common_classes/platform/win32defs.h"
#include "common_classes/settings/settings.h"
#include "support/files.h"
#include "support/tempdir.h"

namespace {

using Tarvex::PlayerOptions;

// The options read from a settings file of this text, and what reading said on
// standard error.
PlayerOptions readFrom(const std::string& text, Settings& settings, std::string& said) {
    TestSupport::TempDir dir;
    settings.load(TestSupport::writeFile(dir.path("kestrane.conf"), text), false);
    PlayerOptions options;
    testing::internal::CaptureStderr();
    options.read(settings);
    said = testing::internal::GetCapturedStderr();
    return options;
}

TEST(PlayerOptions, ATodaysFileGivesTheDefaultsSilentlyAndWhatIsWrittenReadsBack) {
    Settings settings;
    std::string said;
    EXPECT_EQ(readFrom("screenSize 3\nvolume 7\n", settings, said), PlayerOptions());
    EXPECT_EQ(said, "");

    PlayerOptions chosen;
    chosen.musicVolume = 0;
    chosen.effectsVolume = 7;
    chosen.bind(PlayerOptions::Fire, 'X');
    chosen.bind(PlayerOptions::Pause, VK_OTHER_BASE + 300);
    chosen.desktopFullScreen = true;
    chosen.vsync = false;
    chosen.write(settings);
    TestSupport::TempDir dir;
    ASSERT_TRUE(settings.save(dir.path("kestrane.conf")));
    Settings again(dir.path("kestrane.conf"), false);
    PlayerOptions read;
    read.read(again);
    EXPECT_EQ(read, chosen);
    EXPECT_EQ(again["screenSize"].stringValue, "3");
    EXPECT_EQ(again["keyFire"].stringValue, "X");
    EXPECT_EQ(again["fullScreen"].stringValue, "desktop");
}

TEST(PlayerOptions, AnUnusableValueOfEachOptionGivesItsDefaultAndALineWhileTheRestStill) {
    Settings settings;
    std::string said;
    const PlayerOptions read = readFrom("musicVolume 11\neffectsVolume 3x\nkeyLeft F5\n"
                                        "keyRight \"\"\nkeyUp NOKEY\nkeyDown ESCAPE\nkeyFire F12\n"
                                        "keyPause #99999\nfullScreen 800x600\nvsync maybe\n"
                                        "screenSize 2\nname \"a b\"\n",
                                        settings, said);
    EXPECT_EQ(read, PlayerOptions());
    for (const char* key : {"musicVolume", "effectsVolume", "keyLeft", "keyRight", "keyUp",
                            "keyDown", "keyFire", "keyPause", "fullScreen", "vsync"})
        EXPECT_NE(said.find(std::string("setting ") + key + " "), std::string::npos) << key;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 10) << said;

    // Good values beside bad ones still apply, and nothing else in the file is lost.
    const PlayerOptions mixed =
        readFrom("musicVolume 4\neffectsVolume -1\nkeyFire Z\nvsync off\nname \"a b\"\n", settings,
                 said);
    EXPECT_EQ(mixed.musicVolume, 4);
    EXPECT_EQ(mixed.effectsVolume, 10);
    EXPECT_EQ(mixed.keys[PlayerOptions::Fire], unsigned('Z'));
    EXPECT_FALSE(mixed.vsync);
    EXPECT_EQ(settings["name"].stringValue, "a b");

    // One key for two actions cannot be played: every key goes back to its default.
    EXPECT_EQ(readFrom("keyLeft A\nkeyRight A\nkeyFire X\n", settings, said).keys,
              PlayerOptions::ownKeys);
    EXPECT_NE(said.find("\"A\""), std::string::npos) << said;
}

TEST(PlayerOptions, BindingSwapsAKeyAlreadyTakenAndPlayKnowsOnlyTheGamesOwnKeys) {
    PlayerOptions options;
    for (unsigned int reserved : {VK_F5, VK_F6, VK_F12, VK_ESCAPE})
        EXPECT_FALSE(options.bind(PlayerOptions::Fire, reserved)) << reserved;
    EXPECT_TRUE(options.bind(PlayerOptions::Left, 'A'));
    EXPECT_TRUE(options.bind(PlayerOptions::Fire, 'A'));
    // Fire took A from Left, which took Fire's Space.
    EXPECT_EQ(options.keys[PlayerOptions::Fire], unsigned('A'));
    EXPECT_EQ(options.keys[PlayerOptions::Left], unsigned(VK_SPACE));

    EXPECT_EQ(options.playKey('A', 1), unsigned(VK_SPACE));
    EXPECT_EQ(options.playKey(VK_SPACE, 1), unsigned(VK_LEFT));
    // The arrow that no action has any more does nothing; the other fire keys still fire.
    EXPECT_EQ(options.playKey(VK_LEFT, 1), std::nullopt);
    EXPECT_EQ(options.playKey(VK_CONTROL, 1), unsigned(VK_CONTROL));
    EXPECT_EQ(options.playKey(VK_ESCAPE, 1), unsigned(VK_ESCAPE));
}

} // namespace
