#include "common_classes/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace fs = std::filesystem;

namespace Folders {

namespace {

bool has(const fs::path& folder, const std::string& entry) {
    std::error_code error;
    return fs::exists(folder / entry, error);
}

bool writableFolder(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder, error) && access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? fs::path(user->pw_dir) : fs::path();
}

} // namespace

fs::path assets(const fs::path& program, const fs::path& installed, const std::string& probe) {
    if (has(program, probe)) return program;
    fs::path share = (program / installed).lexically_normal();
    if (has(share, probe)) return share;
    return program;
}

fs::path playerData(const fs::path& program, const std::string& name) {
    fs::path beside = program / "data";
    if (writableFolder(beside)) return beside;
    // A relative XDG_DATA_HOME is invalid and is ignored, as the base-directory rules say.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg && fs::path(xdg).is_absolute()) return fs::path(xdg) / name;
    fs::path home = homeFolder();
    // With no home at all, the files stay beside the program and saving them fails.
    if (home.empty()) return beside;
    return home / ".local" / "share" / name;
}

bool make(const fs::path& folder) {
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    std::error_code error;
    return fs::is_directory(folder, error);
}

} // namespace Folders
