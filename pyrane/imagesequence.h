#pragma once
// An ordered list of images, normally the frames of an animation cut from one bitmap
// laid out as a grid of equal cells. The images it cuts are released only by
// destroyImages; clear and the destructor forget them without deleting them.
#include <vector>

#include "common_classes/vector2.h"

namespace Pyrane {

class Bitmap;
class Image;

class ImageSequence {
public:
    ImageSequence() = default;
    ImageSequence(Bitmap& bitmap, int frameWidth, int frameHeight, int gapX, int gapY, int count);
    ImageSequence(Bitmap& bitmap, const Vector2<int>& frameSize, const Vector2<int>& gap,
                  int count);

    // Cuts up to count frames from the grid, row by row from the bottom of the picture
    // and left to right within a row, and appends them. Each frame is an image of the
    // cell without its last column and row, with its hot spot in the cell's middle.
    void add(Bitmap& bitmap, int frameWidth, int frameHeight, int gapX, int gapY, int count);
    void add(Bitmap& bitmap, const Vector2<int>& frameSize, const Vector2<int>& gap, int count);
    // Appends an image; destroyImages will delete it like the ones cut here.
    void add(Image& image);

    // Frame i clamped into the sequence; null when it is empty.
    Image* image(int i) const;
    int count() const { return int(images.size()); }
    // Forgets the frames without deleting them.
    void clear() { images.clear(); }
    // Deletes every frame and empties the list.
    void destroyImages();

    std::vector<Image*> images;
};

} // namespace Pyrane
