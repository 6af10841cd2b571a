// The hiscore reader on any file: it gives no hiscore or one the status line can print
// (as a whole number through a long).
#include <cmath>

#include "fuzzinput.h"
#include "tarvex/hiscore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = Fuzz::writeInput("kestrane.dat", data, size);
    const std::optional<float> hiscore = Tarvex::readHiscoreFile(file);
    if (!hiscore) return 0;
    Fuzz::require(size >= 4, "fewer than four bytes hold no hiscore");
    Fuzz::require(std::isfinite(*hiscore) && *hiscore >= 0, "a finite score of at least 0");
    // The status line's conversion: undefined behaviour, and so a finding, when it cannot.
    volatile long printed = static_cast<long>(*hiscore);
    (void)printed;
    return 0;
}
