#include "common_classes/settings/settings.h"

#include <gtest/gtest.h>

#include "support/atomicfiletest.h"
#include "support/files.h"
#include "support/tempdir.h"

namespace {

using TestSupport::readFile;
using TestSupport::writeFile;
using Texts = std::map<std::string, std::string>;

// Loads a file quietly (the store echoes what it reads) and returns the echo.
std::string quietLoad(Settings& settings, const std::string& file, bool append) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(settings.load(file, append)) << file;
    return testing::internal::GetCapturedStdout();
}

Texts texts(Settings& settings) {
    Texts result;
    for (const auto& [name, value] : settings.entries())
        result[name] = value.stringValue;
    return result;
}

TEST(Settings, LinesAreCutIntoTokensAndStoredUnderNumberedNames) {
    const std::string huge(1 << 20, 'v');
    const std::pair<std::string, Texts> cases[] = {
        {"# size 3\nsize # 3\n", {{"size", "#"}, {"size@0", "#"}, {"size@1", "3"}}},
        {"k ab\"c\td\"e \"f\"\"g\"\n",
         {{"k", "abc\td"}, {"k@0", "abc\td"}, {"k@1", "e"}, {"k@2", "f"}, {"k@3", "g"}}},
        // No key, no values, an unclosed quote (dropping only its own token), a quote at the key.
        {"\n  \t \nlonely\n\"\" 1 2\nopen 1 \"never closed\nx\"y 2\n",
         {{"open", "1"}, {"open@0", "1"}}},
        {"a 1\r\nb \"x y\"\r\n", {{"a", "1"}, {"a@0", "1"}, {"b", "x y"}, {"b@0", "x y"}}},
        {"big " + huge + " \"" + huge + "\n", {{"big", huge}, {"big@0", huge}}},
    };
    TestSupport::TempDir dir;
    for (const auto& [text, expected] : cases) {
        Settings settings;
        quietLoad(settings, writeFile(dir.path("test.conf"), text), false);
        EXPECT_EQ(texts(settings), expected) << text.substr(0, 40);
    }

    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + i / 256) % 256);
    Settings binary;
    quietLoad(binary, writeFile(dir.path("binary.conf"), garbage), false);
    for (const auto& [name, value] : binary.entries())
        EXPECT_FALSE(name.empty());
}

TEST(Settings, EchoesWhatItReadsAndTheBareKeyIsValueZero) {
    TestSupport::TempDir dir;
    Settings size;
    EXPECT_EQ(quietLoad(size, writeFile(dir.path("size.conf"), "size 3 \"a b\" \"\"\n"), false),
              ":size\n:3\n:a b\n:\nsize = 3\nsize@0 = 3\nsize@1 = a b\nsize@2 = \n");
    EXPECT_EQ(&size["size"], &size["size@0"]);
    EXPECT_TRUE(size.exists("size"));
    EXPECT_FALSE(size.exists("size@3"));
    // Erasing takes the name as it is: the bare key read from the file is an entry of its own.
    EXPECT_TRUE(size.erase("size@0"));
    EXPECT_FALSE(size.exists("size"));
    EXPECT_TRUE(size.erase("size"));
}

TEST(Settings, ValuesReadAsTextFloatAndInteger) {
    const struct {
        const char* text;
        float floatValue;
        int intValue;
    } cases[] = {{"3.7", 3.7f, 3}, {"12abc", 12, 12}, {" -4.5e1x", -45, -4}, {"On", 0, 1},
                 {"TRUE", 0, 1},   {"off", 0, 0},     {"truely", 0, 0},      {"", 0, 0}};
    for (const auto& c : cases) {
        const Settings::Value value(c.text);
        EXPECT_FLOAT_EQ(value.floatValue, c.floatValue) << c.text;
        EXPECT_EQ(value.intValue, c.intValue) << c.text;
    }
    Settings::Value value;
    EXPECT_EQ((value = 0.1f).stringValue, "0.1");
    EXPECT_EQ((value = 1234567.0f).stringValue, "1.23457e+06");
}

TEST(Settings, SaveWritesKeysInOrderAndLoadReplacesOrMergesWhatItReads) {
    TestSupport::TempDir dir;
    const std::string file = dir.path("out.conf");
    Settings settings;
    settings["b@0"] = 3;
    settings["a@0"] = 1;
    settings["a@1"] = std::string("x y");
    settings.entries()["a"] = Settings::Value("1");
    settings["k@0"] = std::string("tab\there");
    settings["k@2"] = 9; // no k@1: the list stops before it
    ASSERT_TRUE(settings.save(file));
    const std::string saved = "a  1 \"x y\"\nb  3\nk  \"tab\there\"\n";
    EXPECT_EQ(readFile(file), saved);
    EXPECT_EQ(TestSupport::filesIn(dir.dir()), 1) << "nothing left beside it";

    Settings merged, replaced;
    merged["b"] = 1;
    merged["z"] = 1;
    replaced["z"] = 1;
    quietLoad(merged, file, true);
    quietLoad(replaced, file, false);
    EXPECT_EQ(merged["b"].stringValue, "3");
    EXPECT_TRUE(merged.exists("z"));
    EXPECT_FALSE(replaced.exists("z"));
    // A missing file or a folder cannot be read and changes nothing.
    EXPECT_FALSE(replaced.load(dir.path("missing.conf"), false));
    EXPECT_FALSE(replaced.load(dir.dir().string(), false));
    EXPECT_EQ(replaced["k"].stringValue, "tab\there");

    // A save that cannot be written (a full disk) leaves the old file whole.
    {
        TestSupport::FileSizeLimit full(4);
        EXPECT_FALSE(replaced.save(file));
    }
    EXPECT_EQ(readFile(file), saved);
    EXPECT_FALSE(settings.save(dir.path("missing/dir/out.conf")));
}

} // namespace
