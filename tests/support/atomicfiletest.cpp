#include "support/atomicfiletest.h"

#include <sys/resource.h>

#include <csignal>
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

int filesIn(const std::filesystem::path& dir) {
    return int(std::distance(std::filesystem::directory_iterator(dir),
                             std::filesystem::directory_iterator()));
}

} // namespace TestSupport
