#pragma once
// The game's sound effects, synthesised from voice lines:
//
//   effect lazer            the name the game plays it by
//     peak 0.5              loudness of the loudest sample, 0..1
//     voice square freq 1500 400 length 0.06 duty 0.3
//
// Each effect becomes "<name>.wav" (16-bit mono, 44.1 kHz), and "sound.conf" names them all.
#include <cstdint>
#include <string>
#include <vector>

namespace AssetMaker {

constexpr int effectRate = 44100;

struct Effect {
    std::string name;
    double peak = 0.7;
    std::vector<std::int16_t> samples;
};

std::vector<Effect> readEffects(const std::string& path);

// Writes every effect's WAV file and the assignment file "sound.conf" into `dir`.
void writeEffects(const std::vector<Effect>& effects, const std::string& dir);

} // namespace AssetMaker
