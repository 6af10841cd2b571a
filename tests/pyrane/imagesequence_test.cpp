#include "pyrane/imagesequence.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"
#include "support/bitmapfixture.h"
#include "support/glwindow.h"
#include "support/tempdir.h"

using Pyrane::Bitmap;
using Pyrane::Image;
using Pyrane::ImageSequence;
using Pyrane::Renderer2D;
using Box = Vell::AABB2<int>;
using Pixel = RGBA<unsigned char>;

namespace {

class ImageSequenceTest : public ::testing::Test {
protected:
    // The window and its context come before the renderer, which sets up GL state.
    OpenglAppMultistate& app = TestSupport::app();
    TestSupport::TempDir dir;
    Renderer2D renderer{Box(0, 0, 160, 100)};
    // 64 x 64 in 16 x 16 cells; as a viewer shows it, red is the cell column and green
    // the cell row counted from the top.
    std::unique_ptr<Bitmap> grid = TestSupport::loadBitmap(
        dir, "grid.png", 64, 64,
        [](int x, int row) { return Pixel(std::uint8_t(x / 16), std::uint8_t(row / 16), 0, 255); },
        renderer);

    // The cell a frame was cut from, as (column, row from the top).
    std::pair<int, int> cellOf(const Image& frame) {
        const Pixel p = grid->pixelColor(frame.bitmapPos());
        return {p.r, p.g};
    }
};

} // namespace

TEST_F(ImageSequenceTest, CutsTheGridFromTheBottomLeftRowByRow) {
    ImageSequence sequence(*grid, 16, 16, 0, 0, 100);
    ASSERT_EQ(sequence.count(), 16);
    EXPECT_EQ(cellOf(*sequence.image(0)), std::make_pair(0, 3));
    EXPECT_EQ(cellOf(*sequence.image(1)), std::make_pair(1, 3));
    EXPECT_EQ(cellOf(*sequence.image(4)), std::make_pair(0, 2));
    EXPECT_EQ(cellOf(*sequence.image(15)), std::make_pair(3, 0));

    // Each frame leaves out the cell's last column and row; the hot spot is the middle.
    const Image& fifth = *sequence.image(4);
    EXPECT_EQ(fifth.bitmapBox(), Box(0, 16, 15, 31));
    EXPECT_EQ(fifth.size(), Vector2<int>(15, 15));
    EXPECT_EQ(fifth.pivot(), Vector2<int>(8, 8));
    EXPECT_NE(fifth.cacheID(), 0u);
    sequence.destroyImages();
}

TEST_F(ImageSequenceTest, CountLimitsTheFramesOfOneCall) {
    ImageSequence sequence(*grid, Vector2<int>(16, 16), Vector2<int>(0, 0), 3);
    ASSERT_EQ(sequence.count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(cellOf(*sequence.image(i)), std::make_pair(i, 3));
    // A second call starts the grid again and appends.
    sequence.add(*grid, 32, 32, 0, 0, 2);
    ASSERT_EQ(sequence.count(), 5);
    EXPECT_EQ(sequence.image(4)->bitmapBox(), Box(32, 0, 63, 31));

    ImageSequence none(*grid, 16, 16, 0, 0, 0);
    none.add(*grid, 16, 16, 0, 0, -1);
    EXPECT_EQ(none.count(), 0);
    sequence.destroyImages();
}

TEST_F(ImageSequenceTest, FramesAreClippedToTheBitmapAndGapsSkipPixels) {
    ImageSequence wide(*grid, 100, 16, 0, 0, 100);
    ASSERT_EQ(wide.count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(wide.image(i)->bitmapBox(), Box(0, 16 * i, 63, 16 * i + 15));

    // Cells at 0, 24 and 48 in both directions.
    ImageSequence gaps(*grid, 16, 16, 8, 8, 100);
    ASSERT_EQ(gaps.count(), 9);
    EXPECT_EQ(gaps.image(1)->bitmapBox(), Box(24, 0, 39, 15));
    EXPECT_EQ(gaps.image(5)->bitmapBox(), Box(48, 24, 63, 39));

    // Cells that would not advance leave one cell in that direction.
    ImageSequence stuck(*grid, 16, 16, -16, 0, 100);
    EXPECT_EQ(stuck.count(), 4);
    ImageSequence empty(*grid, 0, 16, 0, 0, 100);
    EXPECT_EQ(empty.count(), 0);
    for (ImageSequence* s : {&wide, &gaps, &stuck})
        s->destroyImages();
}

TEST_F(ImageSequenceTest, ImageIndexIsClamped) {
    ImageSequence empty;
    EXPECT_EQ(empty.image(0), nullptr);
    EXPECT_EQ(empty.count(), 0);

    ImageSequence sequence(*grid, 16, 16, 0, 0, 5);
    EXPECT_EQ(sequence.image(-5), sequence.images.front());
    EXPECT_EQ(sequence.image(1000), sequence.images.back());
    EXPECT_EQ(sequence.image(2), sequence.images[2]);
    sequence.destroyImages();
}

TEST_F(ImageSequenceTest, ClearForgetsTheFramesAndDestroyImagesDeletesThem) {
    ImageSequence sequence(*grid, 16, 16, 0, 0, 4);
    Image* own = new Image(*grid, Box(0, 0, 8, 8), Vector2<int>(0, 0), true);
    sequence.add(*own);
    ASSERT_EQ(sequence.count(), 5);
    EXPECT_EQ(sequence.image(4), own);

    const std::vector<Image*> frames = sequence.images;
    sequence.clear();
    EXPECT_EQ(sequence.count(), 0);
    // Still there: their display lists live and they can be drawn.
    for (Image* frame : frames)
        EXPECT_TRUE(glIsList(frame->cacheID()));
    renderer.drawImage(*frames[0], Vector2<float>(20, 20), 0, 1, 1);

    std::vector<unsigned int> lists;
    for (Image* frame : frames) {
        sequence.add(*frame);
        lists.push_back(frame->cacheID());
    }
    sequence.destroyImages();
    EXPECT_EQ(sequence.count(), 0);
    for (unsigned int list : lists)
        EXPECT_FALSE(glIsList(list));
}
