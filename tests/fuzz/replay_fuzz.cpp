// The replay reader on any file, as `kestrane --replay FILE` reads it: either a replay the
// replayer can run, or a fault that names the file and its line. A replay it gives is one
// the game could have recorded (steps the main loop can run, a check after every 60th
// frame but perhaps the last and nowhere else, keys with names), and the writer writes it
// as text that reads back as the same replay.
#include <cmath>

#include "fuzzinput.h"
#include "tarvex/replay/replayfile.h"

namespace {

using Tarvex::Replay;

void requireRunnable(const Replay& replay) {
    for (const Tarvex::ReplayFrame& frame : replay.frames)
        Fuzz::require(std::isfinite(frame.step) && frame.step >= 0 && frame.step <= 86400,
                      "every step is one the main loop can run");
    // The check after the last frame may be missing: a game that ends in its 60th frame
    // leaves the play state before the check is taken.
    const std::size_t frames = replay.frames.size();
    const std::size_t checks = replay.checks.size();
    Fuzz::require(
        checks == frames / Replay::checkInterval ||
            (frames % Replay::checkInterval == 0 && checks + 1 == frames / Replay::checkInterval),
        "a check after every 60th frame that another frame follows");
    for (std::size_t i = 0; i < replay.checks.size(); ++i)
        Fuzz::require(replay.checks[i].frame == int(i + 1) * Replay::checkInterval,
                      "checks in frame order, each after its 60th frame");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = Fuzz::writeInput("game.replay", data, size);
    const Tarvex::ReplayReading reading = Tarvex::loadReplayFile(file);
    if (!reading.ok()) {
        Fuzz::require(reading.error.rfind(file + ":", 0) == 0, "the fault names the file");
        Fuzz::require(reading.errorLine >= 1, "the fault names its line");
        Fuzz::require(reading.error.find(file + ":" + std::to_string(reading.errorLine) + ": ") ==
                          0,
                      "the fault's line is the one named");
        Fuzz::require(reading.replay == Replay(), "a fault leaves nothing half read");
        return 0;
    }
    requireRunnable(reading.replay);
    const Tarvex::ReplayReading again = Tarvex::readReplay(Tarvex::writeReplay(reading.replay));
    Fuzz::require(again.ok() && again.replay == reading.replay,
                  "a replay that was read is written as the same replay");
    return 0;
}
