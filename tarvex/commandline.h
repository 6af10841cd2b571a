#pragma once
// The program's command line: --help, --version and, as they are added, the options that
// change how a game runs. Each option is one row of a table that also writes the help, so
// a new option is one row and one field of Options.
#include <ostream>
#include <string>

namespace Tarvex {

// What the command line asks for.
struct Options {
    // False when the program is to end at once (after --help or --version, or a fault),
    // with exitCode as its status.
    bool run = true;
    int exitCode = 0;
};

// Reads the arguments after the program's name. --help and --version write to `out`; an
// unknown option or a stray argument is named on `err` with a pointer to --help, and the
// program is then to end with status 2, as command-line tools do for a usage fault.
Options readCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The help text: how to start the program, its options, and the keys and pad buttons.
std::string helpText();
// "kestrane" and the version, as --version writes it.
std::string versionText();

} // namespace Tarvex
