#pragma once
// How the game writes on its picture: scores as seven zero-padded digits, and text with
// a black shadow one pixel right and down under its white copy.
#include <string>

#include "common_classes/vector2.h"

namespace Pyrane {
class Renderer2D;
}

namespace Tarvex {

// Seven digits at least, zero-padded; longer numbers in full.
std::string scoreDigits(float value);

// The text in black at `shadow`, then in white one pixel left and up.
void printShadowed(Pyrane::Renderer2D& renderer, const std::string& text,
                   const Vector2<float>& shadow);

} // namespace Tarvex
