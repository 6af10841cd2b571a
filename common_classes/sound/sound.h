#pragma once
// Sound effects played by name. An assignment file "sound.conf" in the sound
// directory names each effect and the sample file that holds it; effects play once
// on a free mixer channel. Starting and closing the mixer also covers the music
// (common_classes/sound/music.h).
#include <map>
#include <string>

#include "common_classes/settings/settings.h"

struct Mix_Chunk;

namespace Sound {

// The assignment file as last loaded.
extern Settings soundAssignments;
// The loaded effects by entry name; a null sample is silent. The samples belong
// here until they are replaced or the mixer closes.
extern std::map<std::string, Mix_Chunk*> soundLibrary;

// Opens the audio device (44.1 kHz, stereo, 32 effect channels). Raises
// std::runtime_error "cannot initialize fsound" when there is no device to open.
void setupFmodSound();
// Whether the audio device is open.
bool soundOpen();
// Stops everything, frees every effect and song and closes the audio device.
void closeFmodSound();
// Reads "sound.conf" from the sound directory p (the working directory when p is
// empty) and loads the sample file of every entry, relative to p. A missing
// assignment file or sample is silent, never an error; so is an entry that names
// anything but a plain file (a folder, a pipe, a device), which is never opened.
void loadSounds(const std::string& p);
// Plays the named effect once on a free channel at volume 0..255 and returns the
// channel, or -1 when nothing plays (unknown name, no sample, no free channel).
int playSound(const std::string& name, unsigned char volume);
// Stops every playing effect.
void stopAllSounds();
// The loudness of every effect played from now on, 0 (silent) to 1 (as asked for, the
// default): the player's effects volume.
void effectsVolume(float factor);

} // namespace Sound
