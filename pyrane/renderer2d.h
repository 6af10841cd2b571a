#pragma once
// The engine's only door to OpenGL 1.x: a 2D orthographic view with one unit a pixel,
// x to the right and y upwards from the bottom-left corner; textures made from bitmaps
// (and the list of every live one); images compiled into display lists; images, lines
// and boxes drawn with alpha blending. A current OpenGL context must exist whenever a
// renderer is built or used.
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "common_classes/aabb2.h"
#include "common_classes/rgba.h"
#include "common_classes/vector2.h"

namespace Pyrane {

class Bitmap;
class Font;
class Image;
class PolyLine;
class Sprite;
class TexturedPolyLine;

class Renderer2D {
public:
    enum TexFilter { NEAREST = 0, LINEAR = 1 };
    enum align { LEFT = 0, RIGHT = 1, TOP = 2, BOTTOM = 3, CENTER = 4 };

    Renderer2D();
    explicit Renderer2D(const Vell::AABB2<int>& viewport);
    virtual ~Renderer2D() = default;
    Renderer2D(const Renderer2D&) = delete;
    Renderer2D& operator=(const Renderer2D&) = delete;

    // Stores the view rectangle and sets up the whole fixed-function state for 2D
    // drawing. The max corner is the viewport's width and height.
    void vport(const Vell::AABB2<int>& box);
    const Vell::AABB2<int>& vport() const { return _viewport; }
    // Clears the colour buffer to the current drawing colour.
    void clear();

    void color(const RGBA<float>& c);
    void color(float r, float g, float b, float a);
    const RGBA<float>& color() const { return _color; }

    void pushMatrix();
    void popMatrix();
    void identity();
    void translate(float x, float y);
    // Binds a texture and remembers it; all binding goes through here, so that drawing
    // can skip binding the texture that is already bound.
    void bindTexture(int name);
    int boundTexture() const { return _boundTexture; }

    // Uploads the bitmap's pixels into a new texture and hands its name to the bitmap.
    void makeTexture(Bitmap& bitmap, bool withAlpha);
    // Deletes the bitmap's texture, if it has one, and sets its name back to 0.
    void destroyTexture(Bitmap& bitmap);
    // The same for a font's picture.
    void makeTexture(Font& font);
    void destroyTexture(Font& font);
    // Changes the filter of every live texture and of those made later.
    void textureFilter(TexFilter filter);
    TexFilter textureFilter() const { return _textureFilter; }
    const std::list<unsigned int>& textures() const { return _textures; }
    // Copies the framebuffer rectangle into the lower-left corner of the bitmap's texture.
    void uploadTextureFromFramebuffer(Bitmap& bitmap, const Vell::AABB2<unsigned int>& box);

    // The picture every frame is drawn into, width x height pixels, later stretched over
    // the window. Where the context offers framebuffer objects (OpenGL 3.0, or the ARB
    // or EXT extension) and useFramebuffer is set, the picture is a texture of its own
    // that drawing goes to directly; otherwise it is the lower-left corner of the back
    // buffer, copied into a texture for the stretch. Calling it again remakes the target.
    void picture(int width, int height, bool useFramebuffer);
    bool pictureInFramebuffer() const { return _pictureFramebuffer != 0; }
    // Directs drawing into the picture, with the view (vport) on its whole area.
    void beginPicture();
    // Stretches the picture over `target`, a box of the window's pixels from its min
    // corner to its max corner, (0, 0) being the bottom-left corner: opaque, with
    // nearest-neighbour filtering. The rest of the window, windowWidth x windowHeight,
    // turns black. Drawing goes to the window afterwards, until the next beginPicture.
    void showPicture(int windowWidth, int windowHeight, const Vell::AABB2<int>& target);
    // The current picture as width x height RGBA bytes, rows from the bottom up, alpha
    // 255 (it is shown opaque): what is drawn so far while drawing into it, what was
    // stretched over the window after showPicture.
    std::vector<std::uint8_t> readPicture();

    // Compiles the image's textured quad into a display list (which binds no texture)
    // and returns its name, 0 when none could be made.
    unsigned int createImageCache(const Image& image);
    void destroyImageCache(unsigned int name);

    // Draws the image with its hot spot on pos, turned by rotation radians
    // counter-clockwise and scaled about the hot spot, in the current colour. Inside a
    // batch the quad is kept and drawn later with the others (see beginBatch).
    virtual void drawImage(const Image& image, const Vector2<float>& pos, float rotation,
                           float scaleX, float scaleY);
    // The outline of the same quad in the current colour; leaves texturing off.
    virtual void drawImageBorder(const Image& image, const Vector2<float>& pos, float rotation,
                                 float scaleX, float scaleY);
    // Draws a visible sprite's image at its own (relative) position in its colour, then
    // sets the previous colour again.
    virtual void drawSprite(const Sprite& sprite);

