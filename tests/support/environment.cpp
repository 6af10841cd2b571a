#include "support/environment.h"

#include <cstdlib>

namespace TestSupport {

namespace {

void put(const char* name, const std::optional<std::string>& value) {
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

} // namespace

EnvironmentVariable::EnvironmentVariable(const char* name, const std::optional<std::string>& value)
    : _name(name) {
    if (const char* old = std::getenv(name)) _old = old;
    put(name, value);
}

EnvironmentVariable::~EnvironmentVariable() {
    put(_name, _old);
}

} // namespace TestSupport
