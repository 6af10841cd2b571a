#pragma once
// A small synthesiser for sound effects and drum sounds: a sum of voices, each an
// oscillator or noise with a pitch sweep, an envelope that always ends at silence, and
// optional filters. Noise comes from a fixed-seed generator, so a sound is the same on
// every run.
#include <cstdint>
#include <vector>

namespace AssetMaker {

class WordReader;

enum class Wave { Sine, Square, Saw, Triangle, Noise };

struct Voice {
    Wave wave = Wave::Sine;
    double start = 0;       // seconds after the sound begins
    double length = 0.1;    // seconds
    double freqStart = 440; // Hz; for noise the rate at which a new random value is drawn
    double freqEnd = 440;   // reached at the end of the voice, along an exponential sweep
    double gain = 1;
    double attack = 0.002;        // seconds of linear rise
    double curve = 1;             // after the attack the level falls as (1 - u)^curve to 0
    double duty = 0.5;            // square waves: part of the period spent high
    double vibratoRate = 0;       // Hz
    double vibratoDepth = 0;      // semitones
    std::vector<double> arpeggio; // semitone offsets cycled through
    double arpeggioStep = 0.05;   // seconds per arpeggio step
    double lowpass = 0;           // cut-off in Hz, 0 for none
    double highpass = 0;          // cut-off in Hz, 0 for none
    std::uint32_t seed = 1;
};

// Reads a wave name: sine, square, saw, triangle or noise.
Wave readWave(WordReader& reader);

// Reads the words of a voice line after "voice": the wave name, then keys with their
// numbers, e.g. "square freq 1200 300 length 0.08 duty 0.25".
Voice readVoice(WordReader& reader);

// Mixes the voices at `rate` samples a second into floating-point samples, long enough
// for the last voice to end.
std::vector<double> renderVoices(const std::vector<Voice>& voices, int rate);

// Scales the samples so that the loudest reaches `peak` (0..1) and converts them to
// 16-bit values.
std::vector<std::int16_t> normalise(const std::vector<double>& samples, double peak);

} // namespace AssetMaker
