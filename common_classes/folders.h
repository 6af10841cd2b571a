#pragma once
// Where the program's files are: its pictures and sounds, found beside the program (the
// build tree, a portable copy) or in the share folder of an installed game, and the
// player's own files (settings and hiscore), kept beside the program where that is
// possible and in the user's data folder otherwise.
#include <filesystem>
#include <string>

namespace Folders {

// The folder that holds the program's pictures and sounds: `program` (the program's own
// folder) when it has an entry called `probe`, else `installed` taken relative to
// `program` when that has one. When neither has it, `program`, so that the loaders name
// the missing files where the build would have put them.
std::filesystem::path assets(const std::filesystem::path& program,
                             const std::filesystem::path& installed, const std::string& probe);

// The folder for the player's files: "data" beside the program when that folder exists and
// can be written (the build tree, a portable copy), else `name` in $XDG_DATA_HOME, or in
// ~/.local/share when that variable is unset, empty or not an absolute path.
std::filesystem::path playerData(const std::filesystem::path& program, const std::string& name);

// Makes `folder` and every missing folder above it, each readable only by its owner as a
// user's data folders should be. True when the folder exists afterwards.
bool make(const std::filesystem::path& folder);

} // namespace Folders
