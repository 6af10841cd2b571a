// Preloaded into a program (LD_PRELOAD), this reports when the program first showed a
// picture: it wraps SDL_GL_SwapWindow and, at the first call, writes to the file named by
// KESTRANE_BENCH_OUT the seconds since KESTRANE_BENCH_T0 (the wall clock in nanoseconds
// taken just before the program was started) and the resident memory at that moment. It
// measures the game and the bare window alike; nothing of either is changed.
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// The wall clock, as `date +%s%N` gives it.
long long nowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The VmRSS line of /proc/self/status, in kB; -1 when it cannot be read.
long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

void reportFirstSwap() {
    const long long now = nowNanoseconds();
    const char* out = std::getenv("KESTRANE_BENCH_OUT");
    const char* start = std::getenv("KESTRANE_BENCH_T0");
    if (!out || !start) return;
    const double seconds = double(now - std::atoll(start)) / 1e9;
    if (std::FILE* file = std::fopen(out, "w")) {
        std::fprintf(file, "first_swap_s %.4f\nrss_kb %ld\n", seconds, residentKilobytes());
        std::fclose(file);
    }
}

} // namespace

extern "C" void SDL_GL_SwapWindow(void* window) {
    using Swap = void (*)(void*);
    static Swap next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    static bool reported = false;
    if (next) next(window);
    // Once the swap has returned, the first picture is on its way to the display.
    if (!reported) {
        reported = true;
        reportFirstSwap();
    }
}
