// The asset maker itself: the same sources always give the same bytes, and its readers
// turn the readable sources into exactly the pictures, patterns and instruments written.
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <map>
#include <string>

#include "support/files.h"
#include "support/tempdir.h"
#include "tools/assetmaker/assetmaker.h"
#include "tools/assetmaker/fontsource.h"
#include "tools/assetmaker/instrumentsource.h"
#include "tools/assetmaker/picturesource.h"
#include "tools/assetmaker/songsource.h"
#include "tools/assetmaker/sourcefile.h"
#include "tools/assetmaker/synth.h"

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

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const AssetError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(AssetMaker, MakesTheSameBytesOnEveryRunAsInTheBuildTree) {
    TestSupport::TempDir first, second;
    makeAssets(KESTRANE_ASSET_SOURCES, first.dir().string());
    makeAssets(KESTRANE_ASSET_SOURCES, second.dir().string());
    auto a = filesBelow(first.dir()), b = filesBelow(second.dir());
    EXPECT_EQ(a.size(), 14u + 1 + 9 + 4 + 1); // pictures, sound.conf, effects, tunes, sheet
    for (const auto& [name, bytes] : a) {
        EXPECT_TRUE(bytes == b[name]) << name << " differs between two runs";
        // The tests run in the build tree, which the build made with the same tool.
        EXPECT_TRUE(bytes == TestSupport::readFile(name)) << name << " differs from the build";
    }
}

TEST(AssetMaker, PictureGridsStandOnTheirCornerWithTheTopRowFirst) {
    TestSupport::TempDir dir;
    std::string path = TestSupport::writeFile(dir.path("p.txt"), "size 4 4\ncolour X ff000080\n"
                                                                 "grid 1 0\nX..\n.XX\n");
    RgbaImage image = readPicture(path);
    EXPECT_EQ(image.pixel(1, 1), (Rgba{255, 0, 0, 128}));
    EXPECT_EQ(image.pixel(2, 0), (Rgba{255, 0, 0, 128}));
    EXPECT_EQ(image.pixel(1, 0).a, 0);
    EXPECT_EQ(image.pixel(0, 1).a, 0);
}

TEST(AssetMaker, SourceFaultsNameTheFileAndLine) {
    TestSupport::TempDir dir;
    auto picture = [&](const std::string& text) {
        return errorOf([&] { readPicture(TestSupport::writeFile(dir.path("p.txt"), text)); });
    };
    EXPECT_NE(picture("size 4 4\ngrid 0 0\n..\n.Q\n").find("p.txt:4: 'Q' is not in the legend"),
              std::string::npos);
    EXPECT_NE(picture("size 4 4\ngrid 3 0\n..\n").find(":3: the grid runs off"), std::string::npos);
    EXPECT_NE(picture("size 6 4\n").find("powers of two"), std::string::npos);
    std::string font = errorOf([&] {
        readFont(TestSupport::writeFile(dir.path("f.txt"), "height 4\nbaseline 1\nwidth 16\n"
                                                           "glyph A\nX.\nX.\nX.\nX.\n"));
    });
    EXPECT_NE(font.find("f.txt:4: the glyph is taller than its cell"), std::string::npos);
}

TEST(AssetMaker, FontLayoutEndsEachLineWithTwoMarkersBeforeTheEdge) {
    TestSupport::TempDir dir;
    std::string text = "height 4\nbaseline 1\nwidth 16\ncolour X ffffffff\n";
    for (char c : std::string("ABC"))
        text += std::string("glyph ") + c + "\nXXXX.\n-\nX....\n\n";
    FontPicture font = readFont(TestSupport::writeFile(dir.path("f.txt"), text));
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
    EXPECT_EQ(font.image.pixel(1, 0).a, 0);
    EXPECT_EQ(font.image.height(), 8);
}

