#include "tools/assetmaker/effectsource.h"

#include <algorithm>
#include <fstream>

#include "tools/assetmaker/sourcefile.h"
#include "tools/assetmaker/synth.h"
#include "tools/assetmaker/wavfile.h"

namespace AssetMaker {

std::vector<Effect> readEffects(const std::string& path) {
    SourceFile file(path);
    std::vector<Effect> effects;
    std::vector<std::vector<Voice>> voices;
    SourceLine line;
    std::vector<std::string> words;
    while (file.nextStatement(line, words)) {
        WordReader reader(file, line.number, words, 1);
        if (words[0] == "effect") {
            Effect effect;
            effect.name = reader.word();
            for (const Effect& e : effects)
                if (e.name == effect.name) file.fail(line.number, "this effect is named twice");
            effects.push_back(effect);
            voices.emplace_back();
        } else if (effects.empty()) {
            file.fail(line.number, "expected: effect <name>");
        } else if (words[0] == "peak") {
            effects.back().peak = reader.number();
            if (effects.back().peak <= 0 || effects.back().peak > 1)
                file.fail(line.number, "the peak lies between 0 and 1");
        } else if (words[0] == "voice") {
            voices.back().push_back(readVoice(reader));
        } else {
            file.fail(line.number, "unknown keyword '" + words[0] + "'");
        }
        reader.expectEnd();
    }
    for (std::size_t i = 0; i < effects.size(); ++i) {
        if (voices[i].empty())
            throw AssetError(path + ": effect '" + effects[i].name + "' has no voice");
        effects[i].samples = normalise(renderVoices(voices[i], effectRate), effects[i].peak);
    }
    return effects;
}

void writeEffects(const std::vector<Effect>& effects, const std::string& dir) {
    std::vector<Effect> sorted = effects;
    std::sort(sorted.begin(), sorted.end(),
              [](const Effect& a, const Effect& b) { return a.name < b.name; });
    std::ofstream conf(dir + "/sound.conf", std::ios::binary | std::ios::trunc);
    conf << "# effect name, then its sample file in this directory\n";
    for (const Effect& e : sorted) {
        writeWav(dir + "/" + e.name + ".wav", e.samples, effectRate);
        conf << e.name << "  " << e.name << ".wav\n";
    }
    conf.close();
    if (!conf) throw AssetError("cannot write '" + dir + "/sound.conf'");
}

} // namespace AssetMaker
