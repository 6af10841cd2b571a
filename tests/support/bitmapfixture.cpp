#include "support/bitmapfixture.h"

#include "support/pngwriter.h"
#include "support/tempdir.h"

namespace TestSupport {

std::vector<std::uint8_t> picture(int w, int h,
                                  const std::function<RGBA<unsigned char>(int, int)>& pixel) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(w) * h * 4);
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
            const RGBA<unsigned char> p = pixel(x, row);
            bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
        }
    return bytes;
}

std::unique_ptr<Pyrane::Bitmap>
loadBitmap(const TempDir& dir, const std::string& name, int w, int h,
           const std::function<RGBA<unsigned char>(int, int)>& pixel, Pyrane::Renderer2D& renderer,
           bool activate) {
    const std::string path = dir.path(name);
    writePng(path, w, h, picture(w, h, pixel));
    return std::make_unique<Pyrane::Bitmap>(path, renderer, activate);
}

} // namespace TestSupport
