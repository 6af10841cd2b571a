#include "tools/assetmaker/fontsource.h"

#include "tools/assetmaker/picturesource.h"
#include "tools/assetmaker/sourcefile.h"

namespace AssetMaker {

const Rgba markerRed{255, 0, 0, 255};

namespace {

struct Glyph {
    char character = 0;
    int line = 0;
    std::vector<SourceLine> above; // rows standing on the baseline, top first
    std::vector<SourceLine> below; // rows hanging below it, top first
    int width = 0;
};

Glyph readGlyph(SourceFile& file, const SourceLine& header) {
    Glyph glyph;
    glyph.line = header.number;
    std::string name = header.text.substr(6);
    if (name == "space")
        glyph.character = ' ';
    else if (name.size() == 1)
        glyph.character = name[0];
    else
        file.fail(header.number, "expected: glyph <character> or glyph space");
    bool underBaseline = false;
    for (const SourceLine& row : file.block()) {
        if (row.text[0] == '-') {
            if (underBaseline) file.fail(row.number, "the glyph has two baselines");
            underBaseline = true;
            continue;
        }
        if (glyph.width == 0) glyph.width = int(row.text.size());
        if (int(row.text.size()) != glyph.width)
            file.fail(row.number, "all rows of a glyph must be equally wide");
        (underBaseline ? glyph.below : glyph.above).push_back(row);
    }
    if (glyph.width == 0) file.fail(header.number, "the glyph has no rows");
    return glyph;
}

} // namespace

FontPicture readFont(const std::string& path) {
    SourceFile file(path);
    Legend legend{{'.', Rgba{255, 255, 255, 0}}};
    FontPicture font;
    std::string characters;
    int width = 0;
    std::vector<Glyph> glyphs;
    SourceLine line;
    std::vector<std::string> words;
    while (file.nextStatement(line, words)) {
        WordReader reader(file, line.number, words, 1);
        if (line.text.rfind("glyph ", 0) == 0) {
            glyphs.push_back(readGlyph(file, line));
            if (characters.find(glyphs.back().character) != std::string::npos)
                file.fail(line.number, "this character already has a glyph");
            characters += glyphs.back().character;
            continue;
        }
        if (words[0] == "height")
            font.cellHeight = reader.integer();
        else if (words[0] == "baseline")
            font.baseline = reader.integer();
        else if (words[0] == "width")
            width = reader.integer();
        else if (words[0] == "colour")
            readLegendEntry(reader, legend);
        else
            file.fail(line.number, "unknown keyword '" + words[0] + "'");
        reader.expectEnd();
    }
    if (font.cellHeight <= 0 || font.baseline < 0 || font.baseline >= font.cellHeight ||
        !isPowerOfTwo(width))
        throw AssetError(path + ": needs height, baseline and a power-of-two width");

    // Lay the glyphs out line by line. A glyph needs its own columns, its marker, and room
    // for the second marker that ends the line, so the line end is never the picture edge.
    int x = 0, y = 0;
    for (const Glyph& glyph : glyphs) {
        if (glyph.width + 2 > width) file.fail(glyph.line, "the glyph is wider than the picture");
        if (int(glyph.above.size()) > font.cellHeight - font.baseline ||
            int(glyph.below.size()) > font.baseline)
            file.fail(glyph.line, "the glyph is taller than its cell");
        if (x + glyph.width + 2 > width) {
            x = 0;
            y += font.cellHeight;
        }
        font.glyphs.push_back({glyph.character, x, y, glyph.width});
        x += glyph.width + 1;
    }
    int lines = glyphs.empty() ? 0 : y / font.cellHeight + 1;
    font.image = RgbaImage(width, nextPowerOfTwo(lines * font.cellHeight), legend['.']);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& glyph = glyphs[i];
        const GlyphBox& box = font.glyphs[i];
        auto drawRows = [&](const std::vector<SourceLine>& rows, int top) {
            for (std::size_t r = 0; r < rows.size(); ++r)
                for (int c = 0; c < glyph.width; ++c) {
                    char ch = rows[r].text[std::size_t(c)];
                    font.image.pixel(box.x + c, top - int(r),
                                     legendColour(file, rows[r].number, legend, ch));
                }
        };
        drawRows(glyph.above, box.y + font.baseline + int(glyph.above.size()) - 1);
        drawRows(glyph.below, box.y + font.baseline - 1);
        font.image.pixel(box.x + box.width, box.y, markerRed);
        bool lineEnds = i + 1 == glyphs.size() || font.glyphs[i + 1].y != box.y;
        if (lineEnds) font.image.pixel(box.x + box.width + 1, box.y, markerRed);
    }
    return font;
}

} // namespace AssetMaker
