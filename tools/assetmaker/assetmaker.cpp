#include "tools/assetmaker/assetmaker.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tools/assetmaker/binarywriter.h"
#include "tools/assetmaker/contactsheet.h"
#include "tools/assetmaker/effectsource.h"
#include "tools/assetmaker/fontsource.h"
#include "tools/assetmaker/icon.h"
#include "tools/assetmaker/instrumentsource.h"
#include "tools/assetmaker/picturesource.h"
#include "tools/assetmaker/pngfile.h"
#include "tools/assetmaker/songsource.h"

namespace fs = std::filesystem;

namespace AssetMaker {

namespace {

// The .txt sources of a folder, in name order, so the output never depends on the order
// in which the file system lists them.
std::vector<fs::path> sourcesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

void makeAssets(const std::string& sourceDir, const std::string& outDir) {
    const fs::path source(sourceDir), out(outDir);
    fs::create_directories(out / "bitmaps");
    fs::create_directories(out / "sound");

    std::map<std::string, RgbaImage> pictures;
    for (const fs::path& file : sourcesIn(source / "bitmaps")) {
        RgbaImage picture = readPicture(file.string());
        writePng((out / "bitmaps" / file.stem()).string() + ".png", picture);
        pictures[file.stem().string()] = std::move(picture);
    }
    FontPicture font = readFont((source / "fonts" / "font.txt").string());
    FontPicture smallFont = readFont((source / "fonts" / "font_small.txt").string());
    writePng((out / "bitmaps" / "font.png").string(), font.image);
    writePng((out / "bitmaps" / "font_small.png").string(), smallFont.image);

    writeEffects(readEffects((source / "sound" / "effects.txt").string()),
                 (out / "sound").string());

    InstrumentLibrary instruments =
        readInstruments((source / "music" / "instruments.txt").string());
    for (const fs::path& file : sourcesIn(source / "music")) {
        if (file.filename() == "instruments.txt") continue;
        BinaryWriter xm;
        xm.bytes(encodeXm(readSong(file.string(), instruments)));
        xm.save((out / "sound" / file.stem()).string() + ".xm");
    }

    const fs::path icons = out / "icons";
    fs::create_directories(icons);
    for (int size : iconSizes)
        writePng((icons / ("kestrane_" + std::to_string(size) + ".png")).string(),
                 makeIcon(pictures.at("player"), size));

    writePng((out / "contact_sheet.png").string(), makeContactSheet(pictures, font, smallFont));
}

} // namespace AssetMaker
