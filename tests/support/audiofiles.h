#pragma once
// Small sound files made on the spot for tests: a WAV tone and a tracker module.
#include <string>

namespace TestSupport {

// A 16-bit mono PCM WAV file holding a square-wave tone of the given length.
std::string wavTone(double seconds, int sampleRate = 22050);
// An XM module of one short pattern that holds a looped square-wave note: it
// sounds all the time it plays, and one pass through the song takes `rows` rows
// of 60 ms.
std::string xmTone(int rows = 8);

} // namespace TestSupport
