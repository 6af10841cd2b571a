// assetmaker SOURCE_DIR OUT_DIR: makes the game's pictures, fonts, sound effects and music
// from the readable sources in SOURCE_DIR (the repository's assets/) into OUT_DIR.
#include <exception>
#include <iostream>

#include "tools/assetmaker/assetmaker.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: assetmaker SOURCE_DIR OUT_DIR\n";
        return 2;
    }
    try {
        AssetMaker::makeAssets(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "assetmaker: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
