// Key names for files that people read: one name a key, read back to the same key.
#include "common_classes/keynames.h"

#include <gtest/gtest.h>

#include "common_classes/platform/win32defs.h"

namespace {

TEST(KeyNames, EveryCodeThePlatformSendsHasOneNameThatReadsBack) {
    for (unsigned int code = 0; code < VK_OTHER_BASE + 512; ++code) {
        const std::string name = keyName(code);
        ASSERT_FALSE(name.empty());
        EXPECT_EQ(keyFromName(name), code) << name;
    }
    const std::pair<unsigned int, const char*> named[] = {{VK_LEFT, "LEFT"},
                                                          {VK_SPACE, "SPACE"},
                                                          {'Z', "Z"},
                                                          {'7', "7"},
                                                          {VK_F5, "F5"},
                                                          {VK_F12, "F12"},
                                                          {VK_NUMPAD0 + 3, "NUMPAD3"},
                                                          {VK_OEM_PLUS, "OEM_PLUS"},
                                                          {200, "#200"},
                                                          {VK_OTHER_BASE + 511, "#1023"}};
    for (auto [code, name] : named)
        EXPECT_EQ(keyName(code), name);
}

TEST(KeyNames, AnythingButTheOneNameOfAKeyIsNoKey) {
    for (const char* name :
         {"",       "#",    "#37",   "#037",     "#-1", "#+1", "#1024", "#99999999999999",
          "left",   "Left", "LEFT ", " LEFT",    "F0",  "F13", "F05",   "NUMPAD10",
          "NUMPAD", "a",    "~",     "SPACEBAR", "#2x", "F1\n"})
        EXPECT_EQ(keyFromName(name), std::nullopt) << "'" << name << "'";
}

} // namespace
