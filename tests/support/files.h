#pragma once
// Text files and the working directory for tests that read files by relative
// names.
#include <filesystem>
#include <string>

namespace TestSupport {

// Writes contents to path, making its folders first, and returns path.
std::string writeFile(const std::string& path, const std::string& contents);
// The whole contents of a file; empty when it cannot be read.
std::string readFile(const std::string& path);

// Makes a directory the working directory while it lives.
class CurrentDir {
public:
    explicit CurrentDir(const std::filesystem::path& dir);
    ~CurrentDir();
    CurrentDir(const CurrentDir&) = delete;
    CurrentDir& operator=(const CurrentDir&) = delete;

private:
    std::filesystem::path _previous;
};

} // namespace TestSupport
