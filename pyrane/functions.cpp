#include "pyrane/functions.h"

namespace Pyrane {

float random(float min, float max) {
    // glibc's rand reaches 2^31 - 1; keep the 15-bit range that the fixed divisor expects.
    const int r = std::rand() % 32768;
    // The top step is max itself: min + 32767 * step can round an ulp past max or short of it.
    if (r == 32767) return max;
    return min + static_cast<float>(r) * ((max - min) / 32767.0f);
}

} // namespace Pyrane
