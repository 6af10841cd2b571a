#include "pyrane/renderer2d.h"

#include <GL/gl.h>

#include <algorithm>

#include "pyrane/bitmap.h"
#include "pyrane/font.h"
#include "pyrane/functions.h"
#include "pyrane/image.h"
#include "pyrane/polyline.h"
#include "pyrane/sprite.h"

namespace Pyrane {

Renderer2D::Renderer2D() : Renderer2D(Vell::AABB2<int>(0, 0, 800, 600)) {}

Renderer2D::Renderer2D(const Vell::AABB2<int>& viewport) {
    vport(viewport);
}

void Renderer2D::vport(const Vell::AABB2<int>& box) {
    flush();
    _viewport = box;
    glViewport(box.min.x, box.min.y, box.max.x, box.max.y);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(box.min.x, box.max.x, box.min.y, box.max.y, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_FLAT);
    glDisable(GL_DITHER);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Renderer2D::clear() {
    flush();
    glEnable(GL_BLEND);
    glClearColor(_color.r, _color.g, _color.b, _color.a);
    glClear(GL_COLOR_BUFFER_BIT);
}

void Renderer2D::color(const RGBA<float>& c) {
    _color = c;
    if (batching()) {
        _colorPending = true;
        return;
    }
    glColor4f(c.r, c.g, c.b, c.a);
}

void Renderer2D::color(float r, float g, float b, float a) {
    color(RGBA<float>(r, g, b, a));
}

void Renderer2D::pushMatrix() {
    flush();
    glPushMatrix();
}
void Renderer2D::popMatrix() {
    flush();
    glPopMatrix();
}
void Renderer2D::identity() {
    flush();
    glLoadIdentity();
}
void Renderer2D::translate(float x, float y) {
    flush();
    glTranslatef(x, y, 0);
}

void Renderer2D::bindTexture(int name) {
    flush();
    glBindTexture(GL_TEXTURE_2D, GLuint(name));
    _boundTexture = name;
}

void Renderer2D::makeTexture(Bitmap& bitmap, bool withAlpha) {
    flush();
    GLuint name = 0;
    glGenTextures(1, &name);
    _textures.push_back(name);
    bindTexture(int(name));
    glTexImage2D(GL_TEXTURE_2D, 0, withAlpha ? GL_RGBA8 : GL_RGB8, bitmap.w(), bitmap.h(), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, bitmap.data());
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    applyFilter();
    bitmap.texID(name);
}

void Renderer2D::destroyTexture(Bitmap& bitmap) {
    flush();
    const GLuint name = bitmap.texID();
    if (name == 0) return;
    glDeleteTextures(1, &name);
    _textures.remove(name);
    // Deleting the bound texture unbinds it; a new texture may get the same name.
    if (_boundTexture == int(name)) _boundTexture = 0;
    bitmap.texID(0);
}

void Renderer2D::textureFilter(TexFilter filter) {
    flush();
    if (filter == _textureFilter) return;
    _textureFilter = filter;
    for (unsigned int name : _textures) {
        bindTexture(int(name));
        applyFilter();
    }
}

void Renderer2D::applyFilter() {
    const GLint filter = _textureFilter == LINEAR ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

void Renderer2D::uploadTextureFromFramebuffer(Bitmap& bitmap,
                                              const Vell::AABB2<unsigned int>& box) {
    flush();
    if (bitmap.texID() == 0) return;
    bindTexture(int(bitmap.texID()));
    const Vector2<unsigned int> size = box.size();
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLint(box.min.x), GLint(box.min.y), GLsizei(size.x),
                        GLsizei(size.y));
}

unsigned int Renderer2D::createImageCache(const Image& image) {
    flush();
    const GLuint name = glGenLists(1);
    if (name == 0) return 0;
    glNewList(name, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glInterleavedArrays(GL_T2F_V3F, 0, image.vertArray());
    glDrawElements(GL_QUADS, GLsizei(image.vertIndicesCount()), GL_UNSIGNED_INT,
                   image.vertIndices());
    glEndList();
    return name;
}

void Renderer2D::destroyImageCache(unsigned int name) {
    flush();
    if (name != 0) glDeleteLists(name, 1);
}

void Renderer2D::transform(const Vector2<float>& pos, float rotation, float scaleX, float scaleY) {
    glTranslatef(pos.x, pos.y, 0);
    glRotatef(radToDeg(rotation), 0, 0, 1);
    glScalef(scaleX, scaleY, 1);
}

void Renderer2D::outline(const Image& image) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    // The array pointers are set again: compiling a display list also sets them, to an
    // image that may be gone by now.
    glInterleavedArrays(GL_T2F_V3F, 0, image.vertArray());
    glDrawElements(GL_LINE_LOOP, GLsizei(image.vertIndicesCount()), GL_UNSIGNED_INT,
                   image.vertIndices());
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void Renderer2D::drawImage(const Image& image, const Vector2<float>& pos, float rotation,
                           float scaleX, float scaleY) {
    if (batching() && !_showImageBorders) {
        batchImage(image, pos, rotation, scaleX, scaleY);
        return;
    }
    flush();
    glPushMatrix();
    transform(pos, rotation, scaleX, scaleY);
    if (int(image.bitmap().texID()) != _boundTexture) bindTexture(int(image.bitmap().texID()));
    if (image.cacheID() == 0) {
        glEnable(GL_TEXTURE_2D);
        glInterleavedArrays(GL_T2F_V3F, 0, image.vertArray());
        glDrawElements(GL_QUADS, GLsizei(image.vertIndicesCount()), GL_UNSIGNED_INT,
                       image.vertIndices());
    } else {
        glCallList(image.cacheID());
    }
    if (_showImageBorders) {
        GLfloat previous[4];
        glGetFloatv(GL_CURRENT_COLOR, previous);
        const bool textured = glIsEnabled(GL_TEXTURE_2D);
        glColor4f(_imageBorderColor.r, _imageBorderColor.g, _imageBorderColor.b,
                  _imageBorderColor.a);
        outline(image);
        glColor4fv(previous);
        if (textured) glEnable(GL_TEXTURE_2D);
    }
    glPopMatrix();
}

void Renderer2D::drawImageBorder(const Image& image, const Vector2<float>& pos, float rotation,
                                 float scaleX, float scaleY) {
    flush();
    glPushMatrix();
    transform(pos, rotation, scaleX, scaleY);
    outline(image);
    glPopMatrix();
}

void Renderer2D::texturing(bool on) {
    flush();
    if (on)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}

void Renderer2D::drawQuadStrip(const std::vector<Vector2<float>>& vertices) {
    flush();
    glBegin(GL_QUAD_STRIP);
    for (const Vector2<float>& v : vertices)
        glVertex2f(v.x, v.y);
    glEnd();
}

void Renderer2D::drawLine(const Vector2<float>& a, const Vector2<float>& b) {
    flush();
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    glVertex2f(a.x, a.y);
    glVertex2f(b.x, b.y);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void Renderer2D::drawCross(unsigned int size) {
    flush();
    const GLint s = GLint(size);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    glVertex2i(-s, 0);
    glVertex2i(s, 0);
    glVertex2i(0, -s);
    glVertex2i(0, s);
    glEnd();
}

namespace {

// Everything of a box but the rectangle itself, which comes in float and int forms.
template <typename DrawRect> void drawBoxWith(bool filled, bool xorMode, DrawRect rect) {
    if (!filled) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    if (xorMode) {
        glEnable(GL_COLOR_LOGIC_OP);
        glLogicOp(GL_XOR);
    }
    glDisable(GL_TEXTURE_2D);
    rect();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_COLOR_LOGIC_OP);
}

} // namespace

void Renderer2D::drawBox(const Vell::AABB2<float>& box, bool filled, bool xorMode) {
    flush();
    drawBoxWith(filled, xorMode, [&] { glRectf(box.min.x, box.min.y, box.max.x, box.max.y); });
}

void Renderer2D::drawBox(const Vell::AABB2<int>& box, bool filled, bool xorMode) {
    flush();
    drawBoxWith(filled, xorMode, [&] { glRecti(box.min.x, box.min.y, box.max.x, box.max.y); });
}

void Renderer2D::drawPolyLine(const PolyLine& line) {
    flush();
    const bool textured = glIsEnabled(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINE_STRIP);
    for (const Vector2<float>& p : line.points())
        glVertex2f(p.x, p.y);
    glEnd();
    if (textured) glEnable(GL_TEXTURE_2D);
}

void Renderer2D::drawTexturedPolyLine(const TexturedPolyLine& line) {
    flush();
    const bool textured = glIsEnabled(GL_TEXTURE_2D);
    if (Bitmap* bitmap = line.textureBitmap()) {
        glEnable(GL_TEXTURE_2D);
        bindTexture(int(bitmap->texID()));
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    // Texture coordinate and vertex alternate in the cached strip.
    const std::vector<Vector2<float>>& strip = line.quadStrip();
    glBegin(GL_QUAD_STRIP);
    for (std::size_t i = 0; i + 1 < strip.size(); i += 2) {
        glTexCoord2f(strip[i].x, strip[i].y);
        glVertex2f(strip[i + 1].x, strip[i + 1].y);
    }
    glEnd();
    if (textured)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}

void Renderer2D::makeTexture(Font& font) {
    makeTexture(*font.bitmap(), true);
}

void Renderer2D::destroyTexture(Font& font) {
    destroyTexture(*font.bitmap());
}

void Renderer2D::drawSprite(const Sprite& sprite) {
    if (!sprite.image() || !sprite.visible()) return;
    const RGBA<float> previous = _color;
    color(sprite.color());
    drawImage(*sprite.image(), sprite.pos(), sprite.imageRotation(), sprite.imageScale().x,
              sprite.imageScale().y);
    color(previous);
}

void Renderer2D::getTextSize(Vector2<float>* size, std::vector<float>* lineWidths,
                             const std::string& text, const Font& font,
                             const Vector2<float>& scale) const {
    const float advance = float(font.charHeight() + _leading) * scale.y;
    const float spacing = float(font.charSpacing()) * scale.x;
    float width = 0;
    float height = float(font.charHeight()) * scale.y;
    float widest = 0;
    auto endLine = [&] {
        if (lineWidths) lineWidths->push_back(width);
        widest = std::max(widest, width);
    };
    for (char c : text) {
        if (c == '\n') {
            endLine();
            height += advance;
            width = 0;
        } else if (const Image* glyph = font.charImage(static_cast<unsigned char>(c))) {
            // The spacing follows every glyph, the last of a line too.
            width += float(glyph->size().x) * scale.x + spacing;
        }
    }
    endLine();
    if (size) size->set(widest, height);
}

void Renderer2D::print(const std::string& text, const Vector2<float>& pos,
                       const Vector2<float>& scale) {
    if (!_font) return;
    const Font& font = *_font;
    const float advance = float(font.charHeight() + _leading) * scale.y;
    const float spacing = float(font.charSpacing()) * scale.x;

    // The anchor moves down from the top of the block to the first baseline.
    Vector2<float> a = pos;
    a.y -= float(font.charHeight() - font.baseline()) * scale.y;
    std::vector<float> widths;
    if (_alignH != LEFT || _alignV != TOP) {
        Vector2<float> size;
        getTextSize(&size, &widths, text, font, scale);
        if (_alignV == CENTER) a.y += size.y / 2;
        if (_alignV == BOTTOM) a.y += size.y;
    }
    auto lineStart = [&](std::size_t line) {
        if (_alignH == CENTER) return a.x - widths[line] / 2;
        if (_alignH == RIGHT) return a.x - widths[line];
        return a.x;
    };

    // The 0.15 keeps glyph edges off pixel boundaries, where rounding would decide.
    float x = float(int(a.x)) + 0.15f;
    float y = float(int(a.y)) + 0.15f;
    if (_alignH == CENTER || _alignH == RIGHT) x = lineStart(0);
    std::size_t line = 0;
    for (char c : text) {
        if (c == '\n') {
            y -= advance;
            x = lineStart(++line);
        } else if (const Image* glyph = font.charImage(static_cast<unsigned char>(c))) {
            drawImage(*glyph, Vector2<float>(x, y), 0, scale.x, scale.y);
            x += float(glyph->size().x) * scale.x + spacing;
        }
    }
}

} // namespace Pyrane
