#pragma once
// Tracker-module music over the mixer: one song plays at a time, looping, at its
// own master volume. Songs are loaded by file name and belong to this layer until
// the mixer closes (Sound::closeFmodSound); a song that could not be loaded is a
// null handle, and every call on it is silent.
#include <string>

namespace Music {

struct Song;

// Loads a module file; null when the file is missing or not a module, or when
// the mixer is not open.
Song* loadSong(const std::string& fileName);
// Sets the song's master volume, 0..256 (256 is full volume, the default).
void setMasterVolume(Song* song, int volume);
// Starts the song from its beginning, looping, in place of any song playing.
// False when nothing plays.
bool playSong(Song* song);
// The loudness of every song, 0 (silent) to 1 (each at its master volume, the default):
// the player's music volume. Applies at once to the song playing.
void overallVolume(float factor);
// Stops the song playing, if any.
void stopAllSongs();
// Stops and frees every loaded song; their handles become invalid.
void freeAllSongs();

} // namespace Music
