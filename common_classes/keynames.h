#pragma once
// Names for the virtual-key codes of key messages, for files that people read: the
// Win32 name without its VK_ prefix ("LEFT", "SPACE", "F5"), the character for letters
// and digits ("Z", "7"), and "#" with the number for a code without a name.
#include <optional>
#include <string>
#include <string_view>

// The name of a key code; every code has one.
std::string keyName(unsigned int virtualKey);
// The code a name stands for: a name keyName gives for some key the platform can
// send. Anything else (an unknown name, a number beyond the platform's codes) is
// no key.
std::optional<unsigned int> keyFromName(std::string_view name);
