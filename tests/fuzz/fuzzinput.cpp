#include "fuzzinput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace Fuzz {

namespace {

struct Folder {
    Folder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrane-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
        path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

} // namespace

const std::string& folder() {
    static const Folder folder;
    return folder.path;
}

std::string writeInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = folder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string writeFile(const std::string& name, const std::string& text) {
    return writeInput(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void silenceStandardOutput() {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
        dup2(null, 1);
        close(null);
    }
}

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

} // namespace Fuzz
