// The picture every frame is drawn into and its stretch over the window: a framebuffer
// object of its own where the context offers one, else the corner of the back buffer
// copied into a texture.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "common_classes/platform/platform.h"
#include "pyrane/renderer2d.h"

namespace Pyrane {

namespace {

// The framebuffer-object entry points of the current context. OpenGL 3.0 and the ARB
// extension name them without a suffix; the older EXT extension with "EXT", with the
// same constants and the same meaning for what is used here.
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC gen = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC destroy = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC texture2D = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC status = nullptr;
};

FramebufferCalls framebufferCalls;

bool hasExtension(const char* name) {
    const auto* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all) return false;
    const std::size_t length = std::strlen(name);
    for (const char* p = std::strstr(all, name); p; p = std::strstr(p + length, name))
        if ((p == all || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
    return false;
}

// Looks the entry points up; false where the context offers no framebuffer objects.
bool loadFramebufferCalls() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* suffix = nullptr;
    if ((version && std::atoi(version) >= 3) || hasExtension("GL_ARB_framebuffer_object"))
        suffix = "";
    else if (hasExtension("GL_EXT_framebuffer_object"))
        suffix = "EXT";
    else
        return false;
    auto load = [suffix](auto& call, const char* name) {
        call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(
            Platform::glProcAddress((std::string(name) + suffix).c_str()));
        return call != nullptr;
    };
    FramebufferCalls& f = framebufferCalls;
    return load(f.gen, "glGenFramebuffers") && load(f.destroy, "glDeleteFramebuffers") &&
           load(f.bind, "glBindFramebuffer") && load(f.texture2D, "glFramebufferTexture2D") &&
           load(f.status, "glCheckFramebufferStatus");
}

int powerOfTwoAbove(int n) {
    int p = 1;
    while (p < n)
        p *= 2;
    return p;
}

} // namespace

void Renderer2D::picture(int width, int height, bool useFramebuffer) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("the picture has no pixels");
    flush();
    deletePicture();
    _pictureWidth = width;
    _pictureHeight = height;
    _pictureTextureWidth = powerOfTwoAbove(width);
    _pictureTextureHeight = powerOfTwoAbove(height);

    // Filled with no pixels: what the stretch shows before anything was drawn is never
    // looked at, and a framebuffer clears its picture before drawing anyway.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    _pictureTexture = texture;
    bindTexture(int(texture));
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, _pictureTextureWidth, _pictureTextureHeight, 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    bindTexture(0);

    static const bool offered = loadFramebufferCalls();
    if (!useFramebuffer || !offered) return;
    const FramebufferCalls& f = framebufferCalls;
    GLuint framebuffer = 0;
    f.gen(1, &framebuffer);
    f.bind(GL_FRAMEBUFFER, framebuffer);
    f.texture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    const bool complete = f.status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    f.bind(GL_FRAMEBUFFER, 0);
    // A driver that offers framebuffers but cannot draw into this one gets the copy.
    if (complete)
        _pictureFramebuffer = framebuffer;
    else
        f.destroy(1, &framebuffer);
}

void Renderer2D::deletePicture() {
    if (_pictureFramebuffer) {
        if (_drawingPicture) framebufferCalls.bind(GL_FRAMEBUFFER, 0);
        framebufferCalls.destroy(1, &_pictureFramebuffer);
    }
    if (_pictureTexture) {
        if (_boundTexture == int(_pictureTexture)) bindTexture(0);
        glDeleteTextures(1, &_pictureTexture);
    }
    _pictureFramebuffer = _pictureTexture = 0;
    _drawingPicture = false;
}

void Renderer2D::beginPicture() {
    if (!_pictureTexture) throw std::logic_error("the renderer has no picture to draw into");
    flush();
    if (_pictureFramebuffer) framebufferCalls.bind(GL_FRAMEBUFFER, _pictureFramebuffer);
    _drawingPicture = true;
    vport(Vell::AABB2<int>(0, 0, _pictureWidth, _pictureHeight));
}

void Renderer2D::showPicture(int windowWidth, int windowHeight, const Vell::AABB2<int>& target) {
    if (!_pictureTexture) throw std::logic_error("the renderer has no picture to show");
    flush();
    if (_pictureFramebuffer) {
        if (_drawingPicture) framebufferCalls.bind(GL_FRAMEBUFFER, 0);
        bindTexture(int(_pictureTexture));
    } else {
        bindTexture(int(_pictureTexture));
        // Only while the corner holds the picture: a second stretch of the same frame
        // shows it again rather than the corner of the first stretch.
        if (_drawingPicture)
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, _pictureWidth, _pictureHeight);
    }
    _drawingPicture = false;
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_DEPTH_TEST);
    // The picture is opaque: blending it would mix in whatever the window held before.
    glDisable(GL_BLEND);

    glViewport(0, 0, windowWidth, windowHeight);
    if (target != Vell::AABB2<int>(0, 0, windowWidth, windowHeight)) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    const Vector2<int> size = target.size();
    glViewport(target.min.x, target.min.y, size.x, size.y);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, _pictureWidth, 0, _pictureHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    color(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);

    const float s = float(_pictureWidth) / float(_pictureTextureWidth);
    const float t = float(_pictureHeight) / float(_pictureTextureHeight);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glTexCoord2f(s, 0);
    glVertex2i(_pictureWidth, 0);
    glTexCoord2f(s, t);
    glVertex2i(_pictureWidth, _pictureHeight);
    glTexCoord2f(0, t);
    glVertex2i(0, _pictureHeight);
    glEnd();

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    bindTexture(0);
}

std::vector<std::uint8_t> Renderer2D::readPicture() {
    if (!_pictureTexture) throw std::logic_error("the renderer has no picture to read");
    flush();
    const std::size_t row = std::size_t(_pictureWidth) * 4;
    std::vector<std::uint8_t> pixels(row * std::size_t(_pictureHeight));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (_pictureFramebuffer) {
        if (!_drawingPicture) framebufferCalls.bind(GL_FRAMEBUFFER, _pictureFramebuffer);
        glReadPixels(0, 0, _pictureWidth, _pictureHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixels.data());
        if (!_drawingPicture) framebufferCalls.bind(GL_FRAMEBUFFER, 0);
    } else if (_drawingPicture) {
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, _pictureWidth, _pictureHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixels.data());
    } else {
        // After the stretch the back buffer's corner holds part of the stretched picture;
        // the copy the stretch was made from holds the picture itself.
        std::vector<std::uint8_t> texture(std::size_t(_pictureTextureWidth) *
                                          std::size_t(_pictureTextureHeight) * 4);
        const int bound = _boundTexture;
        bindTexture(int(_pictureTexture));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texture.data());
        bindTexture(bound);
        for (int y = 0; y < _pictureHeight; ++y)
            std::memcpy(&pixels[std::size_t(y) * row],
                        &texture[std::size_t(y) * std::size_t(_pictureTextureWidth) * 4], row);
    }
    for (std::size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;
    return pixels;
}

} // namespace Pyrane
