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

TEST(RGBA, FloatColoursBlendOnAllFourChannelsWithoutClamping) {
    RGBA<float> c(0.5f, 0.25f, 1.0f, 0.75f);
    c += RGBA<float>(0.75f, 0.0f, 0.5f, 0.5f);
    EXPECT_EQ(c, RGBA<float>(1.25f, 0.25f, 1.5f, 1.25f));
    EXPECT_EQ(c * 2.0f + RGBA<float>(0, 0, 0, -3.0f), RGBA<float>(2.5f, 0.5f, 3.0f, -0.5f));
    EXPECT_EQ(RGBA<float>(), RGBA<float>(0, 0, 0, 0));
}

} // namespace
