// Saving whole or not at all: a save that fails on the way, as on a full disk, leaves
// the old file as it was and nothing beside it.
#include <gtest/gtest.h>

#include <filesystem>

#include "common_classes/atomicfile.h"
#include "support/atomicfiletest.h"
#include "support/files.h"
#include "support/tempdir.h"

namespace {

using TestSupport::readFile;

TEST(AtomicFile, ReplacesAFileWholeOrLeavesItAsItWas) {
    TestSupport::TempDir dir;
    const std::string file = dir.path("score.dat");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(file, "first, longer contents", &error)) << error;
    ASSERT_TRUE(writeFileAtomically(file, std::string("\0\0\x48\x42", 4)));
    EXPECT_EQ(readFile(file), std::string("\0\0\x48\x42", 4));
    EXPECT_EQ(TestSupport::filesIn(dir.dir()), 1);

    {
        // The disk fills up after 3 bytes of the new file.
        TestSupport::FileSizeLimit full(3);
        EXPECT_FALSE(writeFileAtomically(file, "new contents", &error));
    }
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_EQ(readFile(file), std::string("\0\0\x48\x42", 4));
    EXPECT_EQ(TestSupport::filesIn(dir.dir()), 1) << "nothing left beside it";

    // No folder to write into: nothing is made.
    EXPECT_FALSE(writeFileAtomically(dir.path("missing/score.dat"), "x", &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.path("missing")));
}

} // namespace
