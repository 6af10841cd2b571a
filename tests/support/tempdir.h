#pragma once
// A fresh directory for the files of one test, removed with everything in it when the
// object goes away.
#include <filesystem>
#include <string>

namespace TestSupport {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& dir() const { return _dir; }
    // The path of a file called name inside the directory.
    std::string path(const std::string& name) const { return (_dir / name).string(); }

private:
    std::filesystem::path _dir;
};

} // namespace TestSupport
