#pragma once
// Tunes written as tracker tracks and patterns:
//
//   name     Believe          module name
//   speed    6                ticks a row
//   bpm      120
//   channels 8
//   instruments kick snare bass lead     from the instrument library, numbered 1, 2, ...
//   track drums 64            a track of 64 rows; an optional third word names the
//     kick . hat . ...        instrument its notes play; rows follow up to a blank line
//   pattern verse drums bass - lead      one track a channel ("-": silent channel)
//   order intro verse verse chorus       the song; "restart N" loops to order entry N
//
// A row of a track is one of:
//   .          nothing             ==         key off
//   C-4 F#3    a note              C-4/lead   a note with another instrument
//   kick       that instrument on its own note (drums play as made on C-5)
// each optionally followed by ":V" (volume 0..64) and "!EPP" (an effect, type and two hex
// digits, e.g. "!A04" slides the volume down). "[" ... "]*N" repeats rows N times, and "|"
// (a bar line) is ignored.
#include <string>

#include "tools/assetmaker/instrumentsource.h"
#include "tools/assetmaker/xmmodule.h"

namespace AssetMaker {

XmModule readSong(const std::string& path, const InstrumentLibrary& library);

} // namespace AssetMaker
