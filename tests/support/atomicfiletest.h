#pragma once
// Helpers for tests of saving: a disk that fills up, and counting what a folder holds.
#include <filesystem>
#include <string>

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

// While it lives, what this process writes on standard error goes into a pipe, which a
// file size limit does not cut as it would a file; text() ends the capture and returns
// it. Holds up to the pipe's 64 KiB.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    std::string text();

private:
    int _saved = -1;
    int _read = -1;
    std::string _text;
};

// How many entries the folder holds.
int filesIn(const std::filesystem::path& dir);

} // namespace TestSupport
