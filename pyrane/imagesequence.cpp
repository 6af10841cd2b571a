#include "pyrane/imagesequence.h"

#include <algorithm>

#include "pyrane/bitmap.h"
#include "pyrane/image.h"

namespace Pyrane {

ImageSequence::ImageSequence(Bitmap& bitmap, int frameWidth, int frameHeight, int gapX, int gapY,
                             int count) {
    add(bitmap, frameWidth, frameHeight, gapX, gapY, count);
}

ImageSequence::ImageSequence(Bitmap& bitmap, const Vector2<int>& frameSize, const Vector2<int>& gap,
                             int count) {
    add(bitmap, frameSize, gap, count);
}

void ImageSequence::add(Bitmap& bitmap, int frameWidth, int frameHeight, int gapX, int gapY,
                        int count) {
    frameWidth = std::min(frameWidth, bitmap.w());
    frameHeight = std::min(frameHeight, bitmap.h());
    if (frameWidth < 1 || frameHeight < 1) return;
    // Gaps so negative that the cells would not advance leave one cell in that direction
    // instead of cutting the same cell over and over.
    const int stepX = frameWidth + gapX;
    const int stepY = frameHeight + gapY;
    int made = 0;
    for (int y = 0; made < count && y + frameHeight <= bitmap.h(); y += stepY) {
        for (int x = 0; made < count && x + frameWidth <= bitmap.w(); x += stepX) {
            images.push_back(
                new Image(bitmap, Vell::AABB2<int>(x, y, x + frameWidth - 1, y + frameHeight - 1),
                          Vector2<int>(frameWidth / 2, frameHeight / 2), true));
            ++made;
            if (stepX <= 0) break;
        }
        if (stepY <= 0) break;
    }
}

void ImageSequence::add(Bitmap& bitmap, const Vector2<int>& frameSize, const Vector2<int>& gap,
                        int count) {
    add(bitmap, frameSize.x, frameSize.y, gap.x, gap.y, count);
}

void ImageSequence::add(Image& image) {
    images.push_back(&image);
}

Image* ImageSequence::image(int i) const {
    if (images.empty()) return nullptr;
    return images[std::size_t(std::clamp(i, 0, count() - 1))];
}

void ImageSequence::destroyImages() {
    for (Image* image : images)
        delete image;
    images.clear();
}

} // namespace Pyrane
