#include "support/glwindow.h"

#include <GL/gl.h>

namespace TestSupport {

OpenglAppMultistate& app() {
    static OpenglAppMultistate* instance = [] {
        Platform::hideNewWindows(true);
        // Error paths report here instead of waiting on a message box.
        Platform::setMessageReporter([](const std::string&, const std::string&) {});
        return new OpenglAppMultistate("Kestrane", 640, 400, false);
    }();
    instance->mainRenderingContext();
    return *instance;
}

std::vector<Pixel> readPixels(int x, int y, int width, int height) {
    std::vector<Pixel> pixels(std::size_t(width) * std::size_t(height));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<Pixel> readPicture(Pyrane::Renderer2D& renderer) {
    const std::vector<std::uint8_t> bytes = renderer.readPicture();
    std::vector<Pixel> pixels(bytes.size() / 4);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = {bytes[4 * i], bytes[4 * i + 1], bytes[4 * i + 2], bytes[4 * i + 3]};
    return pixels;
}

Pixel readPixel(int x, int y) {
    return readPixels(x, y, 1, 1)[0];
}

} // namespace TestSupport
