#include "pyrane/bitmap.h"

#include <GL/gl.h>
#include <png.h>

#include <stdexcept>

#include "enginetest.h"
#include "support/files.h"

using Pyrane::Bitmap;

namespace {

class BitmapTest : public EngineTest {
protected:
    // The message of the error that loading path raises.
    std::string loadError(const std::string& path) {
        try {
            Bitmap bitmap(path, renderer, false);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "loaded";
    }
};

} // namespace

TEST_F(BitmapTest, LoadsRowsBottomUp) {
    auto bitmap = load("rows.png", 64, 32, [](int x, int row) { return Colour(x, row, 7, 255); });
    EXPECT_EQ(Vector2<int>(bitmap->w(), bitmap->h()), Vector2<int>(64, 32));
    // (0, 0) is the bottom-left pixel as a viewer shows it, (0, h - 1) the top-left one.
    EXPECT_EQ(bitmap->pixelColor({0, 0}), Colour(0, 31, 7, 255));
    EXPECT_EQ(bitmap->pixelColor({63, 31}), Colour(63, 0, 7, 255));
    EXPECT_EQ(bitmap->data()[(10 * 64 + 5) * 4 + 1], 21);
    for (Vector2<int> outside : {Vector2<int>(-1, 0), {64, 0}, {0, -1}, {0, 32}})
        EXPECT_EQ(bitmap->pixelColor(outside), Colour(0, 0, 0, 0));
}

TEST_F(BitmapTest, RefusedFilesAreNamedInTheMessage) {
    const std::string badType = "' has bad color type or bit-depth; must be RGBA, 8bpp";
    const struct {
        std::string name;
        std::function<void(const std::string&)> write;
        std::string before, after;
    } cases[] = {
        {"missing.png", [](auto&) {}, "cannot open file X '", "'"},
        {"short.png", [](auto& p) { TestSupport::writeFile(p, "\x89PNG\r\n\x1a"); },
         "cannot read file '", "'"},
        {"text.png", [](auto& p) { TestSupport::writeFile(p, "not a picture"); }, "file '",
         "' is not in png format"},
        {"48x32.png", [](auto& p) { TestSupport::writePng(p, 48, 32, PNG_COLOR_TYPE_RGBA, 8); },
         "file '", "' is not pow2 pixelsize"},
        {"32x24.png", [](auto& p) { TestSupport::writePng(p, 32, 24, PNG_COLOR_TYPE_RGBA, 8); },
         "file '", "' is not pow2 pixelsize"},
        // The colour type is checked before the size.
        {"palette.png",
         [](auto& p) { TestSupport::writePng(p, 48, 32, PNG_COLOR_TYPE_PALETTE, 8); }, "file '",
         badType},
        {"16bit.png", [](auto& p) { TestSupport::writePng(p, 32, 32, PNG_COLOR_TYPE_RGBA, 16); },
         "file '", badType},
    };
    for (const auto& c : cases) {
        const std::string path = dir.path(c.name);
        c.write(path);
        EXPECT_EQ(loadError(path), c.before + path + c.after);
    }
}

TEST_F(BitmapTest, DamagedOrHostileDataAfterTheSignatureIsAnError) {
    unsigned seed = 1;
    TestSupport::writePng(dir.path("good.png"), 64, 64, [&](int, int) {
        seed = seed * 1103515245u + 12345u;
        return Colour(seed >> 24, seed >> 16, seed >> 8, 255);
    });
    const std::string bytes = TestSupport::readFile(dir.path("good.png"));
    ASSERT_GT(bytes.size(), 1000u);
    std::string damaged = bytes;
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i)
        damaged[i] ^= 0x5a;
    TestSupport::writeFile(dir.path("damaged.png"), damaged);
    TestSupport::writeFile(dir.path("signature.png"), bytes.substr(0, 8));
    TestSupport::writeFile(dir.path("header.png"), bytes.substr(0, 20));
    TestSupport::writeFile(dir.path("cut.png"), bytes.substr(0, bytes.size() / 2));
    // Wider than any texture: refused before libpng reserves the rows.
    TestSupport::writePng(dir.path("wide.png"), 32768, 1, PNG_COLOR_TYPE_RGBA, 8);
    for (const char* name : {"damaged.png", "signature.png", "header.png", "cut.png", "wide.png"}) {
        const std::string error = loadError(dir.path(name));
        EXPECT_EQ(error.rfind("file '" + dir.path(name) + "' is damaged: ", 0), 0u) << error;
    }
}

TEST_F(BitmapTest, MaskSetsABitFromAlpha100MostSignificantFirstEachRowInNewWords) {
    // Bottom row: alpha 99 at x 0, 100 at x 1, 255 at x 33. Top row: 100 at x 31 and 39.
    auto bitmap = load("mask.png", 64, 2, [](int x, int row) {
        const int a = row == 1 ? (x == 0    ? 99
                                  : x == 1  ? 100
                                  : x == 33 ? 255
                                            : 0)
                               : (x == 31 || x == 39 ? 100 : 0);
        return Colour(1, 2, 3, a);
    });
    ASSERT_EQ(bitmap->bitmaskWordsPerRow(), 2);
    const std::uint32_t* mask = bitmap->bitmaskData();
    EXPECT_EQ((std::vector<std::uint32_t>(mask, mask + 4)),
              (std::vector<std::uint32_t>{0x40000000, 0x40000000, 0x00000001, 0x01000000}));
}

TEST_F(BitmapTest, SingleColourBitmapHasPowerOfTwoSidesAndNoMaskOrTexture) {
    Bitmap bitmap(Vector2<unsigned int>(5, 3), renderer, RGBA<float>(1, 0.5f, 0.25f, 1));
    EXPECT_EQ(Vector2<int>(bitmap.w(), bitmap.h()), Vector2<int>(8, 4));
    EXPECT_EQ(bitmap.pixelColor({7, 3}), Colour(255, 127, 63, 255));
    EXPECT_EQ(bitmap.bitmaskData(), nullptr);
    EXPECT_EQ(bitmap.texID(), 0u);
    // A side of 0 becomes 2; channels are truncated and only their low 8 bits kept.
    Bitmap wrapped(Vector2<unsigned int>(0, 1), renderer, RGBA<float>(1.5f, 0.999f, 0, 0.5f));
    EXPECT_EQ(Vector2<int>(wrapped.w(), wrapped.h()), Vector2<int>(2, 1));
    EXPECT_EQ(wrapped.pixelColor({1, 0}), Colour(126, 254, 0, 127));
    // No 32-bit power of two holds this side.
    EXPECT_THROW(Bitmap(Vector2<unsigned int>(0x80000001u, 1), renderer, RGBA<float>()),
                 std::length_error);
}

TEST_F(BitmapTest, ActivateMakesOneTextureAndDeactivateDeletesIt) {
    auto a = solid("a.png", Colour(255, 0, 0, 255));
    const unsigned int name = a->texID();
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_EQ(a->activate().texID(), name);
    {
        Bitmap b(dir.path("a.png"), renderer, false);
        EXPECT_EQ(b.texID(), 0u);
        b.activate();
        EXPECT_EQ(renderer.textures().size(), 2u);
    }
    // Destroying a bitmap deletes its texture.
    EXPECT_EQ(renderer.textures(), std::list<unsigned int>{name});
    a->deactivate();
    EXPECT_EQ(a->texID(), 0u);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_TRUE(renderer.textures().empty());
}
