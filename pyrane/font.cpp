#include "pyrane/font.h"

#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"

namespace Pyrane {

Font::Font(const std::string& filename, const std::string& characters, int baseline, int charHeight,
           int charSpacing, Renderer2D& renderer, bool activate)
    : _renderer(renderer), _bitmap(new Bitmap(filename, renderer, false)), _charHeight(charHeight),
      _charSpacing(charSpacing), _baseline(baseline) {
    cutGlyphs(characters);
    if (activate) this->activate();
}

Font::~Font() {
    deactivate();
    // The glyphs' display lists go through the bitmap's renderer, so before the bitmap.
    for (Image*& glyph : _character) {
        delete glyph;
        glyph = nullptr;
    }
    delete _bitmap;
}

// A font made active twice keeps its one texture.
void Font::activate() {
    if (_bitmap->texID() == 0) _renderer.makeTexture(*this);
}

void Font::deactivate() {
    _renderer.destroyTexture(*this);
}

bool Font::isMarker(int x, int y) const {
    RGBA<unsigned char> p = _bitmap->pixelColor(Vector2<int>(x, y));
    return p.r == 255 && p.g == 0 && p.b == 0;
}

// Lines of glyphs are stacked from the bottom of the picture up. In a line's bottom row
// a marker follows each glyph; a second marker right after it, or the picture's right
// edge, ends the line.
void Font::cutGlyphs(const std::string& characters) {
    std::size_t i = 0;
    for (int y = 0; y + _charHeight <= _bitmap->h(); y += _charHeight) {
        int x = 0;
        do {
            if (i == characters.size()) return;
            int start = x;
            while (x < _bitmap->w() && !isMarker(x, y))
                ++x;
            Image*& glyph = _character[static_cast<unsigned char>(characters[i])];
            // A character named twice keeps its last glyph.
            delete glyph;
            glyph = new Image(*_bitmap, Vell::AABB2<int>(start, y, x, y + _charHeight),
                              Vector2<int>(0, _baseline), true);
            ++i;
            ++x; // the marker
        } while (x < _bitmap->w() && !isMarker(x, y));
    }
}

} // namespace Pyrane
