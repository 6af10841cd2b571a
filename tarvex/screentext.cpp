#include "tarvex/screentext.h"

#include <iomanip>
#include <sstream>

#include "pyrane/renderer2d.h"

namespace Tarvex {

std::string scoreDigits(float value) {
    std::ostringstream text;
    text << std::setw(7) << std::setfill('0') << static_cast<long>(value);
    return text.str();
}

void printShadowed(Pyrane::Renderer2D& renderer, const std::string& text,
                   const Vector2<float>& shadow) {
    const Vector2<float> scale(1, 1);
    renderer.color(0, 0, 0, 1);
    renderer.print(text, shadow, scale);
    renderer.color(1, 1, 1, 1);
    renderer.print(text, shadow + Vector2<float>(-1, 1), scale);
}

} // namespace Tarvex
