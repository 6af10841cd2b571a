#include "common_classes/settings/settings.h"

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/tempdir.h"

namespace {

using TestSupport::readFile;
using TestSupport::TempDir;
using TestSupport::writeFile;

// Loads contents as a settings file, keeping the echo off the test output.
Settings loadText(const std::string& contents, std::string* echo = nullptr) {
    TempDir dir;
    Settings settings;
    testing::internal::CaptureStdout();
    bool loaded = settings.load(writeFile(dir.path("test.conf"), contents), false);
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(loaded);
    if (echo) *echo = output;
    return settings;
}

std::map<std::string, std::string> texts(Settings& settings) {
    std::map<std::string, std::string> result;
    for (const auto& [name, value] : settings.entries())
        result[name] = value.stringValue;
    return result;
}

using Texts = std::map<std::string, std::string>;

TEST(Settings, QuotedAndEmptyValuesAreStoredUnderNumberedNamesAndTheBareKey) {
    std::string echo;
    Settings settings = loadText("size 3 \"a b\" \"\"\n", &echo);
    EXPECT_EQ(texts(settings),
              (Texts{{"size", "3"}, {"size@0", "3"}, {"size@1", "a b"}, {"size@2", ""}}));
    EXPECT_EQ(echo, ":size\n:3\n:a b\n:\nsize = 3\nsize@0 = 3\nsize@1 = a b\nsize@2 = \n");
    EXPECT_EQ(settings["size"].intValue, 3);
}

TEST(Settings, OnlyTheFirstTokenMakesACommentLine) {
    Settings settings = loadText("# size 3\nsize # 3\n");
    EXPECT_EQ(texts(settings), (Texts{{"size", "#"}, {"size@0", "#"}, {"size@1", "3"}}));
}

TEST(Settings, ABareNameMeansValueZero) {
    Settings settings = loadText("size 3 4\n");
    EXPECT_TRUE(settings.exists("size"));
    EXPECT_TRUE(settings.exists("size@1"));
    EXPECT_FALSE(settings.exists("size@2"));
    EXPECT_FALSE(settings.exists("other"));
    EXPECT_EQ(&settings["size"], &settings["size@0"]);
    EXPECT_EQ(settings["size@1"].intValue, 4);

    // Asking for a missing name creates it empty; erase takes names as they are.
    EXPECT_EQ(settings["other"].stringValue, "");
    EXPECT_TRUE(settings.exists("other"));
    EXPECT_FALSE(settings.erase("other"));
    EXPECT_TRUE(settings.erase("other@0"));
    EXPECT_FALSE(settings.exists("other"));
}

TEST(Settings, QuotesJoinAndSplitTokensWithoutSpaces) {
    Settings settings = loadText("k ab\"c\td\"e \"f\"\"g\"\n");
    EXPECT_EQ(
        texts(settings),
        (Texts{{"k", "abc\td"}, {"k@0", "abc\td"}, {"k@1", "e"}, {"k@2", "f"}, {"k@3", "g"}}));
}

TEST(Settings, LinesWithoutAKeyOrValuesStoreNothing) {
    Settings settings = loadText("\n   \t \nlonely\n\"\" 1 2\nopen 1 \"never closed\nx\"y 2\n");
    // The unclosed quote drops only its own token; x"y 2 opens a quote at the key.
    EXPECT_EQ(texts(settings), (Texts{{"open", "1"}, {"open@0", "1"}}));
}

TEST(Settings, WindowsLineEndingsReadLikeUnixOnes) {
    Settings settings = loadText("a 1\r\nb \"x y\"\r\n");
    EXPECT_EQ(texts(settings), (Texts{{"a", "1"}, {"a@0", "1"}, {"b", "x y"}, {"b@0", "x y"}}));
}

TEST(Settings, DamagedFilesAreReadWithoutHarm) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + i / 256) % 256);
    Settings binary = loadText(garbage);
    for (const auto& [name, value] : binary.entries())
        EXPECT_FALSE(name.empty());

    std::string huge(1 << 20, 'v');
    Settings longLine = loadText("big " + huge + " \"" + huge + "\n");
    EXPECT_EQ(texts(longLine), (Texts{{"big", huge}, {"big@0", huge}}));
}

