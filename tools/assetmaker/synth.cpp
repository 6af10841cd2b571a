#include "tools/assetmaker/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/assetmaker/sourcefile.h"

namespace AssetMaker {

namespace {

// Xorshift: small, fast and the same everywhere.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : _state(seed ? seed : 1) {}
    double next() {
        _state ^= _state << 13;
        _state ^= _state >> 17;
        _state ^= _state << 5;
        return double(_state) / 2147483647.5 - 1.0;
    }

private:
    std::uint32_t _state;
};

// Removes the step discontinuity of a naive saw or square within one sample of the jump.
double polyBlep(double phase, double step) {
    if (phase < step) {
        double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

Wave readWave(WordReader& reader) {
    std::string name = reader.word();
    if (name == "sine") return Wave::Sine;
    if (name == "square") return Wave::Square;
    if (name == "saw") return Wave::Saw;
    if (name == "triangle") return Wave::Triangle;
    if (name == "noise") return Wave::Noise;
    reader.fail("unknown wave '" + name + "' (sine, square, saw, triangle, noise)");
}

Voice readVoice(WordReader& reader) {
    Voice voice;
    voice.wave = readWave(reader);
    while (!reader.atEnd()) {
        std::string key = reader.word();
        if (key == "freq") {
            voice.freqStart = reader.number();
            voice.freqEnd = reader.numberFollows() ? reader.number() : voice.freqStart;
        } else if (key == "start")
            voice.start = reader.number();
        else if (key == "length")
            voice.length = reader.number();
        else if (key == "gain")
            voice.gain = reader.number();
        else if (key == "attack")
            voice.attack = reader.number();
        else if (key == "curve")
            voice.curve = reader.number();
        else if (key == "duty")
            voice.duty = reader.number();
        else if (key == "vibrato") {
            voice.vibratoRate = reader.number();
            voice.vibratoDepth = reader.number();
        } else if (key == "arpeggio") {
            voice.arpeggioStep = reader.number();
            while (reader.numberFollows())
                voice.arpeggio.push_back(reader.number());
        } else if (key == "lowpass")
            voice.lowpass = reader.number();
        else if (key == "highpass")
            voice.highpass = reader.number();
        else if (key == "seed")
            voice.seed = std::uint32_t(reader.integer());
        else
            reader.fail("unknown voice setting '" + key + "'");
    }
    if (voice.length <= 0 || voice.start < 0 || voice.freqStart <= 0 || voice.freqEnd <= 0 ||
        voice.attack < 0 || voice.attack > voice.length || voice.duty <= 0 || voice.duty >= 1 ||
        voice.arpeggioStep <= 0)
        reader.fail("a voice needs a positive length and frequency, an attack within its "
                    "length and a duty between 0 and 1");
    return voice;
}

std::vector<double> renderVoices(const std::vector<Voice>& voices, int rate) {
    double end = 0;
    for (const Voice& v : voices)
        end = std::max(end, v.start + v.length);
    std::vector<double> out(std::size_t(std::ceil(end * rate)) + 1, 0.0);
    constexpr double twoPi = 2.0 * std::numbers::pi;
    for (const Voice& v : voices) {
        Noise noise(v.seed);
        double phase = 0, held = noise.next(), low = 0, highLow = 0;
        double lowCoeff = v.lowpass > 0 ? 1.0 - std::exp(-twoPi * v.lowpass / rate) : 1.0;
        double highCoeff = v.highpass > 0 ? 1.0 - std::exp(-twoPi * v.highpass / rate) : 0.0;
        auto first = std::size_t(std::llround(v.start * rate));
        auto count = std::size_t(std::llround(v.length * rate));
        for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
            double t = double(i) / rate;
            double u = t / v.length;
            double freq = v.freqStart * std::pow(v.freqEnd / v.freqStart, u);
            double semis = 0;
            if (!v.arpeggio.empty())
                semis += v.arpeggio[std::size_t(t / v.arpeggioStep) % v.arpeggio.size()];
            if (v.vibratoRate > 0) semis += v.vibratoDepth * std::sin(twoPi * v.vibratoRate * t);
            freq *= std::pow(2.0, semis / 12.0);
            double step = std::min(freq / rate, 0.5);
            double value = 0;
            switch (v.wave) {
            case Wave::Sine:
                value = std::sin(twoPi * phase);
                break;
            case Wave::Saw:
                value = 2.0 * phase - 1.0 - polyBlep(phase, step);
                break;
            case Wave::Square: {
                value = phase < v.duty ? 1.0 : -1.0;
                value += polyBlep(phase, step);
                value -= polyBlep(std::fmod(phase + 1.0 - v.duty, 1.0), step);
                break;
            }
            case Wave::Triangle:
                value = 1.0 - 4.0 * std::abs(phase - 0.5);
                break;
            case Wave::Noise:
                value = held;
                break;
            }
            phase += freq / rate;
            if (phase >= 1.0) {
                phase -= std::floor(phase);
                held = noise.next();
            }
            low += lowCoeff * (value - low);
            value = low;
            highLow += highCoeff * (value - highLow);
            value -= highLow;
            double level =
                t < v.attack ? t / v.attack
                             : std::pow(std::max(0.0, 1.0 - (t - v.attack) / (v.length - v.attack)),
                                        v.curve);
            out[first + i] += value * level * v.gain;
        }
    }
    return out;
}

std::vector<std::int16_t> normalise(const std::vector<double>& samples, double peak) {
    double loudest = 0;
    for (double s : samples)
        loudest = std::max(loudest, std::abs(s));
    double scale = loudest > 0 ? peak * 32767.0 / loudest : 0.0;
    std::vector<std::int16_t> out(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i)
        out[i] = std::int16_t(std::lround(std::clamp(samples[i] * scale, -32767.0, 32767.0)));
    return out;
}

} // namespace AssetMaker
