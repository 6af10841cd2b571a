#pragma once
// The program's command line: --help, --version and, as they are added, the options that
// change how a game runs. Each option is one row of a table that also writes the help, so
// a new option is one row and one field of Options.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tarvex/replay/replayfile.h"
#include "tarvex/replay/replayshots.h"

namespace Tarvex {

// What the command line asks for.
struct Options {
    // False when the program is to end at once (after --help or --version, or a fault),
    // with exitCode as its status.
    bool run = true;
    int exitCode = 0;
    // --record FILE: where to record the next game started from the menu, as an absolute
    // path, since the program later changes its working folder. Empty for no recording.
    std::string recordFile;
    // --replay FILE: the file, and the game it holds, read and checked before the window
    // opens.
    std::string replayFile;
    std::optional<Replay> replay;
    // --scores: print the table of records and quit, once the program knows where its
    // player's files are.
    bool scores = false;
    // --shot FRAME:FILE, each as given, then read into `shots`: the frames of the replay
    // whose pictures are saved, each to an absolute path.
    std::vector<std::string> shotArguments;
    std::vector<ReplayShot> shots;
};

// Reads the arguments after the program's name. --help and --version write to `out`; an
// unknown option or a stray argument is named on `err` with a pointer to --help, and the
// program is then to end with status 2, as command-line tools do for a usage fault. A
// replay file that cannot be read, or a recording that could not be saved where it is to
// go, or a picture that could not be saved where it is to go, is named on `err` with the
// reason, and the program is to end with status 1.
Options readCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The help text: how to start the program, its options, and the keys and pad buttons.
std::string helpText();
// "kestrane" and the version, as --version writes it.
std::string versionText();

} // namespace Tarvex
