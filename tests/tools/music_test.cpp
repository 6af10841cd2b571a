// The four generated tunes: real music of the expected length through libopenmpt, with no
// silent stretch, and playable by the game's own music layer (SDL_mixer).
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <string>
#include <vector>

#include "common_classes/sound/music.h"
#include "common_classes/sound/sound.h"
#include "support/mixtap.h"

namespace {

struct Tune {
    std::string file;
    double minimumSeconds;
};

const std::vector<Tune> tunes = {{"sound/believe.xm", 45},
                                 {"sound/ddisz.xm", 45},
                                 {"sound/madhat.xm", 20}, // game over shows for 10 s
                                 {"sound/hchh.xm", 45}};

std::vector<char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), {});
}

constexpr int rate = 44100;

// Renders one pass of the song (no repeat) as interleaved stereo.
std::vector<float> renderOnce(openmpt::module& module) {
    std::vector<float> out, buffer(2 * 4096);
    while (std::size_t frames = module.read_interleaved_stereo(rate, 4096, buffer.data()))
        out.insert(out.end(), buffer.begin(), buffer.begin() + std::ptrdiff_t(2 * frames));
    return out;
}

double rms(const std::vector<float>& s, std::size_t first, std::size_t count, int channel) {
    double sum = 0;
    for (std::size_t i = first; i < first + count; ++i)
        sum += double(s[2 * i + channel]) * s[2 * i + channel];
    return std::sqrt(sum / double(count));
}

} // namespace

TEST(Music, EveryTuneLoadsCleanlyAndRendersItsWholeLengthWithoutSilence) {
    for (const Tune& tune : tunes) {
        SCOPED_TRACE(tune.file);
        std::vector<char> bytes = bytesOf(tune.file);
        ASSERT_FALSE(bytes.empty());
        openmpt::module module(bytes);
        EXPECT_EQ(module.get_metadata("type"), "xm");
        EXPECT_EQ(module.get_metadata("warnings"), "");
        EXPECT_GE(module.get_num_channels(), 4);
        EXPECT_GE(module.get_num_instruments(), 4);
        double seconds = module.get_duration_seconds();
        EXPECT_GE(seconds, tune.minimumSeconds);
        EXPECT_LE(seconds, 180);

        std::vector<float> audio = renderOnce(module);
        std::size_t frames = audio.size() / 2;
        // The player lets the last tick ring out, a row at most.
        EXPECT_NEAR(double(frames) / rate, seconds, 0.25);
        // Every half second of either channel carries sound: no gaps, no dead channel.
        const std::size_t window = rate / 2;
        for (std::size_t first = 0; first + window <= frames; first += window)
            for (int channel = 0; channel < 2; ++channel)
                ASSERT_GT(rms(audio, first, window, channel), 0.01)
                    << "silent near " << double(first) / rate << " s";
    }
}

TEST(Music, EveryTuneLoopsOnWithoutAGap) {
    for (const Tune& tune : tunes) {
        SCOPED_TRACE(tune.file);
        openmpt::module module(bytesOf(tune.file));
        std::size_t once = renderOnce(module).size() / 2;
        module.set_repeat_count(-1);
        module.set_position_seconds(0);
        std::vector<float> audio(2 * (once + rate));
        std::size_t got = 0;
        while (got < once + rate) {
            std::size_t n = module.read_interleaved_stereo(
                rate, std::min<std::size_t>(4096, once + rate - got), audio.data() + 2 * got);
            ASSERT_GT(n, 0u);
            got += n;
        }
        // Across the loop point the music carries on at its usual loudness.
        double before = rms(audio, once - rate / 4, rate / 4, 0);
        double after = rms(audio, once, rate / 4, 0);
        EXPECT_GT(after, 0.01);
        EXPECT_GT(after, before / 4);
    }
}

TEST(Music, EveryTuneLoadsAndSoundsThroughTheGamesMusicLayer) {
    Sound::setupFmodSound();
    {
        TestSupport::MixTap tap;
        for (const Tune& tune : tunes) {
            Music::Song* song = Music::loadSong(tune.file);
            ASSERT_NE(song, nullptr) << tune.file;
            ASSERT_TRUE(Music::playSong(song)) << tune.file;
            EXPECT_TRUE(tap.hearsSoundWithin(3.0, 256)) << tune.file;
            Music::stopAllSongs();
            ASSERT_TRUE(tap.fallsSilentWithin(3.0));
        }
    }
    Sound::closeFmodSound();
}
