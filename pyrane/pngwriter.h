#pragma once
// Writes pictures as PNG files through libpng: RGBA, 8 bits a channel. Pictures come as
// OpenGL reads them back, rows from the bottom up, and are written the right way up.
// Screenshots and README pictures of the 160 x 100 field are enlarged first, each pixel
// becoming a square block (nearest neighbour), so that they show the game as it looks.
#include <cstdio>
#include <string>
#include <vector>

namespace Pyrane {

struct Picture {
    int width = 0;
    int height = 0;
    // width * height pixels of 4 bytes (r, g, b, a), the bottom row first.
    std::vector<unsigned char> rgba;
};

// The picture with every pixel made a factor x factor block.
Picture enlarge(const Picture& picture, int factor);

// Writes the picture to an open file, which stays open. False with the reason in
// `error` when libpng cannot write it (a full disk, a picture without pixels).
bool writePng(std::FILE* file, const Picture& picture, std::string& error);
// Writes the picture to the file at `path`, replacing it. False with the reason in `error`.
bool writePng(const std::string& path, const Picture& picture, std::string& error);

} // namespace Pyrane
