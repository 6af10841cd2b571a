#include "pyrane/bitmap.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "pyrane/renderer2d.h"
#include "support/bitmapfixture.h"
#include "support/glwindow.h"
#include "support/pngwriter.h"
#include "support/tempdir.h"

using Pyrane::Bitmap;
using Pyrane::Renderer2D;
using TestSupport::picture;
using TestSupport::PngFormat;
using Pixel = RGBA<unsigned char>;

namespace {

class BitmapTest : public ::testing::Test {
protected:
    std::string loadError(const std::string& path) {
        try {
            Bitmap bitmap(path, renderer, false);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "loaded";
    }

    // The window and its context come before the renderer, which sets up GL state.
    OpenglAppMultistate& app = TestSupport::app();
    TestSupport::TempDir dir;
    Renderer2D renderer{Vell::AABB2<int>(0, 0, 160, 100)};
};

// Reaches the protected helpers.
class ProbeBitmap : public Bitmap {
public:
    using Bitmap::Bitmap;
    using Bitmap::createBitmask;
    using Bitmap::nearestPow2;
};

} // namespace

TEST_F(BitmapTest, LoadsRowsBottomUp) {
    const std::string path = dir.path("corners.png");
    TestSupport::writePng(path, 64, 32, picture(64, 32, [](int x, int row) {
                              return Pixel(std::uint8_t(x), std::uint8_t(row), 7, 255);
                          }));
    Bitmap bitmap(path, renderer, false);
    EXPECT_EQ(bitmap.w(), 64);
    EXPECT_EQ(bitmap.h(), 32);
    EXPECT_EQ(bitmap.texID(), 0u);
    // (0, 0) is the bottom-left pixel as a viewer shows it, (0, h - 1) the top-left one.
    EXPECT_EQ(bitmap.pixelColor({0, 0}), Pixel(0, 31, 7, 255));
    EXPECT_EQ(bitmap.pixelColor({0, 31}), Pixel(0, 0, 7, 255));
    EXPECT_EQ(bitmap.pixelColor({63, 31}), Pixel(63, 0, 7, 255));
    EXPECT_EQ(bitmap.pixelColor({5, 10}), Pixel(5, 21, 7, 255));
    const unsigned char* p = bitmap.data() + (10 * 64 + 5) * 4;
    EXPECT_EQ(Pixel(p[0], p[1], p[2], p[3]), Pixel(5, 21, 7, 255));
    for (Vector2<int> outside :
         {Vector2<int>(-1, 0), Vector2<int>(64, 0), Vector2<int>(0, -1), Vector2<int>(0, 32)})
        EXPECT_EQ(bitmap.pixelColor(outside), Pixel(0, 0, 0, 0));
}

TEST_F(BitmapTest, RefusedFilesNameTheFileInTheMessage) {
    const std::string missing = dir.path("missing.png");
    EXPECT_EQ(loadError(missing), "cannot open file X '" + missing + "'");

    const std::string shortFile = dir.path("short.png");
    TestSupport::writeFileBytes(shortFile, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a});
    EXPECT_EQ(loadError(shortFile), "cannot read file '" + shortFile + "'");
    const std::string empty = dir.path("empty.png");
    TestSupport::writeFileBytes(empty, {});
    EXPECT_EQ(loadError(empty), "cannot read file '" + empty + "'");

    const std::string text = dir.path("text.png");
    TestSupport::writeFileBytes(text, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't'});
    EXPECT_EQ(loadError(text), "file '" + text + "' is not in png format");

    const std::string notPow2 = dir.path("48x32.png");
    TestSupport::writePng(notPow2, 48, 32, 255, 255, 255, 255);
    EXPECT_EQ(loadError(notPow2), "file '" + notPow2 + "' is not pow2 pixelsize");
    const std::string tall = dir.path("32x24.png");
    TestSupport::writePng(tall, 32, 24, 255, 255, 255, 255);
    EXPECT_EQ(loadError(tall), "file '" + tall + "' is not pow2 pixelsize");

    // The colour type is checked before the size.
    for (PngFormat format :
         {PngFormat::Palette8, PngFormat::Rgba16, PngFormat::Rgb8, PngFormat::Gray8}) {
        for (int w : {32, 48}) {
            const std::string path =
                dir.path("format" + std::to_string(int(format)) + "_" + std::to_string(w) + ".png");
            TestSupport::writePng(path, w, 32, 10, 20, 30, 200, format);
            EXPECT_EQ(loadError(path),
                      "file '" + path + "' has bad color type or bit-depth; must be RGBA, 8bpp");
        }
    }
}

TEST_F(BitmapTest, DamagedDataAfterAValidSignatureIsAnError) {
    const std::string good = dir.path("good.png");
    unsigned seed = 1;
    TestSupport::writePng(good, 64, 64, picture(64, 64, [&](int, int) {
                              seed = seed * 1103515245u + 12345u;
                              return Pixel(std::uint8_t(seed >> 24), std::uint8_t(seed >> 16),
                                           std::uint8_t(seed >> 8), 255);
                          }));
    const std::vector<std::uint8_t> bytes = TestSupport::readFileBytes(good);
    ASSERT_GT(bytes.size(), 1000u);

    std::vector<std::uint8_t> damaged = bytes;
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i)
        damaged[i] ^= 0x5a;
    std::vector<std::uint8_t> signatureOnly(bytes.begin(), bytes.begin() + 8);
    std::vector<std::uint8_t> cutInHeader(bytes.begin(), bytes.begin() + 20);
    std::vector<std::uint8_t> cutInData(bytes.begin(), bytes.begin() + bytes.size() / 2);

    for (const auto& [name, content] :
         {std::pair{"damaged.png", damaged}, std::pair{"signature.png", signatureOnly},
          std::pair{"header.png", cutInHeader}, std::pair{"data.png", cutInData}}) {
        const std::string path = dir.path(name);
        TestSupport::writeFileBytes(path, content);
        EXPECT_EQ(loadError(path).rfind("file '" + path + "' is damaged: ", 0), 0u)
            << loadError(path);
    }
}

