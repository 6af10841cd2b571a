#pragma once
// What every fuzz target shares. The game reads its outside data from files, so each
// target writes its input into a file and hands the file's name to the real reader.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Fuzz {

// A folder of this process's own, made on first use (inside TMPDIR when it is set) and
// removed when the process ends normally.
const std::string& folder();
// Writes the input to the file name inside folder() and returns the file's path.
std::string writeInput(const std::string& name, const std::uint8_t* data, std::size_t size);
// Writes text to the file name inside folder() and returns the file's path.
std::string writeFile(const std::string& name, const std::string& text);
// Sends standard output to /dev/null: the settings reader echoes all it reads, and the
// fuzzer's own reports go to standard error.
void silenceStandardOutput();
// Ends the run as a finding when a property the game relies on does not hold.
void require(bool holds, const char* what);

} // namespace Fuzz
