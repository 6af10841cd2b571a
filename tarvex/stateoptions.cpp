#include "tarvex/stateoptions.h"

#include <algorithm>
#include <cmath>

#include "common_classes/keynames.h"
#include "common_classes/sound/sound.h"
#include "pyrane/font.h"
#include "tarvex/game.h"
#include "tarvex/screentext.h"
#include "tarvex/statemenu.h"

namespace Tarvex {

StateOptions stateOptions;

namespace {

using Pyrane::Renderer2D;

const char* const labels[] = {"MUSIC", "EFFECTS", "LEFT",        "RIGHT", "UP",       "DOWN",
                              "FIRE",  "PAUSE",   "FULL SCREEN", "VSYNC", "DEFAULTS", "BACK"};

// The effect each step of the effects volume plays, so the player hears the new loudness.
const char* const sampleEffect = "lazer";
constexpr unsigned char effectVolume = 150;

// Where the lines stand: the top of the first one's text cell (its letters stand 6 to 11
// pixels below it), the space from one line to the next, and the columns of the labels
// and of the values.
constexpr float firstLine = 100;
constexpr float lineSpace = 7;
constexpr float labelColumn = 24;
constexpr float valueColumn = 88;

PlayerOptions::Action actionOf(StateOptions::Line line) {
    return PlayerOptions::Action(line - StateOptions::KeyLeft);
}

bool keyLine(StateOptions::Line line) {
    return line >= StateOptions::KeyLeft && line <= StateOptions::KeyPause;
}

// A key's name in the small font, which has no "#" for keys without a name of their own.
std::string shownKey(unsigned int key) {
    std::string name = keyName(key);
    if (name[0] == '#') name = "KEY " + name.substr(1);
    return name;
}

} // namespace

std::string StateOptions::label(Line line) {
    return labels[line];
}

std::string StateOptions::value(Line line) const {
    const PlayerOptions& options = game.playerOptions;
    switch (line) {
    case Music:
        return std::to_string(options.musicVolume);
    case Effects:
        return std::to_string(options.effectsVolume);
    case FullScreen:
        return options.desktopFullScreen ? "DESKTOP" : "640 x 480";
    case Vsync:
        return options.vsync ? "ON" : "OFF";
    default:
        if (!keyLine(line)) return "";
        if (_waitingForKey && line == _line) return "PRESS A KEY";
        return shownKey(options.keys[actionOf(line)]);
    }
}

void StateOptions::onEnter() {
    _line = Music;
    _waitingForKey = false;
    _blink = 0;
}

bool StateOptions::frame() {
    stateMenu.drawBackdrop(dt);
    _blink += dt;

    Renderer2D& renderer = game.renderer;
    renderer.color(0, 0, 0, 0.6f);
    const float lastLine = firstLine - lineSpace * float(lineCount - 1);
    renderer.drawBox(Vell::AABB2<float>(labelColumn - 8, lastLine - 14, 160 - labelColumn + 10,
                                        firstLine - 3),
                     true, false);
    renderer.color(0, 1, 1, 0.35f);
    const float selectedTop = firstLine - lineSpace * float(_line);
    renderer.drawBox(Vell::AABB2<float>(labelColumn - 6, selectedTop - 13, 160 - labelColumn + 8,
                                        selectedTop - 4),
                     true, false);

    renderer.font(*game.smallFont);
    renderer.textAlign(Renderer2D::LEFT, Renderer2D::TOP);
    for (int i = 0; i < lineCount; ++i) {
        const Line line = Line(i);
        const float top = firstLine - lineSpace * float(i);
        printShadowed(renderer, label(line), Vector2<float>(labelColumn + 1, top));
        const bool hidden = _waitingForKey && line == _line && std::fmod(_blink, 0.5) >= 0.3;
        if (!hidden) printShadowed(renderer, value(line), Vector2<float>(valueColumn + 1, top));
    }

    game.blowup();
    return true;
}

bool StateOptions::message(HWND, unsigned int msg, unsigned int wParam, long lParam) {
    if (msg != WM_KEYDOWN) return msg == WM_KEYUP;
    const bool repeat = (lParam & KEY_PREVIOUSLY_DOWN) != 0;
    if (_waitingForKey) {
        if (!repeat) waitedKey(wParam, lParam);
        return true;
    }
    // The fire key and Return act; a key bound to no action does nothing, as in play.
    switch (game.playerOptions.playKey(wParam, lParam).value_or(0)) {
    case VK_UP:
        _line = Line((_line + lineCount - 1) % lineCount);
        break;
    case VK_DOWN:
        _line = Line((_line + 1) % lineCount);
        break;
    case VK_LEFT:
        change(-1);
        break;
    case VK_RIGHT:
        change(1);
        break;
    case VK_SPACE:
    case VK_RETURN:
        if (!repeat) act();
        break;
    case VK_ESCAPE:
        if (!repeat) leave();
        break;
    }
    return true;
}

void StateOptions::change(int step) {
    PlayerOptions& options = game.playerOptions;
    switch (_line) {
    case Music:
        options.musicVolume = std::clamp(options.musicVolume + step, 0, PlayerOptions::maxVolume);
        break;
    case Effects:
        options.effectsVolume =
            std::clamp(options.effectsVolume + step, 0, PlayerOptions::maxVolume);
        break;
    case FullScreen:
        options.desktopFullScreen = !options.desktopFullScreen;
        break;
    case Vsync:
        options.vsync = !options.vsync;
        break;
    default:
        return;
    }
    game.applyOptions();
    if (_line == Effects) Sound::playSound(sampleEffect, effectVolume);
}

void StateOptions::act() {
    if (keyLine(_line)) {
        _waitingForKey = true;
        _blink = 0;
    } else if (_line == FullScreen || _line == Vsync) {
        change(1);
    } else if (_line == Defaults) {
        game.playerOptions = PlayerOptions();
        game.applyOptions();
    } else if (_line == Back) {
        leave();
    }
}

void StateOptions::waitedKey(unsigned int key, long lParam) {
    // A pad's controls are not keys to bind; its Back cancels as Escape does.
    if (key == VK_ESCAPE) {
        _waitingForKey = false;
        return;
    }
    if ((lParam & KEY_FROM_PAD) || !PlayerOptions::bindable(key)) return;
    game.playerOptions.bind(actionOf(_line), key);
    _waitingForKey = false;
}

void StateOptions::leave() {
    _waitingForKey = false;
    game.saveSettings();
    stateMenu.resume();
}

} // namespace Tarvex