TEST_F(BitmapTest, SidesLargerThanAnyTextureAreRefused) {
    const std::string path = dir.path("wide.png");
    TestSupport::writePng(path, 32768, 1, 255, 255, 255, 255);
    EXPECT_EQ(loadError(path).rfind("file '" + path + "' is damaged: ", 0), 0u);
}

TEST_F(BitmapTest, MaskSetsABitFromAlpha100MostSignificantFirst) {
    // 64 pixels wide: two words a row. Bottom row (row 1 as a viewer shows it): alpha 99
    // at x 0, 100 at x 1, 255 at x 33. Top row: 100 at x 31 and x 39.
    const std::string path = dir.path("mask.png");
    TestSupport::writePng(path, 64, 2, picture(64, 2, [](int x, int row) {
                              std::uint8_t a = 0;
                              if (row == 1 && x == 0) a = 99;
                              if (row == 1 && x == 1) a = 100;
                              if (row == 1 && x == 33) a = 255;
                              if (row == 0 && (x == 31 || x == 39)) a = 100;
                              return Pixel(1, 2, 3, a);
                          }));
    ProbeBitmap bitmap(path, renderer, false);
    ASSERT_NE(bitmap.bitmaskData(), nullptr);
    EXPECT_EQ(bitmap.bitmaskBitsPerWord(), 32);
    EXPECT_EQ(bitmap.bitmaskWordsPerRow(), 2);
    const std::uint32_t* mask = bitmap.bitmaskData();
    EXPECT_EQ(mask[0], 0x40000000u);
    EXPECT_EQ(mask[1], 0x40000000u);
    EXPECT_EQ(mask[2], 0x00000001u);
    EXPECT_EQ(mask[3], 0x01000000u);

    // Another threshold rebuilds it.
    bitmap.createBitmask(99);
    EXPECT_EQ(bitmap.bitmaskData()[0], 0xC0000000u);
}

TEST_F(BitmapTest, NarrowMaskRowsStartANewWordEachRow) {
    const std::string path = dir.path("narrow.png");
    TestSupport::writePng(path, 16, 4, picture(16, 4, [](int x, int row) {
                              return Pixel(0, 0, 0, x == 3 - row ? 255 : 0);
                          }));
    Bitmap bitmap(path, renderer, false);
    EXPECT_EQ(bitmap.bitmaskWordsPerRow(), 1);
    // Row y (bottom-up) has its pixel at x = y.
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(bitmap.bitmaskData()[y], 0x80000000u >> y) << y;
}

TEST_F(BitmapTest, SingleColourBitmapHasPowerOfTwoSidesAndNoMaskOrTexture) {
    Bitmap bitmap(Vector2<unsigned int>(5, 3), renderer, RGBA<float>(1, 0.5f, 0.25f, 1));
    EXPECT_EQ(bitmap.w(), 8);
    EXPECT_EQ(bitmap.h(), 4);
    EXPECT_EQ(bitmap.bitmaskData(), nullptr);
    EXPECT_EQ(bitmap.texID(), 0u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(bitmap.pixelColor({x, y}), Pixel(255, 127, 63, 255));

    // Channels are truncated and only their low 8 bits kept.
    Bitmap wrapped(Vector2<unsigned int>(0, 1), renderer, RGBA<float>(1.5f, 0.999f, 0, 0.5f));
    EXPECT_EQ(wrapped.w(), 2);
    EXPECT_EQ(wrapped.h(), 1);
    EXPECT_EQ(wrapped.pixelColor({1, 0}), Pixel(126, 254, 0, 127));
}

TEST_F(BitmapTest, NearestPowerOfTwo) {
    EXPECT_EQ(ProbeBitmap::nearestPow2(0), 2u);
    EXPECT_EQ(ProbeBitmap::nearestPow2(1), 1u);
    EXPECT_EQ(ProbeBitmap::nearestPow2(2), 2u);
    EXPECT_EQ(ProbeBitmap::nearestPow2(5), 8u);
    EXPECT_EQ(ProbeBitmap::nearestPow2(64), 64u);
    EXPECT_EQ(ProbeBitmap::nearestPow2(65), 128u);
    EXPECT_EQ(ProbeBitmap::nearestPow2(0x80000000u), 0x80000000u);
    EXPECT_THROW(ProbeBitmap::nearestPow2(0x80000001u), std::length_error);
}

TEST_F(BitmapTest, ActivateMakesOneTextureAndDeactivateDeletesIt) {
    const std::string path = dir.path("tex.png");
    TestSupport::writePng(path, 32, 16, 255, 0, 0, 255);
    Bitmap a(path, renderer, true);
    ASSERT_NE(a.texID(), 0u);
    const unsigned int name = a.texID();
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_EQ(&a.activate(), &a);
    EXPECT_EQ(a.texID(), name);
    EXPECT_EQ(renderer.textures(), std::list<unsigned int>{name});

    {
        Bitmap b(path, renderer, false);
        EXPECT_EQ(b.texID(), 0u);
        b.activate();
        EXPECT_EQ(renderer.textures().size(), 2u);
    }
    // Destroying a bitmap deletes its texture.
    EXPECT_EQ(renderer.textures(), std::list<unsigned int>{name});

    a.deactivate();
    EXPECT_EQ(a.texID(), 0u);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_TRUE(renderer.textures().empty());
}
