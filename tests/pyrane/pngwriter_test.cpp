#include "pyrane/pngwriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include "support/tempdir.h"

namespace {

// A 3 x 2 picture, bottom row first, each pixel telling its place: (x, y, 9, 200 + x).
Pyrane::Picture numbered() {
    Pyrane::Picture p{3, 2, {}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            p.rgba.insert(p.rgba.end(), {(unsigned char)x, (unsigned char)y, 9,
                                         (unsigned char)(200 + x)});
    return p;
}

} // namespace

TEST(PngWriterTest, WritesTheEnlargedPictureTheRightWayUpForAnyReader) {
    TestSupport::TempDir dir;
    std::string error;
    ASSERT_TRUE(Pyrane::writePng(dir.path("shot.png"), Pyrane::enlarge(numbered(), 4), error))
        << error;

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, dir.path("shot.png").c_str()));
    image.format = PNG_FORMAT_RGBA;
    ASSERT_EQ(image.width, 12u);
    ASSERT_EQ(image.height, 8u);
    std::vector<unsigned char> top_down(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, top_down.data(), 0, nullptr));
    // Every pixel of the file comes from the block it lies in; the file's first row is the
    // picture's top row (y 1).
    for (int row = 0; row < 8; ++row)
        for (int x = 0; x < 12; ++x) {
            const unsigned char* px = &top_down[(std::size_t(row) * 12 + x) * 4];
            ASSERT_EQ(px[0], x / 4) << x << "," << row;
            ASSERT_EQ(px[1], 1 - row / 4) << x << "," << row;
            ASSERT_EQ(px[2], 9);
            ASSERT_EQ(px[3], 200 + x / 4);
        }
}

TEST(PngWriterTest, AFullDiskOrAPictureWithoutPixelsFailsWithAReason) {
    std::string error;
    EXPECT_FALSE(Pyrane::writePng("/dev/full", Pyrane::enlarge(numbered(), 4), error));
    EXPECT_FALSE(error.empty());
    error.clear();
    Pyrane::Picture broken = numbered();
    broken.rgba.pop_back();
    TestSupport::TempDir dir;
    EXPECT_FALSE(Pyrane::writePng(dir.path("broken.png"), broken, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(Pyrane::enlarge(broken, 4).rgba.empty());
}
