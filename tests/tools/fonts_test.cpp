// The two font pictures cut by the game's font loader with the game's character strings:
// exactly one glyph a character, each of positive width, legible and distinct.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "assetpicture.h"
#include "pyrane/font.h"
#include "pyrane/image.h"

using AssetTest::Box;
using AssetTest::Picture;

namespace {

const std::string largeCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                                    "-=][';,./\\~!#%^&*()_+{}\":<>?|$ ";
const std::string smallCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,:;!?_()*/+-=\"'&@ ";
constexpr int cellHeight = 16;
constexpr int baseline = 5;

void checkFont(const std::string& file, const std::string& characters) {
    Picture font(file);
    Pyrane::Font loaded(file, characters, baseline, cellHeight, 0, AssetTest::renderer(), false);
    std::vector<Box> glyphs;
    for (unsigned c = 0; c < 256; ++c)
        if (Pyrane::Image* glyph = loaded.charImage(static_cast<unsigned char>(c))) {
            EXPECT_NE(characters.find(char(c)), std::string::npos) << "a glyph for code " << c;
            EXPECT_EQ(glyph->pivot(), Vector2<int>(0, baseline));
        }
    for (char c : characters) {
        Pyrane::Image* glyph = loaded.charImage(static_cast<unsigned char>(c));
        ASSERT_NE(glyph, nullptr) << "no glyph for '" << c << "'";
        const auto& box = glyph->bitmapBox();
        glyphs.push_back({box.min.x, box.min.y, box.max.x, box.max.y});
    }
    std::set<std::vector<std::uint8_t>> shapes;
    int capHeight = 0;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Box& g = glyphs[i];
        char c = characters[i];
        SCOPED_TRACE(std::string("glyph '") + c + "'");
        EXPECT_GT(g.x1 - g.x0, 0);
        EXPECT_LT(g.x1 - g.x0, 8);
        // The blank column after each glyph keeps letters apart without extra spacing.
        EXPECT_EQ(font.ink({g.x1 - 1, g.y0, g.x1, g.y1}), 0);
        if (c == ' ') {
            EXPECT_EQ(font.ink(g), 0);
            continue;
        }
        EXPECT_GT(font.ink(g), 0);
        std::vector<std::uint8_t> shape{std::uint8_t(g.x1 - g.x0)};
        for (int y = g.y0; y < g.y1; ++y)
            for (int x = g.x0; x < g.x1; ++x) {
                AssetTest::Pixel p = font.at(x, y);
                // White ink on a transparent ground, so the drawing colour tints it.
                if (p.a) {
                    EXPECT_EQ(p, (AssetTest::Pixel{255, 255, 255, 255}));
                }
                shape.push_back(p.a);
            }
        EXPECT_TRUE(shapes.insert(shape).second) << "two characters look the same";
        if (c >= 'A' && c <= 'Z') {
            // Capitals stand on the baseline and nothing hangs below it.
            EXPECT_GT(font.ink({g.x0, g.y0 + baseline, g.x1, g.y0 + baseline + 1}), 0);
            EXPECT_EQ(font.ink({g.x0, g.y0, g.x1, g.y0 + baseline}), 0);
            int top = 0;
            for (int y = g.y0; y < g.y1; ++y)
                if (font.ink({g.x0, y, g.x1, y + 1})) top = y - g.y0 - baseline + 1;
            if (!capHeight) capHeight = top;
            EXPECT_EQ(top, capHeight) << "capitals share one height";
        }
    }
    // Nothing follows the last glyph: its line ends there and no line above holds anything.
    const Box& last = glyphs.back();
    AssetTest::Pixel end = font.at(last.x1 + 1, last.y0);
    EXPECT_TRUE(end.r == 255 && end.g == 0 && end.b == 0);
    EXPECT_EQ(font.ink({last.x1 + 2, last.y0, font.width(), last.y1}), 0);
    EXPECT_EQ(font.ink({0, last.y1, font.width(), font.height()}), 0);
}

} // namespace

TEST(Fonts, LargeFontHasAGlyphForEachOfItsCharacters) {
    checkFont("bitmaps/font.png", largeCharacters);
}

TEST(Fonts, SmallFontHasAGlyphForEachOfItsCharacters) {
    checkFont("bitmaps/font_small.png", smallCharacters);
}
