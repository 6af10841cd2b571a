#include "support/mixtap.h"

#include <SDL_mixer.h>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace TestSupport {

namespace {

void SDLCALL postMix(void* tap, Uint8* stream, int bytes) {
    static_cast<MixTap*>(tap)->listen(stream, bytes);
}

// Asks `done` every few milliseconds until it says yes or `seconds` have passed.
template <typename Done> bool within(double seconds, Done done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

MixTap::MixTap() {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0 || format != AUDIO_S16SYS)
        throw std::runtime_error("MixTap needs an open mixer with 16-bit output");
    Mix_SetPostMix(postMix, this);
}

MixTap::~MixTap() {
    Mix_SetPostMix(nullptr, nullptr);
}

void MixTap::listen(const void* stream, int bytes) {
    int loudest = 0;
    for (int i = 0; i + 1 < bytes; i += 2) {
        std::int16_t sample;
        std::memcpy(&sample, static_cast<const char*>(stream) + i, sizeof sample);
        loudest = std::max(loudest, std::abs(int(sample)));
    }
    // Raise the maximum without losing a reset made meanwhile by the test.
    int seen = _loudest.load();
    while (loudest > seen && !_loudest.compare_exchange_weak(seen, loudest)) {
    }
}

bool MixTap::hearsSoundWithin(double seconds, int threshold) {
    _loudest.store(0);
    return within(seconds, [&] { return _loudest.load() > threshold; });
}

int MixTap::loudestOver(double seconds) {
    _loudest.store(0);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return _loudest.load();
}

bool MixTap::fallsSilentWithin(double seconds) {
    return within(seconds, [&] { return loudestOver(0.1) == 0; });
}

} // namespace TestSupport
