#include "assetpicture.h"

#include "pyrane/renderer2d.h"
#include "support/glwindow.h"

namespace AssetTest {

Pyrane::Renderer2D& renderer() {
    static Pyrane::Renderer2D* instance = [] {
        TestSupport::app();
        return new Pyrane::Renderer2D(Vell::AABB2<int>(0, 0, 160, 100));
    }();
    return *instance;
}

Picture::Picture(const std::string& path)
    : _bitmap(std::make_unique<Pyrane::Bitmap>(path, renderer(), false)) {}

Pixel Picture::at(int x, int y) const {
    RGBA<unsigned char> p = _bitmap->pixelColor({x, y});
    return {p.r, p.g, p.b, p.a};
}

int Picture::ink(const Box& box, int alpha) const {
    int count = 0;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x)
            count += at(x, y).a >= alpha;
    return count;
}

} // namespace AssetTest