    // Between beginBatch and the matching endBatch (batches nest; the outermost end
    // counts), drawImage transforms each quad on the processor and collects it with the
    // current colour, and runs of quads on the same texture go to OpenGL as one vertex
    // array. Every other call of the renderer draws what is collected first, so the
    // picture and the order are those of drawing one by one. Colours set inside a batch
    // reach OpenGL at the next draw; at the end of the batch the OpenGL colour is the
    // renderer's again. Nothing outside the renderer may draw or change OpenGL state
    // inside a batch.
    void beginBatch();
    void endBatch();
    bool batching() const { return _batchDepth > 0; }
    // Draws the quads collected so far.
    void flush();

    // Texturing of what is drawn next; the image and text calls switch it on themselves.
    void texturing(bool on);
    // A strip of quads in the current colour, each next pair of vertices closing a quad
    // with the pair before it; texturing as it is.
    void drawQuadStrip(const std::vector<Vector2<float>>& vertices);
    void drawLine(const Vector2<float>& a, const Vector2<float>& b);
    // Two lines through the current origin; leaves texturing off.
    void drawCross(unsigned int size);
    // An outline, or a filled box; exclusive-or drawing makes a second box undo the
    // first. Both leave texturing off.
    void drawBox(const Vell::AABB2<float>& box, bool filled, bool xorMode);
    void drawBox(const Vell::AABB2<int>& box, bool filled, bool xorMode);
    // The points as one connected line in the current colour, untextured.
    void drawPolyLine(const PolyLine& line);
    // The line's cached ribbon, textured with its bitmap or, without one, in the
    // current colour. Both leave texturing on or off as they found it.
    void drawTexturedPolyLine(const TexturedPolyLine& line);

    // Draws every image's quad outline after the image, for finding hot spots and boxes.
    void showImageBorders(bool show) { _showImageBorders = show; }
    bool showImageBorders() const { return _showImageBorders; }
    void imageBorderColor(const RGBA<float>& c) { _imageBorderColor = c; }
    void imageBorderColor(float r, float g, float b, float a) { _imageBorderColor.set(r, g, b, a); }
    const RGBA<float>& imageBorderColor() const { return _imageBorderColor; }

    // Text state: the current font, extra pixels between lines, and the alignment
    // (horizontal LEFT, RIGHT or CENTER; vertical TOP, BOTTOM or CENTER).
    void font(Font& font) { _font = &font; }
    Font* font() const { return _font; }
    void leading(int pixels) { _leading = pixels; }
    int leading() const { return _leading; }
    void textAlign(align horizontal, align vertical) {
        _alignH = horizontal;
        _alignV = vertical;
    }
    align alignH() const { return _alignH; }
    align alignV() const { return _alignV; }
    // Draws the text with the current font and alignment in the current OpenGL colour.
    // For the default LEFT and TOP, pos is the top-left corner of the text block.
    void print(const std::string& text, const Vector2<float>& pos, const Vector2<float>& scale);
    // Measures a text in a font at a scale: the widest line and the total height into
    // size, each line's width into lineWidths; either may be null.
    void getTextSize(Vector2<float>* size, std::vector<float>* lineWidths, const std::string& text,
                     const Font& font, const Vector2<float>& scale) const;

private:
    // One corner of a collected quad: texture coordinate, colour, clip coordinates.
    struct BatchVertex {
        float s, t, r, g, b, a, x, y, z, w;
    };
    void batchImage(const Image& image, const Vector2<float>& pos, float rotation, float scaleX,
                    float scaleY);
    void transform(const Vector2<float>& pos, float rotation, float scaleX, float scaleY);
    void applyFilter();
    // The image's quad as a line loop from its vertex array.
    void outline(const Image& image);
    void deletePicture();

    RGBA<float> _color;
    Vell::AABB2<int> _viewport;
    Font* _font = nullptr;
    int _leading = 0;
    align _alignH = LEFT;
    align _alignV = TOP;
    int _boundTexture = 0;
    TexFilter _textureFilter = LINEAR;
    std::list<unsigned int> _textures;
    bool _showImageBorders = false;
    RGBA<float> _imageBorderColor{1, 1, 1, 0.5f};
    int _batchDepth = 0;
    std::vector<BatchVertex> _batch;
    // Whether OpenGL's current colour lags behind _color (colours set inside a batch).
    bool _colorPending = false;
    // The projection and model-view matrices the collected quads were transformed
    // with; read again for the first quad after a draw.
    bool _batchMatricesRead = false;
    float _batchProjection[16] = {};
    float _batchModelview[16] = {};
    // The picture: its size, the texture stretched over the window (of power-of-two
    // sides), the framebuffer object drawing into it (0 when the picture is copied out
    // of the back buffer), and whether drawing goes into it now.
    int _pictureWidth = 0;
    int _pictureHeight = 0;
    int _pictureTextureWidth = 0;
    int _pictureTextureHeight = 0;
    unsigned int _pictureTexture = 0;
    unsigned int _pictureFramebuffer = 0;
    bool _drawingPicture = false;
};

// Batches the renderer's image drawing for as long as it lives.
class ImageBatch {
public:
    explicit ImageBatch(Renderer2D& renderer) : _renderer(renderer) { _renderer.beginBatch(); }
    ~ImageBatch() { _renderer.endBatch(); }
    ImageBatch(const ImageBatch&) = delete;
    ImageBatch& operator=(const ImageBatch&) = delete;

private:
    Renderer2D& _renderer;
};

} // namespace Pyrane
