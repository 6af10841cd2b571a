#include "tools/assetmaker/contactsheet.h"

#include <algorithm>
#include <vector>

namespace AssetMaker {

namespace {

constexpr int zoom = 4;
constexpr int gap = 8;
const Rgba sheetGround{40, 40, 52, 255};
const Rgba grey{128, 128, 128, 255};
const Rgba black{0, 0, 0, 255};
const Rgba white{255, 255, 255, 255};

struct Look {
    Rgba tint;   // the drawing colour the game modulates the picture with
    Rgba ground; // what lies under it
};

// How the game draws each picture.
std::vector<Look> looksOf(const std::string& name) {
    const Rgba cyan{0, 255, 255, 255}, darkGrey{77, 77, 77, 255};
    if (name == "player") return {{black, grey}};
    if (name == "background") return {{darkGrey, grey}, {cyan, black}};
    if (name == "logo_black") return {{white, black}, {white, cyan}};
    if (name == "cross_1" || name == "cross_2" || name == "rhomb" || name == "full32x32")
        return {{black, grey}, {white, grey}};
    return {{white, grey}};
}

RgbaImage render(const RgbaImage& picture, Look look) {
    RgbaImage out(picture.width() * zoom, picture.height() * zoom);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.pixel(x, y, blend(look.ground, picture.pixel(x / zoom, y / zoom), look.tint));
    return out;
}

// Draws `text` with its top-left corner at (x, top), one pixel a pixel, in `colour`; the
// glyph ink takes the colour, as the game's modulated drawing does.
void drawText(RgbaImage& target, const FontPicture& font, const std::string& text, int x, int top,
              Rgba colour) {
    for (char c : text) {
        auto it = std::find_if(font.glyphs.begin(), font.glyphs.end(),
                               [c](const GlyphBox& g) { return g.character == c; });
        if (it == font.glyphs.end()) continue;
        for (int gy = 0; gy < font.cellHeight; ++gy)
            for (int gx = 0; gx < it->width; ++gx) {
                Rgba p = font.image.pixel(it->x + gx, it->y + gy);
                int ty = top - font.cellHeight + gy;
                if (p.a) target.pixel(x + gx, ty, blend(target.pixel(x + gx, ty), p, colour));
            }
        x += it->width;
    }
}

// Stacks rows of pictures from the top down, `gap` pixels apart and from the edges.
RgbaImage stack(const std::vector<std::vector<RgbaImage>>& rows) {
    int width = 0, height = gap;
    std::vector<int> heights;
    for (const auto& row : rows) {
        int w = gap, h = 0;
        for (const RgbaImage& cell : row) {
            w += cell.width() + gap;
            h = std::max(h, cell.height());
        }
        width = std::max(width, w);
        heights.push_back(h);
        height += h + gap;
    }
    RgbaImage sheet(width, height, sheetGround);
    int top = height - gap;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int x = gap;
        for (const RgbaImage& cell : rows[r]) {
            sheet.paste(cell, x, top - cell.height());
            x += cell.width() + gap;
        }
        top -= heights[r] + gap;
    }
    return sheet;
}

// A 160-pixel-wide strip of the play field with the game's shadowed texts, scaled up.
RgbaImage textStrip(const FontPicture& font, const std::vector<std::string>& lines) {
    int lineHeight = font.cellHeight - 4;
    RgbaImage strip(160, int(lines.size()) * lineHeight + 6, grey);
    int top = strip.height() - 2;
    for (const std::string& line : lines) {
        drawText(strip, font, line, 3, top - 1, black);
        drawText(strip, font, line, 2, top, white);
        top -= lineHeight;
    }
    return render(strip, {white, grey});
}

} // namespace

RgbaImage makeContactSheet(const std::map<std::string, RgbaImage>& pictures,
                           const FontPicture& font, const FontPicture& smallFont) {
    std::vector<std::vector<RgbaImage>> rows;
    for (const auto& [name, picture] : pictures) {
        RgbaImage label(160, 12, sheetGround);
        drawText(label, smallFont, name, 0, 14, white);
        std::vector<RgbaImage> row{render(label, {white, sheetGround})};
        row.push_back(render(picture, {white, grey}));
        row.push_back(render(picture, {white, black}));
        for (const Look& look : looksOf(name))
            row.push_back(render(picture, look));
        rows.push_back(std::move(row));
    }
    for (const FontPicture* f : {&font, &smallFont})
        rows.push_back({render(f->image, {white, grey}), render(f->image, {white, black})});
    rows.push_back(
        {textStrip(font, {"GAME OVER", "Kestrane: made by us", "Quick brown fox, lazy dog!",
                          "0123456789 <{[(~#%^&*)]}> $|\\/?"})});
    rows.push_back(
        {textStrip(smallFont, {"0001234      HI 0012345", "PRESS FIRE", "GET READY",
                               "POWER UP  BONUS 10000", "ACCURACY: 87", "KILLS: 12", "CORE HITS: 3",
                               "abcdefghijklmnopqrstuvwxyz", ".,:;!?_()*/+-=\"'&@"})});
    return stack(rows);
}

} // namespace AssetMaker
