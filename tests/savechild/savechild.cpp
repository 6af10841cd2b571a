// A test-only program that saves the settings and the hiscore through the game's own save
// functions, for the tests that kill a saving process or run one with fewer rights.
//
//   kestrane_savechild loop DIR FIRST
//       saves versions FIRST, FIRST + 1, ... of DIR/kestrane.conf and DIR/kestrane.dat
//       (tests/support/saveversions.h) until it is killed; writes "ready" first and
//       "s N" or "h N" after each save.
//   kestrane_savechild readonly DIR
//       as a user who may not write DIR (root gives up its rights first), saves versions
//       1 and 2 of both files and writes what each save returned, then what it reads.
#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/saveversions.h"
#include "tarvex/hiscore.h"

namespace {

// Unbuffered, so a line is out before the next save starts.
void say(const std::string& line) {
    const std::string text = line + "\n";
    if (::write(1, text.data(), text.size()) != ssize_t(text.size())) _exit(3);
}

int loop(const std::string& dir, int first) {
    say("ready");
    for (int n = first;; ++n) {
        if (!TestSupport::savedSettings(n).save(dir + "/kestrane.conf")) return 1;
        say("s " + std::to_string(n));
        if (!Tarvex::writeHiscoreFile(dir + "/kestrane.dat", TestSupport::savedHiscore(n)))
            return 1;
        say("h " + std::to_string(n));
    }
}

int readOnly(const std::string& dir) {
    // Root may write anywhere; the user nobody may not.
    const unsigned nobody = 65534;
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0))
        return 2;
    for (int n = 1; n <= 2; ++n) {
        say("settings " +
            std::to_string(TestSupport::savedSettings(n).save(dir + "/kestrane.conf")));
        say("hiscore " + std::to_string(Tarvex::writeHiscoreFile(dir + "/kestrane.dat",
                                                                 TestSupport::savedHiscore(n))));
    }
    const std::optional<float> hiscore = Tarvex::readHiscoreFile(dir + "/kestrane.dat");
    say("reads " + std::to_string(hiscore.value_or(-1)));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "loop" && argc == 4) return loop(argv[2], std::stoi(argv[3]));
    if (mode == "readonly" && argc == 3) return readOnly(argv[2]);
    std::fprintf(stderr, "usage: %s loop DIR FIRST | readonly DIR\n", argv[0]);
    return 64;
}
