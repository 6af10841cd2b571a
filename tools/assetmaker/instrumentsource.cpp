#include "tools/assetmaker/instrumentsource.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/assetmaker/sourcefile.h"
#include "tools/assetmaker/synth.h"

namespace AssetMaker {

namespace {

constexpr double xmBaseRate = 8363.0; // sample rate of note C-4 with no relative note
constexpr double middleC = 261.6256;
constexpr int cyclePeriod = 128; // samples in one cycle of a tone

struct ToneShape {
    Wave wave = Wave::Saw;
    int harmonics = 16;
    double duty = 0.5;
    double rolloff = 0;
    int chorus = 0;
};

// Fourier series of one cycle, evaluated at phase x (radians), without DC.
double toneValue(const ToneShape& tone, double x) {
    constexpr double pi = std::numbers::pi;
    double value = 0;
    for (int k = 1; k <= tone.harmonics; ++k) {
        double soft = tone.rolloff > 0 ? std::pow(double(k), -tone.rolloff) : 1.0;
        double term = 0;
        switch (tone.wave) {
        case Wave::Sine:
            term = k == 1 ? std::sin(x) : 0;
            break;
        case Wave::Saw:
            term = (k % 2 ? 1.0 : -1.0) * std::sin(k * x) * 2.0 / (pi * k);
            break;
        case Wave::Triangle:
            term =
                k % 2 ? ((k / 2) % 2 ? -1.0 : 1.0) * std::sin(k * x) * 8.0 / (pi * pi * k * k) : 0;
            break;
        case Wave::Square: {
            // A pulse high for the first `duty` of the cycle, with its rising edge at 0.
            double a = std::sin(2 * pi * k * tone.duty) / (pi * k);
            double b = (1 - std::cos(2 * pi * k * tone.duty)) / (pi * k);
            term = 2 * (a * std::cos(k * x) + b * std::sin(k * x));
            break;
        }
        case Wave::Noise:
            break;
        }
        value += term * soft;
    }
    return value;
}

void setTuning(XmInstrument& in, double semitones) {
    int whole = int(std::floor(semitones));
    int fine = int(std::lround((semitones - whole) * 128));
    if (fine >= 128) {
        ++whole;
        fine -= 128;
    }
    in.relativeNote = std::int8_t(whole);
    in.finetune = std::int8_t(fine);
}

void makeTone(XmInstrument& in, const ToneShape& tone) {
    int cycles = tone.chorus > 0 ? tone.chorus : 1;
    std::size_t length = std::size_t(cycles * cyclePeriod);
    std::vector<double> wave(length);
    constexpr double twoPi = 2 * std::numbers::pi;
    for (std::size_t i = 0; i < length; ++i) {
        double u = double(i) / double(length);
        wave[i] = toneValue(tone, twoPi * cycles * u);
        // The second wave fits one more cycle into the loop, so the loop stays seamless.
        if (tone.chorus > 0) wave[i] += toneValue(tone, twoPi * (cycles + 1) * u);
    }
    in.sample = normalise(wave, 0.9);
    in.loopStart = 0;
    in.loopLength = std::uint32_t(length);
    setTuning(in, 12.0 * std::log2(middleC * cyclePeriod / xmBaseRate));
}

void makeDrum(XmInstrument& in, const std::vector<Voice>& voices) {
    in.sample = normalise(renderVoices(voices, 44100), 0.9);
    in.loopLength = 0;
    setTuning(in, 12.0 * std::log2(44100.0 / xmBaseRate) - (drumNote - 49));
}

ToneShape readTone(WordReader& reader) {
    ToneShape tone;
    tone.wave = readWave(reader);
    if (tone.wave == Wave::Noise) reader.fail("a tone is a sine, saw, square or triangle wave");
    while (!reader.atEnd()) {
        std::string key = reader.word();
        if (key == "harmonics")
            tone.harmonics = reader.integer();
        else if (key == "duty")
            tone.duty = reader.number();
        else if (key == "rolloff")
            tone.rolloff = reader.number();
        else if (key == "chorus")
            tone.chorus = reader.integer();
        else
            reader.fail("unknown tone setting '" + key + "'");
    }
    if (tone.harmonics < 1 || tone.harmonics > cyclePeriod / 2 || tone.duty <= 0 ||
        tone.duty >= 1 || tone.chorus < 0 || tone.chorus > 256)
        reader.fail("harmonics 1..64, duty between 0 and 1, chorus 0..256");
    return tone;
}

} // namespace

InstrumentLibrary readInstruments(const std::string& path) {
    SourceFile file(path);
    InstrumentLibrary library;
    struct Pending {
        XmInstrument instrument;
        int line = 0;
        bool tone = false, drum = false;
        ToneShape shape;
        std::vector<Voice> voices;
    };
    std::vector<Pending> pending;
    SourceLine line;
    std::vector<std::string> words;
    while (file.nextStatement(line, words)) {
        WordReader reader(file, line.number, words, 1);
        const std::string& key = words[0];
        if (key == "instrument") {
            pending.push_back({});
            pending.back().instrument.name = reader.word();
            pending.back().line = line.number;
            if (library.count(pending.back().instrument.name))
                file.fail(line.number, "this instrument is defined twice");
            library[pending.back().instrument.name] = {};
        } else if (pending.empty()) {
            file.fail(line.number, "expected: instrument <name>");
        } else {
            Pending& p = pending.back();
            XmInstrument& in = p.instrument;
            if (key == "tone") {
                p.tone = true;
                p.shape = readTone(reader);
            } else if (key == "drum") {
                p.drum = true;
            } else if (key == "voice") {
                p.voices.push_back(readVoice(reader));
            } else if (key == "envelope") {
                while (!reader.atEnd()) {
                    int tick = reader.integer(), value = reader.integer();
                    if (tick < 0 || value < 0 || value > 64 ||
                        (!in.envelope.empty() && tick <= in.envelope.back().tick) ||
                        (in.envelope.empty() && tick != 0))
                        file.fail(line.number, "envelope points start at tick 0, rise in tick "
                                               "and have levels 0..64");
                    in.envelope.push_back({std::uint16_t(tick), std::uint16_t(value)});
                }
            } else if (key == "sustain") {
                in.sustainPoint = reader.integer();
            } else if (key == "fadeout") {
                in.fadeout = std::uint16_t(reader.integer());
            } else if (key == "volume") {
                in.volume = std::uint8_t(std::clamp(reader.integer(), 0, 64));
            } else if (key == "pan") {
                in.panning = std::uint8_t(std::clamp(reader.integer(), 0, 255));
            } else {
                file.fail(line.number, "unknown keyword '" + key + "'");
            }
        }
        reader.expectEnd();
    }
    for (Pending& p : pending) {
        XmInstrument& in = p.instrument;
        if (p.tone == p.drum) file.fail(p.line, "an instrument is either a tone or a drum");
        if (p.drum && p.voices.empty()) file.fail(p.line, "a drum needs voice lines");
        if (in.sustainPoint >= int(in.envelope.size()))
            file.fail(p.line, "the sustain point is not on the envelope");
        if (p.tone)
            makeTone(in, p.shape);
        else
            makeDrum(in, p.voices);
        library[in.name] = in;
    }
    return library;
}

} // namespace AssetMaker