TEST(Settings, ValuesReadAsTextFloatAndInteger) {
    struct Case {
        std::string text;
        float floatValue;
        int intValue;
    };
    for (const Case& c : std::initializer_list<Case>{{"3.7", 3.7f, 3},
                                                     {"12abc", 12, 12},
                                                     {"On", 0, 1},
                                                     {"TRUE", 0, 1},
                                                     {"off", 0, 0},
                                                     {"abc", 0, 0},
                                                     {"2.5", 2.5f, 2},
                                                     {" -4.5e1x", -45, -4},
                                                     {"truely", 0, 0},
                                                     {"", 0, 0}}) {
        Settings::Value value(c.text);
        EXPECT_EQ(value.stringValue, c.text);
        EXPECT_FLOAT_EQ(value.floatValue, c.floatValue) << c.text;
        EXPECT_EQ(value.intValue, c.intValue) << c.text;
    }
}

TEST(Settings, AssignedNumbersAreStoredAsTheirText) {
    Settings::Value value;
    value = 0.1f;
    EXPECT_EQ(value.stringValue, "0.1");
    value = 1234567.0f;
    EXPECT_EQ(value.stringValue, "1.23457e+06");
    EXPECT_FLOAT_EQ(value.floatValue, 1234570.0f);
    value = -42;
    EXPECT_EQ(value.stringValue, "-42");
    EXPECT_EQ(value.intValue, -42);
    value = std::string("on");
    EXPECT_EQ(value.intValue, 1);
}

TEST(Settings, SaveWritesKeysInByteOrderWithTheirValuesInIndexOrder) {
    TempDir dir;
    Settings settings;
    settings["b@0"] = 3;
    settings["a@0"] = 1;
    settings["a@1"] = std::string("x y");
    settings.entries()["a"] = Settings::Value("1");
    settings["k@0"] = std::string("tab\there");
    settings["k@2"] = 9; // no k@1: the list stops before it
    settings.entries()["lonely"] = Settings::Value("v");
    ASSERT_TRUE(settings.save(dir.path("out.conf")));
    EXPECT_EQ(readFile(dir.path("out.conf")), "a  1 \"x y\"\nb  3\nk  \"tab\there\"\nlonely \n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.conf.tmp")));

    Settings reread;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(reread.load(dir.path("out.conf"), false));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(reread["a@1"].stringValue, "x y");
    EXPECT_EQ(reread["k"].stringValue, "tab\there");
    EXPECT_FALSE(reread.exists("lonely"));
}

TEST(Settings, AFailedSaveLeavesTheOldFileWhole) {
    TempDir dir;
    std::string target = writeFile(dir.path("keep.conf"), "screenSize  3\n");
    std::filesystem::create_directory(dir.path("keep.conf.tmp")); // nothing can be written
    Settings settings;
    settings["screenSize"] = 5;
    EXPECT_FALSE(settings.save(target));
    EXPECT_EQ(readFile(dir.path("keep.conf")), "screenSize  3\n");
    EXPECT_FALSE(settings.save(dir.path("missing/dir/out.conf")));
}

TEST(Settings, LoadReplacesOrMergesAndAMissingFileChangesNothing) {
    TempDir dir;
    std::string file = writeFile(dir.path("new.conf"), "a 5\n");
    testing::internal::CaptureStdout();
    Settings merged;
    merged["b"] = 1;
    merged["a"] = 1;
    EXPECT_TRUE(merged.load(file, true));
    Settings replaced;
    replaced["b"] = 1;
    EXPECT_TRUE(replaced.load(file, false));
    EXPECT_FALSE(replaced.load(dir.path("missing.conf"), false));
    EXPECT_FALSE(merged.load(dir.path("missing.conf"), true));
    EXPECT_FALSE(replaced.load(dir.dir().string(), false));
    Settings constructed(file, false);
    testing::internal::GetCapturedStdout();

    EXPECT_EQ(texts(merged), (Texts{{"a", "5"}, {"a@0", "5"}, {"b@0", "1"}}));
    EXPECT_EQ(texts(replaced), (Texts{{"a", "5"}, {"a@0", "5"}}));
    EXPECT_EQ(texts(constructed), (Texts{{"a", "5"}, {"a@0", "5"}}));
}

} // namespace
