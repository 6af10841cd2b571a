#include "support/fontpicture.h"

#include <cstdint>

#include "support/pngwriter.h"

namespace TestSupport {

void writeFontPicture(const std::string& path, const std::vector<std::string>& rows) {
    std::vector<std::uint8_t> rgba;
    for (const std::string& row : rows)
        for (char c : row) {
            std::uint8_t r = 0, g = 0, b = 0, a = 255;
            switch (c) {
            case 'A':
                r = g = b = 255;
                break;
            case 'B':
                g = 255;
                break;
            case 'C':
                b = 255;
                break;
            case 'D':
                r = g = 255;
                break;
            case '#':
                r = 255;
                break;
            default:
                a = 0;
            }
            rgba.insert(rgba.end(), {r, g, b, a});
        }
    writePng(path, int(rows.at(0).size()), int(rows.size()), rgba);
}

std::vector<std::string> threeGlyphFont() {
    std::vector<std::string> rows;
    rows.insert(rows.end(), 7, "DDDDD...........................");
    rows.push_back("DDDDD##.........................");
    rows.insert(rows.end(), 7, "AAA.BBBB.CC.....................");
    rows.push_back("AAA#BBBB#CC##...................");
    return rows;
}

} // namespace TestSupport
