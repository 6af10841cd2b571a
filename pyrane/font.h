#pragma once
// A bitmap font: one picture holding lines of glyphs, each glyph followed by a pure red
// marker pixel in the bottom row of its line, cut into one image per character.
#include <array>
#include <string>

namespace Pyrane {

class Bitmap;
class Image;
class Renderer2D;

class Font {
public:
    // Loads the picture (the file name as given), cuts one glyph for each character of
    // `characters` in order, and makes the texture when activate is true. Throws
    // std::runtime_error when the picture cannot be loaded.
    Font(const std::string& filename, const std::string& characters, int baseline, int charHeight,
         int charSpacing, Renderer2D& renderer, bool activate);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    void activate();
    void deactivate();

    // The glyph of a character code, null where the font has none.
    Image* charImage(unsigned char c) const { return _character[c]; }
    Bitmap* bitmap() const { return _bitmap; }
    int charHeight() const { return _charHeight; }
    int charSpacing() const { return _charSpacing; }
    int baseline() const { return _baseline; }
    Renderer2D& renderer() const { return _renderer; }

private:
    void cutGlyphs(const std::string& characters);
    bool isMarker(int x, int y) const;

    Renderer2D& _renderer;
    Bitmap* _bitmap;
    std::array<Image*, 256> _character{};
    int _charHeight;
    int _charSpacing;
    int _baseline;
};

} // namespace Pyrane
