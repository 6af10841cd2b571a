#include <gtest/gtest.h>

#include <cstring>

#include "common_classes/rgba.h"

namespace {

TEST(RGBA, BytePixelsMatchBitmapRowsInTheOrderRgba) {
    const unsigned char row[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    RGBA<unsigned char> pixels[2];
    std::memcpy(pixels, row, sizeof row);
    EXPECT_EQ(pixels[0], RGBA<unsigned char>(1, 2, 3, 4));
    EXPECT_EQ(pixels[1], RGBA<unsigned char>(5, 6, 7, 8));
}

} // namespace
