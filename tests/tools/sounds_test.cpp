// The generated sound effects: named in sound/sound.conf, loaded by the game's start-up
// into its sound layer, and shaped for their moment.
#include <SDL.h>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "common_classes/settings/settings.h"
#include "common_classes/sound/sound.h"
#include "support/gamesession.h"

namespace {

// The samples of a WAV file; empty unless it holds 16-bit mono sound at 44.1 kHz.
std::vector<std::int16_t> samplesOf(const std::string& path) {
    SDL_AudioSpec format;
    Uint8* data = nullptr;
    Uint32 bytes = 0;
    if (!SDL_LoadWAV(path.c_str(), &format, &data, &bytes)) return {};
    std::vector<std::int16_t> samples;
    if (format.format == AUDIO_S16LSB && format.channels == 1 && format.freq == 44100)
        samples.assign(reinterpret_cast<std::int16_t*>(data),
                       reinterpret_cast<std::int16_t*>(data + bytes));
    SDL_FreeWAV(data);
    return samples;
}

int peak(const std::vector<std::int16_t>& samples) {
    int p = 0;
    for (std::int16_t s : samples)
        p = std::max(p, std::abs(int(s)));
    return p;
}

} // namespace

TEST(Sounds, EveryEffectIsALoudCleanWavTheGamesSoundLayerLoads) {
    TestSupport::startGame();
    Settings conf;
    ASSERT_TRUE(conf.load("sound/sound.conf", false));
    for (const char* name :
         {"explosion", "hit", "lazer", "die", "shield", "corehit", "bomb1", "bomb2", "powerup"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(conf.exists(name));
        EXPECT_TRUE(Sound::soundLibrary.count(name) && Sound::soundLibrary.at(name));
        std::vector<std::int16_t> samples = samplesOf("sound/" + conf[name].stringValue);
        ASSERT_FALSE(samples.empty());
        EXPECT_GT(peak(samples), 8000) << "too quiet";
        // No click at either end: the sound starts and dies away at silence.
        EXPECT_LT(std::abs(int(samples.front())), 300);
        EXPECT_LT(std::abs(int(samples.back())), 300);
    }
}

TEST(Sounds, EffectsFitTheirMoments) {
    // The gun repeats 14 times a second; each shot has ended before the next.
    EXPECT_LT(samplesOf("sound/lazer.wav").size(), 44100u / 14);
    EXPECT_LT(samplesOf("sound/hit.wav").size(), 44100u / 10);
    EXPECT_GT(samplesOf("sound/die.wav").size(), 44100u);
    EXPECT_GT(peak(samplesOf("sound/die.wav")), peak(samplesOf("sound/lazer.wav")));
    EXPECT_NE(samplesOf("sound/bomb1.wav"), samplesOf("sound/bomb2.wav"));
}
