#include "common_classes/keynames.h"

#include <charconv>

#include "common_classes/platform/win32defs.h"

namespace {

struct NamedKey {
    int code;
    const char* name;
};

const NamedKey namedKeys[] = {
    {VK_BACK, "BACK"},
    {VK_TAB, "TAB"},
    {VK_RETURN, "RETURN"},
    {VK_SHIFT, "SHIFT"},
    {VK_CONTROL, "CONTROL"},
    {VK_MENU, "MENU"},
    {VK_PAUSE, "PAUSE"},
    {VK_CAPITAL, "CAPITAL"},
    {VK_ESCAPE, "ESCAPE"},
    {VK_SPACE, "SPACE"},
    {VK_PRIOR, "PRIOR"},
    {VK_NEXT, "NEXT"},
    {VK_END, "END"},
    {VK_HOME, "HOME"},
    {VK_LEFT, "LEFT"},
    {VK_UP, "UP"},
    {VK_RIGHT, "RIGHT"},
    {VK_DOWN, "DOWN"},
    {VK_INSERT, "INSERT"},
    {VK_DELETE, "DELETE"},
    {VK_MULTIPLY, "MULTIPLY"},
    {VK_ADD, "ADD"},
    {VK_SUBTRACT, "SUBTRACT"},
    {VK_DECIMAL, "DECIMAL"},
    {VK_DIVIDE, "DIVIDE"},
    {VK_OEM_1, "OEM_1"},
    {VK_OEM_PLUS, "OEM_PLUS"},
    {VK_OEM_COMMA, "OEM_COMMA"},
    {VK_OEM_MINUS, "OEM_MINUS"},
    {VK_OEM_PERIOD, "OEM_PERIOD"},
    {VK_OEM_2, "OEM_2"},
    {VK_OEM_3, "OEM_3"},
    {VK_OEM_4, "OEM_4"},
    {VK_OEM_5, "OEM_5"},
    {VK_OEM_6, "OEM_6"},
    {VK_OEM_7, "OEM_7"},
};

// Keys without a Win32 code come as VK_OTHER_BASE plus one of SDL's 512 scancodes.
constexpr unsigned int highestCode = VK_OTHER_BASE + 511;

bool between(unsigned int code, int first, int last) {
    return code >= unsigned(first) && code <= unsigned(last);
}

} // namespace

std::string keyName(unsigned int code) {
    if (between(code, 'A', 'Z') || between(code, '0', '9')) return std::string(1, char(code));
    if (between(code, VK_F1, VK_F12)) return "F" + std::to_string(code - VK_F1 + 1);
    if (between(code, VK_NUMPAD0, VK_NUMPAD0 + 9))
        return "NUMPAD" + std::to_string(code - VK_NUMPAD0);
    for (const NamedKey& key : namedKeys)
        if (unsigned(key.code) == code) return key.name;
    return "#" + std::to_string(code);
}

// The number after a prefix, when the name is the prefix and a plain decimal number.
static std::optional<unsigned int> numberAfter(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    unsigned int n = 0;
    const char* end = name.data() + name.size();
    auto [ptr, error] = std::from_chars(name.data() + prefix.size(), end, n);
    if (error != std::errc() || ptr != end) return std::nullopt;
    return n;
}

std::optional<unsigned int> keyFromName(std::string_view name) {
    std::optional<unsigned int> code;
    if (name.size() == 1)
        code = static_cast<unsigned char>(name[0]);
    else if (auto n = numberAfter(name, "#"))
        code = *n <= highestCode ? n : std::nullopt;
    else if (auto f = numberAfter(name, "F"))
        code = *f >= 1 && *f <= 12 ? std::optional(VK_F1 + *f - 1) : std::nullopt;
    else if (auto d = numberAfter(name, "NUMPAD"))
        code = *d <= 9 ? std::optional(VK_NUMPAD0 + *d) : std::nullopt;
    else
        for (const NamedKey& key : namedKeys)
            if (name == key.name) code = unsigned(key.code);
    // Only the spelling keyName gives counts ("#37" is LEFT, "F05" nothing), so that a
    // key has one name.
    if (code && keyName(*code) != name) return std::nullopt;
    return code;
}
