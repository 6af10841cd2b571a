#include "pyrane/bitmap.h"

#include <GL/gl.h>
#include <png.h>
#include <sys/resource.h>
#include <zlib.h>

#include "enginetest.h"
#include "support/files.h"

namespace {

class BitmapTest : public EngineTest {
protected:
    // The message of the error that loading name raises, with its path shown as <file>.
    std::string loadError(const std::string& name) {
        std::string message = errorOf([&] { Bitmap(dir.path(name), renderer, false); });
        const std::size_t at = message.find(dir.path(name));
        return at == std::string::npos ? message
                                       : message.replace(at, dir.path(name).size(), "<file>");
    }
};

} // namespace

TEST_F(BitmapTest, LoadsRowsBottomUpAndMasksFromAlpha100MostSignificantBitFirst) {
    // Bottom row: alpha 99 at x 0, 100 at x 1, 255 at x 33. Top row: 100 at x 31 and 39.
    auto bitmap = load("rows.png", 64, 2, [](int x, int row) {
        const int bottom = x == 0 ? 99 : x == 1 ? 100 : x == 33 ? 255 : 0;
        return Colour(x, row, 7, row == 1 ? bottom : x == 31 || x == 39 ? 100 : 0);
    });
    // (0, 0) is the bottom-left pixel as a viewer shows it, (0, h - 1) the top-left one.
    EXPECT_EQ(bitmap->pixelColor({0, 0}), Colour(0, 1, 7, 99));
    EXPECT_EQ(bitmap->pixelColor({31, 1}), Colour(31, 0, 7, 100));
    EXPECT_EQ(bitmap->data()[(64 + 39) * 4 + 3], 100);
    for (Vector2<int> outside : {Vector2<int>(-1, 0), {64, 0}, {0, -1}, {0, 2}})
        EXPECT_EQ(bitmap->pixelColor(outside), Colour(0, 0, 0, 0));
    // Each row starts a new word.
    const std::uint32_t* mask = bitmap->bitmaskData();
    EXPECT_EQ((std::vector<std::uint32_t>(mask, mask + 4)),
              (std::vector<std::uint32_t>{0x40000000, 0x40000000, 0x00000001, 0x01000000}));
}

TEST_F(BitmapTest, RefusedFilesAreNamedInTheMessage) {
    TestSupport::writeFile(dir.path("short.png"), "\x89PNG\r\n\x1a");
    TestSupport::writeFile(dir.path("text.png"), "not a picture");
    TestSupport::writePng(dir.path("48x32.png"), 48, 32, PNG_FORMAT_RGBA);
    TestSupport::writePng(dir.path("32x24.png"), 32, 24, PNG_FORMAT_RGBA);
    TestSupport::writePng(dir.path("palette.png"), 48, 32, PNG_FORMAT_RGBA_COLORMAP);
    TestSupport::writePng(dir.path("16bit.png"), 32, 32, PNG_FORMAT_LINEAR_RGB_ALPHA);
    EXPECT_EQ(loadError("missing.png"), "cannot open file X '<file>'");
    EXPECT_EQ(loadError("short.png"), "cannot read file '<file>'");
    EXPECT_EQ(loadError("text.png"), "file '<file>' is not in png format");
    EXPECT_EQ(loadError("48x32.png"), "file '<file>' is not pow2 pixelsize");
    EXPECT_EQ(loadError("32x24.png"), "file '<file>' is not pow2 pixelsize");
    // The colour type is checked before the size.
    for (const char* name : {"palette.png", "16bit.png"})
        EXPECT_EQ(loadError(name),
                  "file '<file>' has bad color type or bit-depth; must be RGBA, 8bpp");
}

