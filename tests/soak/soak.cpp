// The soak: the scripted player plays games back to back through the game's main loop,
// with fixed 1/60 s steps and as fast as the machine runs them, for the given minutes of
// game time. After each game, when the next one has started, every particle must be
// back in the pool; at the end, resident memory must not have grown by more than 2 MB
// since the first game was over (the first game loads what play needs on first use).
//   kestrane_soak [MINUTES]   (60 by default)
// Prints what it saw; exits with 1 when the pool or the memory was wrong.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <string>

#include "pyrane/particle.h"
#include "support/gamesession.h"
#include "support/scriptedframes.h"
#include "support/scriptedplayer.h"
#include "tarvex/game.h"
#include "tarvex/stateinitials.h"
#include "tarvex/statemenu.h"
#include "tarvex/stateplay.h"

namespace {

using Tarvex::statePlay;

constexpr double step = 1.0 / 60;
constexpr long allowedGrowthKb = 2048;

// Resident memory in kilobytes, from the kernel's view of this process, once the
// allocator has handed back what it holds free: what stays is memory in use, so a leak
// shows and the allocator's ups and downs do not.
long residentKb() {
    malloc_trim(0);
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Memory measured under AddressSanitizer is its quarantine of freed blocks filling up,
// not the game's: there the soak reports it but does not judge it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool judgeMemory = false;
#else
constexpr bool judgeMemory = true;
#endif

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each game shows as it ends, also in a pipe
    const double minutes = argc > 1 ? std::stod(argv[1]) : 60;
    const long totalFrames = long(minutes * 60 / step);

    TestSupport::startGame();
    game.screenSize(1); // the smallest window: the same game, the cheapest drawing
    const long startKb = residentKb();
    const auto started = std::chrono::steady_clock::now();

    long frames = 0, enemies = 0, afterFirstKb = 0;
    int games = 0, badPools = 0;
    while (frames < totalFrames) {
        TestSupport::ScriptedPlayer player(step,
                                           int(std::min<long>(totalFrames - frames, 1L << 30)));
        TestSupport::runWhileFed(player);
        frames += player.frames();
        ++games;
        const int spawned = statePlay._enemiesSpawned;
        const float score = statePlay._score;
        const bool finished = statePlay._gameOver;
        enemies += spawned;
        if (game.currentState() == &statePlay)
            TestSupport::pressKey(VK_ESCAPE); // out of time in the middle of a game
        if (game.currentState() == &Tarvex::stateInitials)
            TestSupport::pressKey(VK_ESCAPE); // a game for the table: the initials offered

        // A new game clears the field the last one left: the whole pool is free again.
        TestSupport::pressKey(VK_SPACE);
        const int free = Pyrane::Particle::_totalFreeCount;
        TestSupport::pressKey(VK_ESCAPE);
        std::printf("game %d: %d frames, %d enemies, score %.0f%s, pool %d free, %ld kB\n", games,
                    player.frames(), spawned, double(score), finished ? "" : " (cut short)", free,
                    residentKb());
        if (free != Pyrane::Particle::_totalMaxCount) ++badPools;
        if (games == 1) afterFirstKb = residentKb();
    }

    const long endKb = residentKb();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d games, %ld frames (%.1f minutes of play) in %.0f s, %ld enemies\n", games,
                frames, double(frames) * step / 60, seconds, enemies);
    std::printf("resident memory: %ld kB at the start, %ld kB after the first game, "
                "%ld kB at the end (%+ld kB since the first game)\n",
                startKb, afterFirstKb, endKb, endKb - afterFirstKb);

    int status = 0;
    if (badPools) {
        std::printf("FAILED: %d games left particles out of the pool\n", badPools);
        status = 1;
    }
    if (!judgeMemory) {
        std::printf("memory not judged: measured under AddressSanitizer\n");
    } else if (endKb - afterFirstKb > allowedGrowthKb) {
        std::printf("FAILED: memory grew by more than %ld kB\n", allowedGrowthKb);
        status = 1;
    }
    return status;
}
