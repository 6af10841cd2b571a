#pragma once
// Tracker instruments, synthesised:
//
//   instrument bass
//     tone saw harmonics 12       a looped band-limited wave: sine, saw, square, triangle;
//                                 options: harmonics N, duty D (square), rolloff R (extra
//                                 1/k^R softening), chorus N (a second wave detuned by one
//                                 cycle in N, for width)
//     drum                        instead of tone: a one-shot made of voice lines (as in the
//     voice noise freq 8000 ...   sound effects) that plays as made on note C-5
//     envelope 0 64 8 40 40 0     volume envelope: tick and level (0..64) pairs
//     sustain 1                   envelope point held while the key is down
//     fadeout 512                 volume fade after key off
//     volume 48                   default volume, 0..64
//     pan 128                     0 left .. 255 right
//
// Tone instruments are tuned so that note C-4 sounds at 261.63 Hz.
#include <map>
#include <string>

#include "tools/assetmaker/xmmodule.h"

namespace AssetMaker {

// The note at which drums play their sample as it was made.
constexpr std::uint8_t drumNote = 61; // C-5

using InstrumentLibrary = std::map<std::string, XmInstrument>;

InstrumentLibrary readInstruments(const std::string& path);

} // namespace AssetMaker
