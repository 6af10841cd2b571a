// The generated sound effects: named in sound/sound.conf, loaded by the game's own sound
// layer, and shaped for their moment.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "common_classes/settings/settings.h"
#include "common_classes/sound/sound.h"

namespace {

const std::vector<std::string> effectNames = {"explosion", "hit",   "lazer", "die",    "shield",
                                              "corehit",   "bomb1", "bomb2", "powerup"};

struct Wav {
    int channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples;
    double seconds() const { return double(samples.size()) / channels / rate; }
    int peak() const {
        int p = 0;
        for (std::int16_t s : samples)
            p = std::max(p, std::abs(int(s)));
        return p;
    }
};

// Reads a canonical PCM WAV file: RIFF header, "fmt " chunk, "data" chunk.
Wav readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
    auto u16 = [&](std::size_t at) { return int(b.at(at) | b.at(at + 1) << 8); };
    auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    Wav wav;
    if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF") return wav;
    wav.channels = u16(22);
    wav.rate = u32(24);
    wav.bits = u16(34);
    std::size_t count = std::size_t(u32(40)) / 2;
    for (std::size_t i = 0; i < count; ++i)
        wav.samples.push_back(std::int16_t(u16(44 + 2 * i)));
    return wav;
}

} // namespace

TEST(Sounds, AssignmentFileNamesAWavForEveryEffectTheGamePlays) {
    Settings conf;
    ASSERT_TRUE(conf.load("sound/sound.conf", false));
    for (const std::string& name : effectNames) {
        ASSERT_TRUE(conf.exists(name)) << name;
        Wav wav = readWav("sound/" + conf[name].stringValue);
        EXPECT_EQ(wav.channels, 1) << name;
        EXPECT_EQ(wav.rate, 44100) << name;
        EXPECT_EQ(wav.bits, 16) << name;
        EXPECT_GT(wav.peak(), 8000) << name << " is too quiet";
        // No click at either end: the sound starts and dies away at silence.
        EXPECT_LT(std::abs(int(wav.samples.front())), 300) << name;
        EXPECT_LT(std::abs(int(wav.samples.back())), 300) << name;
    }
}

TEST(Sounds, EffectsFitTheirMoments) {
    // The gun repeats 14 times a second; each shot has ended before the next.
    EXPECT_LT(readWav("sound/lazer.wav").seconds(), 1.0 / 14);
    EXPECT_LT(readWav("sound/hit.wav").seconds(), 0.1);
    EXPECT_GT(readWav("sound/die.wav").seconds(), 1.0);
    EXPECT_GT(readWav("sound/die.wav").peak(), readWav("sound/lazer.wav").peak());
    EXPECT_NE(readWav("sound/bomb1.wav").samples, readWav("sound/bomb2.wav").samples);
}

TEST(Sounds, EveryEffectLoadsIntoTheGamesSoundLayer) {
    Sound::setupFmodSound();
    Sound::loadSounds("sound");
    for (const std::string& name : effectNames) {
        ASSERT_TRUE(Sound::soundLibrary.count(name)) << name;
        EXPECT_NE(Sound::soundLibrary[name], nullptr) << name;
    }
    EXPECT_GE(Sound::playSound("lazer", 150), 0);
    Sound::closeFmodSound();
}
