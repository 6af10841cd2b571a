// The parts of the game object that serve the player's options: the options screen, the
// loudness and the display settings, the pause when the window loses the focus, and
// screenshots with the notice they leave on the field.
#include <array>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "common_classes/sound/music.h"
#include "common_classes/sound/sound.h"
#include "pyrane/font.h"
#include "tarvex/game.h"
#include "tarvex/screenshot.h"
#include "tarvex/screentext.h"
#include "tarvex/stateoptions.h"
#include "tarvex/stateplay.h"

namespace Tarvex {

void Game::options() {
    currentState(&stateOptions);
}

void Game::applyOptions() {
    const float most = PlayerOptions::maxVolume;
    Music::overallVolume(float(playerOptions.musicVolume) / most);
    Sound::effectsVolume(float(playerOptions.effectsVolume) / most);
    vsync(playerOptions.vsync);
    desktopFullscreen(_screenSize == 5 ? playerOptions.desktopFullScreen : desktopFullscreen());
}

void Game::loseFocus() {
    if (currentState() != &statePlay || statePlay._gameOver || replaying) return;
    // Released while the window had no focus, a key would otherwise stay held.
    static const std::array<unsigned int, 8> gameKeys = {VK_LEFT,    VK_RIGHT,   VK_UP,    VK_DOWN,
                                                         VK_SPACE,   VK_CONTROL, VK_SHIFT, 'Z'};
    for (unsigned int key : gameKeys)
        OpenglAppMultistate::message(hwnd(), WM_KEYUP, key,
                                     1 | KEY_PREVIOUSLY_DOWN | KEY_TRANSITION_UP);
    if (!paused)
        OpenglAppMultistate::message(hwnd(), WM_KEYDOWN,
                                     PlayerOptions::ownKeys[PlayerOptions::Pause], 1);
}

void Game::screenshotStep() {
    constexpr double noticeSeconds = 1;
    if (_screenshotDue) {
        _screenshotDue = false;
        // Without a pictures folder, the shots go beside the player's settings.
        const std::string dataPlace =
            std::filesystem::absolute(settingsFile).parent_path().string();
        const std::string folder =
            screenshotFolder.empty() ? Screenshot::folder(dataPlace) : screenshotFolder;
        if (folder == dataPlace) makeDataFolder();
        const Screenshot::Saved saved = Screenshot::save(picture(), folder, std::time(nullptr));
        if (saved.error.empty())
            std::fprintf(stderr, "kestrane: screenshot saved in %s\n", saved.path.c_str());
        else
            std::fprintf(stderr, "kestrane: no screenshot: %s\n", saved.error.c_str());
        _notice = saved.error.empty() ? "SCREENSHOT SAVED" : "SCREENSHOT FAILED";
        _noticeTime = 0;
    } else if (!_notice.empty()) {
        _noticeTime += frameStep();
        if (_noticeTime >= noticeSeconds) _notice.clear();
    }
    if (_notice.empty()) return;
    renderer.font(*smallFont);
    renderer.textAlign(Pyrane::Renderer2D::CENTER, Pyrane::Renderer2D::TOP);
    printShadowed(renderer, _notice, Vector2<float>(81, 92));
}

} // namespace Tarvex
