#include "support/gamesession.h"

#include <SDL_mixer.h>

#include "support/files.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace TestSupport {

const Startup& startGame() {
    static TempDir dir;
    static const Startup startup = [] {
        fs::create_directory_symlink(fs::current_path() / "bitmaps", dir.dir() / "bitmaps");
        fs::create_directory_symlink(fs::current_path() / "sound", dir.dir() / "sound");
        writeFile(dir.path("data/kestrane.conf"), "volume 7\nscreenSize 2\nname \"a b\"\n");
        writeFile(dir.path("data/kestrane.dat"), std::string("\0\0\x48\x42", 4));
        fs::current_path(dir.dir());

        Platform::setMessageReporter([](const std::string&, const std::string&) {});
        game.mainRenderingContext();
        game.init();
        game.finishLoading();
        return Startup{game.screenSize(),          game.width(),        game.height(),
                       Tarvex::statePlay._hiscore, game.currentState(), Mix_PlayingMusic() != 0};
    }();
    return startup;
}

void GameTest::SetUp() {
    startGame();
    Platform::setMessageReporter([this](const std::string& title, const std::string& text) {
        messageBoxes.push_back(title + ": " + text);
    });
    game.playerOptions = Tarvex::PlayerOptions();
    game.applyOptions();
    game.paused = false;
    game.screenSize(4);
    game.menu();
    _hiscore = Tarvex::statePlay._hiscore;
}

void GameTest::TearDown() {
    Platform::setMessageReporter([](const std::string&, const std::string&) {});
    game.playerOptions = Tarvex::PlayerOptions();
    game.applyOptions();
    game.paused = false;
    game.menu();
    Tarvex::statePlay._hiscore = _hiscore;
}

void pressKey(unsigned int key, bool repeat) {
    game.message(game.hwnd(), WM_KEYDOWN, key, repeat ? KEY_PREVIOUSLY_DOWN | 1 : 1);
}

void releaseKey(unsigned int key) {
    game.message(game.hwnd(), WM_KEYUP, key, KEY_PREVIOUSLY_DOWN | KEY_TRANSITION_UP | 1);
}

void GameTest::keyDown(unsigned int key, bool repeat) {
    pressKey(key, repeat);
}

void GameTest::keyUp(unsigned int key) {
    releaseKey(key);
}

std::vector<Pixel> GameTest::readPicture() {
    return TestSupport::readPicture(game.renderer);
}

} // namespace TestSupport
