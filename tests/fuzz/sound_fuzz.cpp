// The sound assignment reader on any "sound.conf": the sound folder beside it holds a
// sample, a folder and a pipe for its lines to name, and the mixer is open on SDL's dummy
// driver, as in the game. Whatever a line names, the effects either load or stay silent.
// (Lines naming other files, pictures and songs among them, are the unit tests' part:
// every such file goes through each of the mixer's decoders, which would slow the fuzzer
// down tenfold without reaching more of the reader.)
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "common_classes/sound/sound.h"
#include "fuzzinput.h"
#include "support/audiofiles.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Fuzz::silenceStandardOutput();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Sound::setupFmodSound();
    Fuzz::writeFile("hit.wav", TestSupport::wavTone(0.05));
    std::filesystem::create_directory(Fuzz::folder() + "/folder");
    mkfifo((Fuzz::folder() + "/pipe").c_str(), 0600);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fuzz::writeInput("sound.conf", data, size);
    Sound::loadSounds(Fuzz::folder());
    for (const auto& [name, value] : Sound::soundAssignments.entries())
        Fuzz::require(Sound::soundLibrary.count(name) == 1, "every entry has its effect");
    for (const auto& [name, sample] : Sound::soundLibrary) {
        Fuzz::require((Sound::playSound(name, 150) >= 0) == (sample != nullptr),
                      "a loaded effect plays, any other is silent");
        Sound::stopAllSounds();
    }
    // The effects and assignments of one input are freed before the next, or a long run
    // would keep every name it ever read (and the fuzzer would take what the next input
    // frees for a leak of this one).
    // Names that share a sample file share its one copy, freed once.
    std::set<Mix_Chunk*> samples;
    for (auto& [name, sample] : Sound::soundLibrary)
        samples.insert(sample);
    for (Mix_Chunk* sample : samples)
        Mix_FreeChunk(sample);
    Sound::soundLibrary.clear();
    Sound::soundAssignments.clear();
    return 0;
}