TEST(AssetMaker, TrackRowsBecomeNotesInstrumentsVolumesAndEffects) {
    TestSupport::TempDir dir;
    std::string instruments = TestSupport::writeFile(
        dir.path("i.txt"), "instrument lead\n  tone square\ninstrument kick\n  drum\n"
                           "  voice sine freq 100 length 0.1\n");
    std::string song = TestSupport::writeFile(
        dir.path("s.txt"), "name t\nchannels 2\ninstruments kick lead\n"
                           "track a 8 lead\n  C-4:32!A04 == [ kick . ]*2 | C#5/kick .:10\n\n"
                           "pattern p a -\norder p p\nrestart 1\n");
    XmModule module = readSong(song, readInstruments(instruments));
    ASSERT_EQ(module.patterns.size(), 1u);
    const auto& cells = module.patterns[0].cells;
    ASSERT_EQ(cells.size(), 16u);
    EXPECT_EQ(cells[0].note, 49);
    EXPECT_EQ(cells[0].instrument, 2);
    EXPECT_EQ(cells[0].volume, 0x10 + 32);
    EXPECT_EQ(cells[0].effect, 10);
    EXPECT_EQ(cells[0].param, 4);
    EXPECT_TRUE(cells[1].empty()) << "the second channel is silent";
    EXPECT_EQ(cells[2].note, xmKeyOff);
    for (int row : {2, 4}) {
        EXPECT_EQ(cells[std::size_t(row * 2)].note, drumNote);
        EXPECT_EQ(cells[std::size_t(row * 2)].instrument, 1);
        EXPECT_TRUE(cells[std::size_t(row * 2 + 2)].empty());
    }
    EXPECT_EQ(cells[12].note, 62);
    EXPECT_EQ(cells[12].instrument, 1);
    EXPECT_EQ(cells[14].volume, 0x10 + 10);
    EXPECT_EQ(module.order, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(module.restart, 1);

    std::string wrong = errorOf([&] {
        readSong(TestSupport::writeFile(dir.path("w.txt"), "channels 2\ninstruments lead\n"
                                                           "track a 4 lead\n  C-4 . .\n"),
                 readInstruments(instruments));
    });
    EXPECT_NE(wrong.find("w.txt:3: track 'a' has 3 rows, not 4"), std::string::npos);
}

TEST(AssetMaker, ToneInstrumentsPlayInTuneThroughATrackerPlayer) {
    TestSupport::TempDir dir;
    InstrumentLibrary library = readInstruments(
        TestSupport::writeFile(dir.path("i.txt"), "instrument sine\n  tone sine\n"));
    XmModule module;
    module.name = "tuning";
    module.channels = 2;
    module.instruments.push_back(library["sine"]);
    XmPattern pattern;
    pattern.rows = 64;
    pattern.cells.resize(128);
    pattern.cells[0] = {58, 1, 0, 0, 0};
    module.patterns.push_back(pattern);
    module.order = {0};
    std::vector<std::uint8_t> bytes = encodeXm(module);
    openmpt::module player(bytes);
    EXPECT_EQ(player.get_metadata("warnings"), "");
    // Count rising zero crossings over one second, well after the note began.
    std::vector<float> left(44100), right(44100);
    player.read(44100, 4410, left.data(), right.data());
    player.read(44100, 44100, left.data(), right.data());
    int crossings = 0;
    for (std::size_t i = 1; i < left.size(); ++i)
        crossings += left[i - 1] < 0 && left[i] >= 0;
    EXPECT_NEAR(crossings, 440, 3);
}

TEST(AssetMaker, VoicesFadeToSilenceAndNormaliseToTheirPeak) {
    Voice voice;
    voice.wave = Wave::Square;
    voice.length = 0.05;
    voice.freqStart = 1000;
    voice.freqEnd = 200;
    std::vector<std::int16_t> samples = normalise(renderVoices({voice}, 44100), 0.5);
    int peak = 0;
    for (std::int16_t s : samples)
        peak = std::max(peak, std::abs(int(s)));
    EXPECT_NEAR(peak, 16384, 2);
    EXPECT_EQ(samples.front(), 0);
    EXPECT_LT(std::abs(int(samples.back())), 50);
    EXPECT_NEAR(double(samples.size()) / 44100, 0.05, 0.001);
}
