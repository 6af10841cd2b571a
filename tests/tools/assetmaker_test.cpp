// The asset maker itself: the same sources always give the same bytes, and its readers
// turn the readable sources into exactly the pictures, fonts, patterns and tunes written.
#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <map>
#include <string>

#include "support/files.h"
#include "support/tempdir.h"
#include "tools/assetmaker/assetmaker.h"
#include "tools/assetmaker/fontsource.h"
#include "tools/assetmaker/picturesource.h"
#include "tools/assetmaker/songsource.h"
#include "tools/assetmaker/sourcefile.h"

namespace fs = std::filesystem;
using namespace AssetMaker;

namespace {

// Every file below `dir`, by path relative to it.
std::map<std::string, std::string> filesBelow(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).string()] =
                TestSupport::readFile(entry.path().string());
    return files;
}

class Sources : public ::testing::Test {
protected:
    // Writes a source file into the test's own folder and returns its path.
    std::string write(const std::string& name, const std::string& text) {
        return TestSupport::writeFile(_dir.path(name), text);
    }
    InstrumentLibrary instruments() {
        return readInstruments(write("i.txt", "instrument lead\n  tone square\ninstrument kick\n"
                                              "  drum\n  voice sine freq 100 length 0.1\n"
                                              "instrument sine\n  tone sine\n"));
    }

private:
    TestSupport::TempDir _dir;
};

} // namespace

TEST(AssetMaker, MakesTheSameBytesOnEveryRunAsInTheBuildTree) {
    // The build tree made its assets with the same tool. The tests start in it, and the
    // game's start-up moves them to a folder that links its bitmaps/ from there.
    const fs::path build = fs::canonical("bitmaps").parent_path();
    TestSupport::TempDir first, second;
    makeAssets(KESTRANE_ASSET_SOURCES, first.dir().string());
    makeAssets(KESTRANE_ASSET_SOURCES, second.dir().string());
    auto a = filesBelow(first.dir()), b = filesBelow(second.dir());
    EXPECT_EQ(a.size(), 14u + 1 + 9 + 4 + 3 + 1); // pictures, sound.conf, effects, tunes,
                                                  // icons, sheet
    for (const auto& [name, bytes] : a) {
        EXPECT_TRUE(bytes == b[name]) << name << " differs between two runs";
        EXPECT_TRUE(bytes == TestSupport::readFile((build / name).string()))
            << name << " differs from the build";
    }
}

TEST_F(Sources, PictureGridsStandOnTheirCornerWithTheTopRowFirst) {
    RgbaImage image =
        readPicture(write("p.txt", "size 4 4\ncolour X ff000080\ngrid 1 0\nX..\n.XX\n"));
    EXPECT_EQ(image.pixel(1, 1), (Rgba{255, 0, 0, 128}));
    EXPECT_EQ(image.pixel(2, 0), (Rgba{255, 0, 0, 128}));
    EXPECT_EQ(image.pixel(1, 0).a, 0);
    EXPECT_EQ(image.pixel(0, 1).a, 0);
}

TEST_F(Sources, FaultsNameTheFileAndLine) {
    const struct {
        const char *file, *text, *error;
    } cases[] = {
        {"p.txt", "size 4 4\ngrid 0 0\n..\n.Q\n", "p.txt:4: 'Q' is not in the legend"},
        {"p.txt", "size 4 4\ngrid 3 0\n..\n", "p.txt:3: the grid runs off the picture"},
        {"p.txt", "size 6 4\n", "p.txt:1: the picture's sides must be powers of two"},
        {"f.txt", "height 4\nbaseline 1\nwidth 16\nglyph A\nX.\nX.\nX.\nX.\n",
         "f.txt:4: the glyph is taller than its cell"},
        {"s.txt", "channels 2\ninstruments lead\ntrack a 4 lead\n  C-4 . .\n",
         "s.txt:3: track 'a' has 3 rows, not 4"},
    };
    for (const auto& c : cases) {
        std::string path = write(c.file, c.text), error;
        try {
            if (c.file[0] == 'p') readPicture(path);
            if (c.file[0] == 'f') readFont(path);
            if (c.file[0] == 's') readSong(path, instruments());
        } catch (const AssetError& e) {
            error = e.what();
        }
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << "gave: " << error;
    }
}

TEST_F(Sources, FontLayoutEndsEachLineWithTwoMarkersBeforeTheEdge) {
    std::string text = "height 4\nbaseline 1\nwidth 16\ncolour X ffffffff\n";
    for (char c : std::string("ABC"))
        text += std::string("glyph ") + c + "\nXXXX.\n-\nX....\n\n";
    FontPicture font = readFont(write("f.txt", text));
    // A third glyph of 5 columns would leave no room for the second marker of its line.
    ASSERT_EQ(font.glyphs.size(), 3u);
    EXPECT_EQ(font.glyphs[1].x, 6);
    EXPECT_EQ(font.glyphs[2].x, 0);
    EXPECT_EQ(font.glyphs[2].y, 4);
    for (auto [x, y] : {std::pair{5, 0}, {11, 0}, {12, 0}, {5, 4}, {6, 4}})
        EXPECT_EQ(font.image.pixel(x, y), markerRed) << x << "," << y;
    EXPECT_EQ(font.image.pixel(13, 0).a, 0);
    EXPECT_EQ(font.image.pixel(0, 1).a, 255); // the row standing on the baseline
    EXPECT_EQ(font.image.pixel(0, 0).a, 255); // the row hanging below it
    EXPECT_EQ(font.image.height(), 8);
}

TEST_F(Sources, TrackRowsBecomeNotesInstrumentsVolumesAndEffects) {
    XmModule module = readSong(write("s.txt", "name t\nchannels 2\ninstruments kick lead\n"
                                              "track a 8 lead\n"
                                              "  C-4:32!A04 == [ kick . ]*2 | C#5/kick .:10\n\n"
                                              "pattern p a -\norder p p\nrestart 1\n"),
                               instruments());
    const auto& cells = module.patterns.at(0).cells;
    ASSERT_EQ(cells.size(), 16u);
    // Note, instrument, volume column, effect and parameter of the first channel's rows.
    const std::array<int, 5> expected[] = {
        {49, 2, 0x10 + 32, 10, 4}, {xmKeyOff}, {drumNote, 1}, {}, {drumNote, 1}, {}, {62, 1},
        {0, 0, 0x10 + 10}};
    for (std::size_t row = 0; row < 8; ++row) {
        const XmCell& c = cells[2 * row];
        EXPECT_EQ((std::array<int, 5>{c.note, c.instrument, c.volume, c.effect, c.param}),
                  expected[row])
            << "row " << row;
        EXPECT_TRUE(cells[2 * row + 1].empty()) << "the second channel is silent";
    }
    EXPECT_EQ(module.order, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(module.restart, 1);
}

TEST_F(Sources, ToneInstrumentsPlayInTuneThroughATrackerPlayer) {
    XmModule module = readSong(write("s.txt", "channels 1\ninstruments sine\n"
                                              "track a 64 sine\n  A-4 [ . ]*63\n\n"
                                              "pattern p a\norder p\n"),
                               instruments());
    openmpt::module player(encodeXm(module));
    // Count rising zero crossings over one second, well after the note began.
    std::vector<float> left(44100), right(44100);
    player.read(44100, 4410, left.data(), right.data());
    player.read(44100, 44100, left.data(), right.data());
    int crossings = 0;
    for (std::size_t i = 1; i < left.size(); ++i)
        crossings += left[i - 1] < 0 && left[i] >= 0;
    EXPECT_NEAR(crossings, 440, 3);
}
