#pragma once
// The bitmap cache: loads PNG pictures from the working directory or the picture
// folders "images", "bitmaps", "resources", "resources/images" and
// "resources/bitmaps", in that order. Bitmaps come without a texture; the caller
// activates each one or calls activateAll.
#include <string>

#include "pyrane/bitmap.h"
#include "pyrane/resourcemanager.h"

namespace Pyrane {

class Renderer2D;

class BitmapManager : public ResourceManager<Bitmap> {
public:
    BitmapManager();
    explicit BitmapManager(Renderer2D& renderer);

    // The renderer handed to every new bitmap. Without one nothing is created:
    // get records and returns null for a file that exists.
    void renderer(Renderer2D& renderer) { _renderer = &renderer; }

    // A new bitmap with its collision mask but no texture; null without renderer.
    Bitmap* createObject(const std::string& fullPath) override;
    // Makes the texture of every managed bitmap, in name order.
    void activateAll();

private:
    void addPictureFolders();

    Renderer2D* _renderer = nullptr;
};

} // namespace Pyrane
