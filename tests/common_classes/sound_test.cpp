#include "common_classes/sound/sound.h"

#include <SDL_mixer.h>
#include <cstdlib>
#include <gtest/gtest.h>

#include "common_classes/sound/music.h"
#include "support/audiofiles.h"
#include "support/files.h"
#include "support/mixtap.h"
#include "support/tempdir.h"

namespace {

using TestSupport::MixTap;
using TestSupport::TempDir;
using TestSupport::writeFile;

// Each test runs with the mixer open on SDL's dummy driver, which mixes in real
// time without a sound card.
class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        Sound::setupFmodSound();
    }
    void TearDown() override { Sound::closeFmodSound(); }

    // Loads the effects of a sound directory, keeping the settings echo quiet.
    static void loadSounds(const std::string& path) {
        testing::internal::CaptureStdout();
        Sound::loadSounds(path);
        testing::internal::GetCapturedStdout();
    }

    TempDir _dir;
};

TEST_F(SoundTest, EffectsNamedInTheAssignmentFilePlayOnSeparateChannels) {
    writeFile(_dir.path("sound/sound.conf"), "hit hit.wav\nlazer \"laser shot.wav\"\n");
    writeFile(_dir.path("sound/hit.wav"), TestSupport::wavTone(1.0));
    writeFile(_dir.path("sound/laser shot.wav"), TestSupport::wavTone(1.0));
    loadSounds(_dir.path("sound"));
    for (const char* name : {"hit", "hit@0", "lazer", "lazer@0"})
        EXPECT_NE(Sound::soundLibrary[name], nullptr) << name;
    EXPECT_EQ(Sound::soundAssignments["lazer"].stringValue, "laser shot.wav");

    MixTap tap;
    int first = Sound::playSound("hit", 150);
    int second = Sound::playSound("hit", 255);
    int third = Sound::playSound("lazer", 0);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
    EXPECT_EQ(Mix_Playing(-1), 3);
    EXPECT_EQ(Mix_Volume(first, -1), 75);
    EXPECT_EQ(Mix_Volume(second, -1), MIX_MAX_VOLUME);
    EXPECT_EQ(Mix_Volume(third, -1), 0);
    EXPECT_TRUE(tap.hearsSoundWithin(2.0));

    Sound::stopAllSounds();
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(tap.loudestOver(0.2), 0);
}

TEST_F(SoundTest, TheSoundDirectoryMayEndWithASeparatorOrBeTheWorkingDirectory) {
    writeFile(_dir.path("sound/sound.conf"), "hit hit.wav\n");
    writeFile(_dir.path("sound/hit.wav"), TestSupport::wavTone(0.1));
    writeFile(_dir.path("sound.conf"), "die sound/hit.wav\n");

    loadSounds(_dir.path("sound") + "/");
    EXPECT_NE(Sound::soundLibrary["hit"], nullptr);

    TestSupport::CurrentDir inside(_dir.dir());
    loadSounds("");
    EXPECT_NE(Sound::soundLibrary["die"], nullptr);
    EXPECT_FALSE(Sound::soundAssignments.exists("hit")); // the assignments were replaced
    EXPECT_GE(Sound::playSound("die", 150), 0);
}

TEST_F(SoundTest, UnknownNamesAndBrokenSampleFilesAreSilent) {
    writeFile(_dir.path("sound/sound.conf"), "noise text.wav\nmissing nowhere.wav\nempty \"\"\n");
    writeFile(_dir.path("sound/text.wav"), "this is not a sample\n");
    loadSounds(_dir.path("sound"));
    EXPECT_EQ(Sound::soundLibrary["noise"], nullptr);
    EXPECT_EQ(Sound::soundLibrary["missing"], nullptr);
    EXPECT_EQ(Sound::soundLibrary["empty"], nullptr);

    MixTap tap;
    for (const char* name : {"noise", "missing", "empty", "never loaded"})
        EXPECT_EQ(Sound::playSound(name, 255), -1) << name;
    EXPECT_EQ(Sound::soundLibrary.count("never loaded"), 1u);
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(tap.loudestOver(0.2), 0);
}

TEST_F(SoundTest, DamagedAssignmentFilesLoadNothingAudible) {
    std::string garbage;
    for (int i = 0; i < 2048; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256);
    writeFile(_dir.path("garbage/sound.conf"), garbage);
    loadSounds(_dir.path("garbage"));
    for (const auto& [name, sample] : Sound::soundLibrary)
        EXPECT_EQ(sample, nullptr) << name;

    std::string hugeName(1 << 20, 'x');
    writeFile(_dir.path("odd/sound.conf"),
              "long " + hugeName + "\nquote \"hit.wav\nkey\n\"tab\there\" hit.wav\n");
    writeFile(_dir.path("odd/hit.wav"), TestSupport::wavTone(0.1));
    loadSounds(_dir.path("odd"));
    EXPECT_EQ(Sound::soundLibrary["long"], nullptr);
    EXPECT_EQ(Sound::soundLibrary.count("quote"), 0u);
    EXPECT_EQ(Sound::soundLibrary.count("key"), 0u);
    EXPECT_NE(Sound::soundLibrary["tab\there"], nullptr);
}

