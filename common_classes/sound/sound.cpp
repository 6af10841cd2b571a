#include "common_classes/sound/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <utility>

#include "common_classes/sound/music.h"

namespace Sound {

Settings soundAssignments;
std::map<std::string, Mix_Chunk*> soundLibrary;

namespace {

constexpr int channelCount = 32;
bool mixerOpen = false;
float effectsFactor = 1;

// Every name of a sample file refers to the one copy of it (the bare name and its
// "@0" entry alike), so a sample is freed once, when the last of its names lets go.
void release(Mix_Chunk* sample) {
    for (const auto& [name, held] : soundLibrary)
        if (held == sample) return;
    Mix_FreeChunk(sample);
}

// The mixer converts a sample to the device's format in a buffer sized for the
// conversion's widest step (several times the result) and keeps that buffer; the
// sample is given back what it does not use. The mixer frees a buffer it allocated
// with SDL_free, which takes a buffer SDL_realloc shrank.
Mix_Chunk* loadSample(const std::string& file) {
    Mix_Chunk* sample = Mix_LoadWAV(file.c_str());
    if (sample && sample->allocated && sample->alen > 0)
        if (void* fitted = SDL_realloc(sample->abuf, sample->alen))
            sample->abuf = static_cast<Uint8*>(fitted);
    return sample;
}

void freeEffects() {
    std::set<Mix_Chunk*> samples;
    for (const auto& [name, sample] : soundLibrary)
        samples.insert(sample);
    soundLibrary.clear();
    for (Mix_Chunk* sample : samples)
        Mix_FreeChunk(sample);
}

} // namespace

void setupFmodSound() {
    if (mixerOpen) return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        throw std::runtime_error("cannot initialize fsound");
    // Module support is loaded on demand; without it songs simply fail to load.
    Mix_Init(MIX_INIT_MOD);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw std::runtime_error("cannot initialize fsound");
    }
    Mix_AllocateChannels(channelCount);
    Mix_MasterVolume(MIX_MAX_VOLUME);
    mixerOpen = true;
}

void closeFmodSound() {
    if (!mixerOpen) return;
    Mix_HaltChannel(-1);
    Music::freeAllSongs();
    freeEffects();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    mixerOpen = false;
}

void loadSounds(const std::string& p) {
    std::string path = p;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    soundAssignments.load(path + "sound.conf", false);
    // Each file is read once, however many entries name it: the file stores an
    // effect's first value under its bare name and under its "@0" name.
    std::map<std::string, Mix_Chunk*> loaded;
    for (const auto& [name, value] : soundAssignments.entries()) {
        const std::string file = path + value.stringValue;
        auto found = loaded.find(file);
        if (found == loaded.end()) {
            // Only a plain file can hold a sample. A folder holds none, and opening a
            // pipe or a device that a line names could hold up the start for good.
            std::error_code error;
            found = loaded.emplace(file, std::filesystem::is_regular_file(file, error)
                                             ? loadSample(file)
                                             : nullptr).first;
        }
        Mix_Chunk* replaced = std::exchange(soundLibrary[name], found->second);
        if (replaced != found->second) release(replaced);
    }
}

int playSound(const std::string& name, unsigned char volume) {
    // A name never loaded is remembered as silent.
    Mix_Chunk* sample = soundLibrary[name];
    if (sample == nullptr || !mixerOpen) return -1;
    // The channel is chosen first so that its volume is set before it sounds.
    for (int channel = 0; channel < channelCount; ++channel) {
        if (Mix_Playing(channel)) continue;
        Mix_Volume(channel, int(float(volume * MIX_MAX_VOLUME + 127) / 255 * effectsFactor));
        return Mix_PlayChannel(channel, sample, 0);
    }
    return -1;
}

void stopAllSounds() {
    if (mixerOpen) Mix_HaltChannel(-1);
}

void effectsVolume(float factor) {
    effectsFactor = std::clamp(factor, 0.0f, 1.0f);
}

bool soundOpen() {
    return mixerOpen;
}

} // namespace Sound
