#include "common_classes/sound/sound.h"

#include <SDL_mixer.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "common_classes/sound/music.h"
#include "support/audiofiles.h"
#include "support/files.h"
#include "support/mixtap.h"
#include "support/pngwriter.h"
#include "support/tempdir.h"

namespace {

using TestSupport::writeFile;

// Each test runs with the mixer open on SDL's dummy driver, which mixes in real
// time without a sound card.
class SoundTest : public testing::Test {
protected:
    void SetUp() override { Sound::setupFmodSound(); }
    void TearDown() override {
        Sound::closeFmodSound(); // frees every effect and song
        EXPECT_TRUE(Sound::soundLibrary.empty());
    }

    // Writes the assignment file of a sound directory and loads it, keeping the
    // settings echo quiet. p is the directory as passed to loadSounds.
    void load(const std::string& p, const std::string& conf) {
        writeFile(_dir.path(p) + "/sound.conf", conf);
        testing::internal::CaptureStdout();
        Sound::loadSounds(p.empty() ? p : _dir.path(p));
        testing::internal::GetCapturedStdout();
    }

    TestSupport::TempDir _dir;
};

TEST_F(SoundTest, EffectsPlayOnSeparateChannelsAtTheirVolume) {
    writeFile(_dir.path("sound/hit.wav"), TestSupport::wavTone(1.0));
    writeFile(_dir.path("sound/laser shot.wav"), TestSupport::wavTone(1.0));
    load("sound", "hit hit.wav\nlazer \"laser shot.wav\"\n");
    TestSupport::MixTap tap;
    const int channels[] = {Sound::playSound("hit", 150), Sound::playSound("hit", 255),
                            Sound::playSound("lazer", 0)};
    EXPECT_EQ(Mix_Playing(-1), 3);
    EXPECT_EQ(Mix_Volume(channels[0], -1), 75);
    EXPECT_EQ(Mix_Volume(channels[1], -1), MIX_MAX_VOLUME);
    EXPECT_EQ(Mix_Volume(channels[2], -1), 0);
    EXPECT_TRUE(tap.hearsSoundWithin(2.0));
    Sound::stopAllSounds();
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(tap.loudestOver(0.2), 0);
}

TEST_F(SoundTest, ASampleFileIsHeldOnceHoweverManyNamesItHas) {
    writeFile(_dir.path("sound/hit.wav"), TestSupport::wavTone(0.5));
    writeFile(_dir.path("sound/other.wav"), TestSupport::wavTone(0.5));
    load("sound", "hit hit.wav\nalias hit.wav\nother other.wav\n");
    Mix_Chunk* hit = Sound::soundLibrary["hit"];
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(Sound::soundLibrary["hit@0"], hit);
    EXPECT_EQ(Sound::soundLibrary["alias"], hit);
    EXPECT_NE(Sound::soundLibrary["other"], hit);
    // The mixer's conversion to 44.1 kHz stereo needs a buffer several times the
    // result; the sample keeps only what it plays.
    EXPECT_LT(malloc_usable_size(hit->abuf), hit->alen + hit->alen / 8);

    // A second file moves hit to another sample and no longer names alias: alias keeps
    // the sample it had, which must stay alive (and be freed once, at the close).
    load("sound", "hit other.wav\n");
    EXPECT_NE(Sound::soundLibrary["hit"], hit);
    EXPECT_EQ(Sound::soundLibrary["alias"], hit);
    EXPECT_EQ(Sound::soundLibrary["alias@0"], hit);
    TestSupport::MixTap tap;
    EXPECT_GE(Sound::playSound("alias", 255), 0);
    EXPECT_TRUE(tap.hearsSoundWithin(2.0));
}

TEST_F(SoundTest, BrokenAssignmentsSamplesAndSongsAreSilent) {
    // Good lines amid binary garbage, a line of a megabyte, an unclosed quote and a key
    // without values; entries naming a text, nothing, the folder itself, a folder, a
    // picture and a pipe: only the good line with a quoted tab loads.
    std::string conf = "noise text.wav\nmissing nowhere.wav\nempty \"\"\n\"tab\there\" hit.wav\n"
                       "folder sub\npicture picture.png\npipe pipe\n";
    for (int i = 0; i < 2048; ++i)
        conf += static_cast<char>((i * 131 + 7) % 256);
    conf += "\nlong " + std::string(1 << 20, 'x') + "\nquote \"hit.wav\nkey\n";
    writeFile(_dir.path("odd/text.wav"), "this is not a sample\n");
    writeFile(_dir.path("odd/hit.wav"), TestSupport::wavTone(0.1));
    std::filesystem::create_directories(_dir.path("odd/sub"));
    TestSupport::writePng(_dir.path("odd/picture.png"), 16, 16,
                          [](int, int) { return RGBA<unsigned char>(255, 255, 255, 255); });
    // Opening a pipe waits for a writer, so a loader that opened it would never return:
    // after ten seconds a writer comes along for every open and the test fails instead of
    // hanging.
    const std::string pipe = _dir.path("odd/pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::atomic<bool> loaded = false, pipeOpened = false;
    std::thread writer([&] {
        for (int i = 0; !loaded; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const int fd = i < 200 ? -1 : open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) pipeOpened = true, close(fd);
        }
    });
    load("odd", conf);
    loaded = true;
    writer.join();
    EXPECT_FALSE(pipeOpened) << "the entry naming a pipe was opened";
    for (const auto& [name, sample] : Sound::soundLibrary)
        EXPECT_EQ(sample != nullptr, name.starts_with("tab\there")) << name;
    EXPECT_EQ(Sound::soundLibrary.count("quote") + Sound::soundLibrary.count("key"), 0u);
    EXPECT_EQ(Sound::soundLibrary.count("folder") + Sound::soundLibrary.count("picture") +
                  Sound::soundLibrary.count("pipe"),
              3u);

    const std::string cut = TestSupport::xmTone().substr(0, 100);
    for (const std::string& song : {std::string("Extended Module: but nothing more"), cut})
        EXPECT_EQ(Music::loadSong(writeFile(_dir.path("song.xm"), song)), nullptr);
    EXPECT_EQ(Music::loadSong(_dir.path("missing.xm")), nullptr);

    TestSupport::MixTap tap;
    for (const char* name :
         {"noise", "missing", "empty", "long", "folder", "picture", "pipe", "never loaded"})
        EXPECT_EQ(Sound::playSound(name, 255), -1) << name;
    Music::setMasterVolume(nullptr, 100);
    EXPECT_FALSE(Music::playSong(nullptr));
    EXPECT_EQ(tap.loudestOver(0.2), 0);
}

TEST_F(SoundTest, ASongPlaysLoopingAtItsOwnVolumeAndStops) {
    Music::Song* song = Music::loadSong(writeFile(_dir.path("a.xm"), TestSupport::xmTone(8)));
    Music::Song* quiet = Music::loadSong(writeFile(_dir.path("b.xm"), TestSupport::xmTone()));
    ASSERT_NE(song, nullptr);
    TestSupport::MixTap tap;
    ASSERT_TRUE(Music::playSong(song));
    EXPECT_TRUE(tap.hearsSoundWithin(2.0));
    // One pass takes about half a second; the song goes on after it.
    EXPECT_GT(tap.loudestOver(1.0), 64);
    Music::setMasterVolume(song, 0);
    EXPECT_TRUE(tap.fallsSilentWithin(2.0));
    Music::setMasterVolume(song, 256);
    EXPECT_TRUE(tap.hearsSoundWithin(2.0));

    // The mixer has one music volume: each song brings its own when it starts.
    Music::setMasterVolume(quiet, 40);
    Music::playSong(quiet);
    EXPECT_EQ(Mix_VolumeMusic(-1), 20);
    Music::setMasterVolume(song, 0); // not playing: the music volume stays
    EXPECT_EQ(Mix_VolumeMusic(-1), 20);
    Music::stopAllSongs();
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_EQ(tap.loudestOver(0.2), 0);
}

TEST(Sound, NoAudioDeviceMeansTheMixerCannotStart) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::string error;
    try {
        Sound::setupFmodSound();
    } catch (const std::runtime_error& e) {
        error = e.what();
    }
    Sound::closeFmodSound();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(error, "cannot initialize fsound");
}

} // namespace
