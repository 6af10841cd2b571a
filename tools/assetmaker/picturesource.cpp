#include "tools/assetmaker/picturesource.h"

#include <charconv>

#include "tools/assetmaker/sourcefile.h"

namespace AssetMaker {

namespace {

// Eight hex digits, RRGGBBAA.
bool parseColour(const std::string& text, Rgba& colour) {
    std::uint32_t v = 0;
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, v, 16);
    if (text.size() != 8 || result.ec != std::errc() || result.ptr != end) return false;
    colour = {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
    return true;
}

} // namespace

Rgba legendColour(const SourceFile& file, int line, const Legend& legend, char c) {
    auto it = legend.find(c);
    if (it == legend.end()) file.fail(line, std::string("'") + c + "' is not in the legend");
    return it->second;
}

void readLegendEntry(WordReader& reader, Legend& legend) {
    std::string c = reader.word();
    Rgba colour;
    if (c.size() != 1 || !parseColour(reader.word(), colour))
        reader.fail("expected: colour <character> <RRGGBBAA>");
    legend[c[0]] = colour;
}

RgbaImage readPicture(const std::string& path) {
    SourceFile file(path);
    Legend legend{{'.', Rgba{255, 255, 255, 0}}};
    RgbaImage image;
    bool sized = false;
    SourceLine line;
    std::vector<std::string> words;
    while (file.nextStatement(line, words)) {
        WordReader reader(file, line.number, words, 1);
        const std::string& keyword = words[0];
        if (keyword == "size") {
            int w = reader.integer(), h = reader.integer();
            if (!isPowerOfTwo(w) || !isPowerOfTwo(h))
                file.fail(line.number, "the picture's sides must be powers of two");
            image = RgbaImage(w, h, legend['.']);
            sized = true;
        } else if (keyword == "colour") {
            readLegendEntry(reader, legend);
        } else if (!sized) {
            file.fail(line.number, "the picture needs its size first");
        } else if (keyword == "fill") {
            std::string c = reader.word();
            if (c.size() != 1) file.fail(line.number, "expected one legend character");
            Rgba colour = legendColour(file, line.number, legend, c[0]);
            int x0 = 0, y0 = 0, x1 = image.width(), y1 = image.height();
            if (!reader.atEnd()) {
                x0 = reader.integer(), y0 = reader.integer();
                x1 = reader.integer(), y1 = reader.integer();
            }
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    image.pixel(x, y, colour);
        } else if (keyword == "grid") {
            int x0 = reader.integer(), y0 = reader.integer();
            std::vector<SourceLine> rows = file.block();
            if (rows.empty()) file.fail(line.number, "the grid has no rows");
            for (std::size_t r = 0; r < rows.size(); ++r) {
                int y = y0 + int(rows.size() - 1 - r);
                const std::string& text = rows[r].text;
                for (std::size_t c = 0; c < text.size(); ++c) {
                    int x = x0 + int(c);
                    if (!image.contains(x, y))
                        file.fail(rows[r].number, "the grid runs off the picture");
                    image.pixel(x, y, legendColour(file, rows[r].number, legend, text[c]));
                }
            }
        } else {
            file.fail(line.number, "unknown keyword '" + keyword + "'");
        }
        reader.expectEnd();
    }
    if (!sized) throw AssetError(path + ": the picture has no size");
    return image;
}

} // namespace AssetMaker
