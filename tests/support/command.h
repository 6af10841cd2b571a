#pragma once
// Runs a shell command, as a player would start the program from a terminal, and keeps
// what it wrote and how it ended.
#include <string>

namespace TestSupport {

struct CommandResult {
    // The exit status, or -1 when the command did not end by exiting (a crash).
    int status = -1;
    // Standard output, with standard error where the command sends it there.
    std::string output;
};

CommandResult runCommand(const std::string& command);

} // namespace TestSupport
