#include "support/atomicfiletest.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iterator>

namespace TestSupport {

FileSizeLimit::FileSizeLimit(long bytes) {
    _previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    _previous = long(limit.rlim_cur);
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(_previous);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, _previousHandler);
}

StderrCapture::StderrCapture() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    std::fflush(stderr);
    _saved = dup(2);
    dup2(fds[1], 2);
    close(fds[1]);
    _read = fds[0];
}

StderrCapture::~StderrCapture() {
    text();
}

std::string StderrCapture::text() {
    if (_read < 0) return _text;
    std::fflush(stderr);
    dup2(_saved, 2);
    close(_saved);
    char buffer[4096];
    for (ssize_t got; (got = read(_read, buffer, sizeof buffer)) > 0;)
        _text.append(buffer, std::size_t(got));
    close(_read);
    _read = -1;
    return _text;
}

int filesIn(const std::filesystem::path& dir) {
    return int(std::distance(std::filesystem::directory_iterator(dir),
                             std::filesystem::directory_iterator()));
}

} // namespace TestSupport
