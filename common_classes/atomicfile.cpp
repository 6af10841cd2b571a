#include "common_classes/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(std::size_t(n));
    }
    return true;
}

// The folder's own entry must reach the disk too, or the rename may be lost.
void syncFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view contents, std::string* error) {
    // A name of its own for every writer, so that two saves never write into one file.
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return fail(error, "cannot create a file beside " + path);
    const std::string temporary(name.data());
    // mkstemp makes the file private; a saved file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    bool written = writeAll(fd, contents) || fail(error, "cannot write " + temporary);
    written = written && (::fsync(fd) == 0 || fail(error, "cannot flush " + temporary));
    const bool closed = ::close(fd) == 0;
    written = written && (closed || fail(error, "cannot close " + temporary));
    written = written && (std::rename(temporary.c_str(), path.c_str()) == 0 ||
                          fail(error, "cannot replace " + path));
    if (!written) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(path);
    return true;
}
