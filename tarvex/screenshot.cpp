#include "tarvex/screenshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace Tarvex::Screenshot {

namespace {

namespace fs = std::filesystem;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The value of XDG_PICTURES_DIR in a user-dirs.dirs file: a quoted absolute path or one
// that starts with $HOME/. Empty when the file does not set it.
std::string userDirsPictures(const fs::path& file, const std::string& home) {
    std::ifstream in(file);
    std::string line, found;
    const std::string key = "XDG_PICTURES_DIR=\"";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        const std::size_t end = line.find('"', key.size());
        if (end == std::string::npos) continue;
        std::string value = line.substr(key.size(), end - key.size());
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        if (!value.empty() && value[0] == '/') found = value;
    }
    return found;
}

} // namespace

std::string folder(const std::string& fallback) {
    const std::string set = environment("XDG_PICTURES_DIR");
    if (!set.empty() && set[0] == '/') return set;
    const std::string home = environment("HOME");
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') config = home.empty() ? "" : home + "/.config";
    if (!config.empty()) {
        const std::string pictures = userDirsPictures(fs::path(config) / "user-dirs.dirs", home);
        if (!pictures.empty()) return pictures;
    }
    std::error_code error;
    if (!home.empty() && fs::is_directory(fs::path(home) / "Pictures", error))
        return home + "/Pictures";
    return fallback;
}

std::string fileName(std::time_t when, int n) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    return std::string("kestrane-") + stamp + (n > 1 ? "-" + std::to_string(n) : "") + ".png";
}

Saved save(const Pyrane::Picture& picture, const std::string& folder, std::time_t when) {
    const Pyrane::Picture large = Pyrane::enlarge(picture, enlargement);
    Saved saved;
    // A new name for every shot: the file is made only where none is, so that nothing
    // the player kept is ever overwritten.
    for (int n = 1; n <= 1000; ++n) {
        const std::string path = (fs::path(folder) / fileName(when, n)).string();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) {
            saved.error = "cannot write in " + folder + ": " + std::strerror(errno);
            return saved;
        }
        std::FILE* file = ::fdopen(fd, "wb");
        std::string error;
        bool written = file && Pyrane::writePng(file, large, error);
        if (!file) {
            error = std::strerror(errno);
            ::close(fd);
        } else if (std::fclose(file) != 0 && written) {
            error = std::strerror(errno);
            written = false;
        }
        if (!written) {
            ::unlink(path.c_str());
            saved.error = "cannot write " + path + ": " + error;
            return saved;
        }
        saved.path = path;
        return saved;
    }
    saved.error = "too many screenshots of the same second in " + folder;
    return saved;
}

} // namespace Tarvex::Screenshot