TEST_F(SoundTest, ReloadingReplacesTheEffectsOfTheSameName) {
    writeFile(_dir.path("sound/sound.conf"), "hit a.wav\n");
    writeFile(_dir.path("sound/a.wav"), TestSupport::wavTone(0.5));
    writeFile(_dir.path("sound/b.wav"), TestSupport::wavTone(0.25));
    loadSounds(_dir.path("sound"));
    Uint32 before = Sound::soundLibrary["hit"]->alen;

    writeFile(_dir.path("sound/sound.conf"), "hit b.wav\n");
    loadSounds(_dir.path("sound"));
    ASSERT_NE(Sound::soundLibrary["hit"], nullptr);
    EXPECT_LT(Sound::soundLibrary["hit"]->alen, before);
}

TEST_F(SoundTest, ClosingFreesEveryEffectAndSong) {
    writeFile(_dir.path("sound/sound.conf"), "hit hit.wav\n");
    writeFile(_dir.path("sound/hit.wav"), TestSupport::wavTone(0.1));
    writeFile(_dir.path("sound/tune.xm"), TestSupport::xmTone());
    loadSounds(_dir.path("sound"));
    ASSERT_NE(Music::loadSong(_dir.path("sound/tune.xm")), nullptr);
    Sound::closeFmodSound();
    EXPECT_TRUE(Sound::soundLibrary.empty());
    EXPECT_EQ(Sound::playSound("hit", 150), -1);
    Sound::closeFmodSound(); // closing twice is harmless

    Sound::setupFmodSound();
    loadSounds(_dir.path("sound"));
    EXPECT_GE(Sound::playSound("hit", 150), 0);
}

TEST(Sound, NoAudioDeviceMeansTheMixerCannotStart) {
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    std::string saved = previous ? previous : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    try {
        Sound::setupFmodSound();
        ADD_FAILURE() << "the mixer opened without a device";
        Sound::closeFmodSound();
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "cannot initialize fsound");
    }
    if (previous) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
}

TEST_F(SoundTest, ASongLoadsPlaysLoopingAndStops) {
    Music::Song* song = Music::loadSong(writeFile(_dir.path("tune.xm"), TestSupport::xmTone(8)));
    ASSERT_NE(song, nullptr);
    MixTap tap;
    EXPECT_EQ(tap.loudestOver(0.1), 0);

    ASSERT_TRUE(Music::playSong(song));
    EXPECT_TRUE(tap.hearsSoundWithin(2.0));
    // One pass takes about half a second; the song goes on after it.
    EXPECT_GT(tap.loudestOver(1.0), 64);
    EXPECT_TRUE(Mix_PlayingMusic());

    Music::setMasterVolume(song, 0);
    EXPECT_TRUE(tap.fallsSilentWithin(2.0));
    EXPECT_TRUE(Mix_PlayingMusic());
    Music::setMasterVolume(song, 256);
    EXPECT_TRUE(tap.hearsSoundWithin(2.0));

    Music::stopAllSongs();
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_EQ(tap.loudestOver(0.2), 0);
}

TEST_F(SoundTest, EachSongKeepsItsOwnVolume) {
    Music::Song* loud = Music::loadSong(writeFile(_dir.path("loud.xm"), TestSupport::xmTone()));
    Music::Song* quiet = Music::loadSong(writeFile(_dir.path("quiet.xm"), TestSupport::xmTone()));
    Music::setMasterVolume(loud, 256);
    Music::setMasterVolume(quiet, 40);
    Music::playSong(quiet);
    EXPECT_EQ(Mix_VolumeMusic(-1), 20);
    Music::playSong(loud);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);
    Music::setMasterVolume(quiet, 0); // not playing: the music volume stays
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);
}

TEST_F(SoundTest, MissingAndDamagedSongsAreSilent) {
    EXPECT_EQ(Music::loadSong(_dir.path("missing.xm")), nullptr);
    EXPECT_EQ(Music::loadSong(writeFile(_dir.path("text.xm"), "Extended Module: but nothing more")),
              nullptr);
    std::string cut = TestSupport::xmTone();
    EXPECT_EQ(Music::loadSong(writeFile(_dir.path("cut.xm"), cut.substr(0, 100))), nullptr);

    MixTap tap;
    Music::setMasterVolume(nullptr, 100);
    EXPECT_FALSE(Music::playSong(nullptr));
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_EQ(tap.loudestOver(0.2), 0);
}

} // namespace
