#include "support/files.h"

#include <fstream>
#include <sstream>

namespace TestSupport {

std::string writeFile(const std::string& path, const std::string& contents) {
    std::filesystem::path target(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << contents;
    return path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

CurrentDir::CurrentDir(const std::filesystem::path& dir)
    : _previous(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

CurrentDir::~CurrentDir() {
    std::error_code ignored;
    std::filesystem::current_path(_previous, ignored);
}

} // namespace TestSupport
