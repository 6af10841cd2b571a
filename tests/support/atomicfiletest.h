#pragma once
// Helpers for tests of saving: a disk that fills up, and counting what a folder holds.
#include <filesystem>

namespace TestSupport {

// While it lives, files this process writes cannot grow beyond `bytes` (writes beyond
// fail as on a full disk instead of raising SIGXFSZ).
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    long _previous;
    void (*_previousHandler)(int);
};

// How many entries the folder holds.
int filesIn(const std::filesystem::path& dir);

} // namespace TestSupport
