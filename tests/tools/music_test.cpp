// The four generated tunes: real music of the expected length through libopenmpt, with no
// silent stretch and no gap where they loop, and sounding through the game's music layer.
#include <cmath>
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <string>
#include <vector>

#include "common_classes/sound/music.h"
#include "support/files.h"
#include "support/gamesession.h"
#include "support/mixtap.h"

namespace {

struct Tune {
    std::string file;
    double minimumSeconds;
};

const Tune tunes[] = {{"sound/believe.xm", 45},
                      {"sound/ddisz.xm", 45},
                      {"sound/madhat.xm", 20}, // game over shows for 10 s
                      {"sound/hchh.xm", 45}};

constexpr int rate = 44100;

double rms(const std::vector<float>& s, std::size_t first, std::size_t count, int channel) {
    double sum = 0;
    for (std::size_t i = first; i < first + count; ++i)
        sum += double(s[2 * i + channel]) * s[2 * i + channel];
    return std::sqrt(sum / double(count));
}

} // namespace

TEST(Music, EveryTuneIsLongEnoughAndPlaysTwiceThroughWithoutAGap) {
    for (const Tune& tune : tunes) {
        SCOPED_TRACE(tune.file);
        std::string bytes = TestSupport::readFile(tune.file);
        ASSERT_FALSE(bytes.empty());
        openmpt::module module(bytes.data(), bytes.size());
        EXPECT_EQ(module.get_metadata("type"), "xm");
        EXPECT_EQ(module.get_metadata("warnings"), "");
        EXPECT_GE(module.get_num_channels(), 4);
        EXPECT_GE(module.get_num_instruments(), 4);
        const double seconds = module.get_duration_seconds();
        EXPECT_GE(seconds, tune.minimumSeconds);

        // Two passes: the second goes on from where the song loops back to.
        module.set_repeat_count(1);
        std::vector<float> audio, buffer(2 * 4096);
        while (std::size_t frames = module.read_interleaved_stereo(rate, 4096, buffer.data()))
            audio.insert(audio.end(), buffer.begin(), buffer.begin() + std::ptrdiff_t(2 * frames));
        const std::size_t frames = audio.size() / 2, loop = std::size_t(seconds * rate);
        ASSERT_GT(frames, loop + rate);
        // Every half second of either channel carries sound: no gaps, no dead channel.
        const std::size_t window = rate / 2;
        for (std::size_t first = 0; first + window <= frames; first += window)
            for (int channel = 0; channel < 2; ++channel)
                ASSERT_GT(rms(audio, first, window, channel), 0.01)
                    << "silent near " << double(first) / rate << " s";
        // Across the loop point the music carries on at its usual loudness.
        const double before = rms(audio, loop - rate / 4, rate / 4, 0);
        const double after = rms(audio, loop, rate / 4, 0);
        EXPECT_GT(after, before / 4);
    }
}

TEST(Music, EveryTuneSoundsThroughTheGamesMusicLayer) {
    TestSupport::startGame();
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
