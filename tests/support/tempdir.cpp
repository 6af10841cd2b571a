#include "support/tempdir.h"

#include <cstdlib>
#include <stdexcept>

namespace TestSupport {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kestrane-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    _dir = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(_dir, ignored);
}

} // namespace TestSupport
