// The settings reader on any file: read into an empty store, as the sound assignments
// are, and merged into a store that already holds entries, as the game reads
// "data/kestrane.conf" and takes its screen mode and the player's options from it.
#include <algorithm>

#include "common_classes/settings/settings.h"
#include "fuzzinput.h"
#include "tarvex/playeroptions.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Fuzz::silenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = Fuzz::writeInput("kestrane.conf", data, size);

    Settings read;
    Fuzz::require(read.load(file, false), "a file that is there can be read");
    for (const auto& [name, value] : read.entries()) {
        // Every name starts with its key, the first token of a line that is no comment.
        Fuzz::require(!name.empty() && name[0] != '#', "no entry without a key or for a comment");
        Fuzz::require(value.stringValue.find('\n') == std::string::npos, "values are one line");
    }

    Settings game;
    game["screenSize"] = 4;
    game["volume"] = 7;
    Fuzz::require(game.load(file, true), "a file that is there can be merged");
    Fuzz::require(game.exists("volume"), "merging replaces entries, never removes them");
    if (game.exists("screenSize")) {
        const int mode = std::clamp(game["screenSize"].intValue, 1, 5);
        Fuzz::require(mode >= 1 && mode <= 5, "the screen mode is one of five");
    }

    Tarvex::PlayerOptions options;
    options.read(game);
    using Options = Tarvex::PlayerOptions;
    Fuzz::require(options.musicVolume >= 0 && options.musicVolume <= Options::maxVolume &&
                      options.effectsVolume >= 0 && options.effectsVolume <= Options::maxVolume,
                  "volumes are 0 to 10");
    for (unsigned int key : options.keys) {
        Fuzz::require(Options::bindable(key), "every action has a key that can be bound");
        Fuzz::require(std::count(options.keys.begin(), options.keys.end(), key) == 1,
                      "no key does two things");
    }
    return 0;
}