TEST_F(BitmapTest, DamagedOrHostileDataAfterTheSignatureIsAnError) {
    unsigned seed = 1; // noise, which compresses badly: the data runs long
    TestSupport::writePng(dir.path("good.png"), 64, 64, [&](int, int) {
        seed = seed * 1103515245u + 12345u;
        return Colour(seed >> 24, seed >> 16, seed >> 8, 255);
    });
    std::string bytes = TestSupport::readFile(dir.path("good.png"));
    ASSERT_GT(bytes.size(), 1000u);
    TestSupport::writeFile(dir.path("signature.png"), bytes.substr(0, 8));
    TestSupport::writeFile(dir.path("cut.png"), bytes.substr(0, bytes.size() / 2));
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i)
        bytes[i] ^= 0x5a;
    TestSupport::writeFile(dir.path("damaged.png"), bytes);
    // Wider than any texture: refused before libpng reserves the rows.
    TestSupport::writePng(dir.path("wide.png"), 32768, 1, PNG_FORMAT_RGBA);
    for (const char* name : {"signature.png", "cut.png", "damaged.png", "wide.png"})
        EXPECT_EQ(loadError(name).substr(0, 26), "file '<file>' is damaged: ") << loadError(name);
}

// A chunk of the given type and data, its length and checksum as a PNG file holds them.
std::string pngChunk(const std::string& type, const std::string& data, std::uint32_t length) {
    const std::string body = type + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    std::string chunk;
    for (std::uint32_t word : {length, std::uint32_t(crc)})
        for (int shift = 24; shift >= 0; shift -= 8)
            chunk += char(word >> shift & 0xff);
    return chunk.substr(0, 4) + body + chunk.substr(4);
}

TEST_F(BitmapTest, AHugeSideChunkIsNeitherReservedNorAnError) {
    TestSupport::writePng(dir.path("plain.png"), 4, 4, PNG_FORMAT_RGBA);
    const std::string plain = TestSupport::readFile(dir.path("plain.png"));
    const std::size_t afterHeader = 8 + 25;
    // A text chunk that says it holds 2 GB: the file ends long before.
    const std::string lying = pngChunk("tEXt", "Comment", 0x7e000000).substr(0, 15);
    TestSupport::writeFile(dir.path("lying.png"), plain.substr(0, afterHeader) + lying);
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(loadError("lying.png").substr(0, 26), "file '<file>' is damaged: ");
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256 * 1024) << "kilobytes reserved for it";
    // A real text chunk of 2 MB is dropped and the picture loads.
    const std::string text = "Comment" + std::string(1, '\0') + std::string(2 << 20, 'x');
    TestSupport::writeFile(dir.path("text.png"), plain.substr(0, afterHeader) +
                                                     pngChunk("tEXt", text, text.size()) +
                                                     plain.substr(afterHeader));
    EXPECT_EQ(loadError("text.png"), "none");
}

TEST_F(BitmapTest, SingleColourBitmapHasPowerOfTwoSidesAndNoMaskOrTexture) {
    Bitmap bitmap(Vector2<unsigned int>(5, 0), renderer, RGBA<float>(1.5f, 0.5f, 0.999f, 1));
    EXPECT_EQ(Vector2<int>(bitmap.w(), bitmap.h()), Vector2<int>(8, 2));
    // Channels are truncated and only their low 8 bits kept.
    EXPECT_EQ(bitmap.pixelColor({7, 1}), Colour(126, 127, 254, 255));
    EXPECT_TRUE(bitmap.bitmaskData() == nullptr && bitmap.texID() == 0);
    // No 32-bit power of two holds this side.
    EXPECT_THROW(Bitmap(Vector2<unsigned int>(0x80000001u, 1), renderer, RGBA<float>()),
                 std::length_error);
}

TEST_F(BitmapTest, ActivateMakesOneTextureAndDestroyingOrDeactivatingDeletesIt) {
    auto a = solid("a.png", Colour(255, 0, 0, 255));
    const unsigned int name = a->texID();
    EXPECT_EQ(a->activate().texID(), name);
    {
        Bitmap b(dir.path("a.png"), renderer, true);
        EXPECT_EQ(renderer.textures().size(), 2u);
    }
    EXPECT_EQ(renderer.textures(), std::list<unsigned int>{name});
    a->deactivate();
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_TRUE(a->texID() == 0 && renderer.textures().empty());
}
