#include "support/gamesession.h"

#include <SDL_mixer.h>

#include <fstream>

#include "support/tempdir.h"

#include "tarvex/game.h"
#include "tarvex/stateplay.h"

namespace fs = std::filesystem;

namespace TestSupport {

namespace {

TempDir& folder() {
    static TempDir dir;
    return dir;
}

} // namespace

const fs::path& gameFolder() {
    return folder().dir();
}

const Startup& startGame() {
    static const Startup startup = [] {
        const fs::path build = fs::current_path();
        const fs::path& dir = gameFolder();
        fs::create_directory_symlink(build / "bitmaps", dir / "bitmaps");
        fs::create_directory_symlink(build / "sound", dir / "sound");
        fs::create_directory(dir / "data");
        std::ofstream(dir / "data/kestrane.conf") << "volume 7\nscreenSize 2\nname \"a b\"\n";
        std::ofstream(dir / "data/kestrane.dat", std::ios::binary)
            << std::string("\0\0\x48\x42", 4);
        fs::current_path(dir);

        Platform::setMessageReporter([](const std::string&, const std::string&) {});
        game.mainRenderingContext();
        game.init();
        Startup s;
        s.screenSize = game.screenSize();
        s.width = game.width();
        s.height = game.height();
        s.hiscore = Tarvex::statePlay._hiscore;
        s.state = game.currentState();
        s.musicPlaying = Mix_PlayingMusic() != 0;
        return s;
    }();
    return startup;
}

std::vector<Pixel> readPicture() {
    int width, height;
    Platform::drawableSize(game.hwnd(), width, height);
    std::vector<Pixel> screen = readPixels(0, 0, width, height);
    std::vector<Pixel> picture;
    picture.reserve(160 * 100);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 160; ++x) {
            int sx = (2 * x + 1) * width / 320;
            int sy = (2 * y + 1) * height / 200;
            picture.push_back(screen[std::size_t(sy) * width + sx]);
        }
    }
    return picture;
}

} // namespace TestSupport
