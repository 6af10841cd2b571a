#pragma once
// An environment variable set (or unset) for as long as the object lives, for tests of
// code that reads the user's folders from the environment.
#include <optional>
#include <string>

namespace TestSupport {

class EnvironmentVariable {
public:
    // Sets the variable to `value`, or unsets it for nullopt.
    EnvironmentVariable(const char* name, const std::optional<std::string>& value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* _name;
    std::optional<std::string> _old;
};

} // namespace TestSupport
