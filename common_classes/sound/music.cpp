#include "common_classes/sound/music.h"

#include <SDL_mixer.h>
#include <algorithm>
#include <memory>
#include <vector>

namespace Music {

struct Song {
    Mix_Music* music = nullptr;
    int volume = 256;
    ~Song() { Mix_FreeMusic(music); }
};

namespace {

std::vector<std::unique_ptr<Song>>& songs() {
    static std::vector<std::unique_ptr<Song>> loaded;
    return loaded;
}

Song*& current() {
    static Song* playing = nullptr;
    return playing;
}

float& overall() {
    static float factor = 1;
    return factor;
}

// The song's 0..256 volume on the mixer's 0..128 scale, times the overall volume.
int mixerVolume(const Song& song) {
    return int(float(song.volume * MIX_MAX_VOLUME / 256) * overall());
}

} // namespace

Song* loadSong(const std::string& fileName) {
    Mix_Music* music = Mix_LoadMUS(fileName.c_str());
    if (music == nullptr) return nullptr;
    songs().push_back(std::make_unique<Song>());
    songs().back()->music = music;
    return songs().back().get();
}

void setMasterVolume(Song* song, int volume) {
    if (song == nullptr) return;
    song->volume = std::clamp(volume, 0, 256);
    if (song == current()) Mix_VolumeMusic(mixerVolume(*song));
}

bool playSong(Song* song) {
    stopAllSongs();
    if (song == nullptr) return false;
    // The mixer has one music volume: set it to this song's before it starts.
    Mix_VolumeMusic(mixerVolume(*song));
    if (Mix_PlayMusic(song->music, -1) != 0) return false;
    current() = song;
    return true;
}

void overallVolume(float factor) {
    overall() = std::clamp(factor, 0.0f, 1.0f);
    if (current()) Mix_VolumeMusic(mixerVolume(*current()));
}

void stopAllSongs() {
    Mix_HaltMusic();
    current() = nullptr;
}

void freeAllSongs() {
    stopAllSongs();
    songs().clear();
}

} // namespace Music
