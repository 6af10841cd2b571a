#include "tarvex/statemenu.h"

#include <string>

#include "pyrane/timeline.h"
#include "tarvex/game.h"
#include "tarvex/staterecords.h"

namespace Tarvex {

StateMenu stateMenu;

const char* const StateMenu::creditsText =
    "KESTRANE by the Kestrane team   *  \t\t"
    "Code, graphics and sound: the Kestrane team  *  \t\t"
    "Music: the Kestrane team  *  \t\t"
    "Thanks to the SDL folks for the window, Mesa for the pixels, libpng for the pictures and "
    "ModPlug for the tunes  *  \t\t"
    "This game is freeware: share it!  *  \t\t"
    "Yes, it is meant to be this chunky and this grey";

const char* const StateMenu::optionsHint = "TAB OR PAD Y: OPTIONS";

namespace {

void giveTiles(Background& layer, const std::string& prefix, int count, const char* suffix,
               int size) {
    if (!layer._tiles.empty()) return;
    for (int i = 1; i <= count; ++i)
        layer._tiles.push_back(game.image(prefix + std::to_string(i) + suffix));
    layer._tileCount = count;
    layer._tileSize = size;
}

} // namespace

void StateMenu::onEnter() {
    if (_resuming) {
        _resuming = false;
        return;
    }
    giveTiles(layers[0], "back_16_", 7, "", 16);
    giveTiles(layers[1], "back_10_", 6, "b", 10);
    layers[0]._speed = 30;
    layers[1]._speed = 15;
    for (Background& layer : layers)
        layer.clear();
    idleTime = 0;

    credits.textFont(*game.font);
    credits.textColor(RGBA<float>(1, 1, 1, 1));
    credits.text(creditsText);
    credits.pos(160, 17);
    creditsLength = credits.boundingBox().size().x + 10;

    // Invisible for a quarter second, then visible for a quarter second.
    using Key = Pyrane::Timeline<float>::Keyframe;
    constexpr auto absolute = Pyrane::Timeline<float>::ABSOLUTE;
    Pyrane::Timeline<float> blink;
    blink.addKey(Key(0, 0, absolute));
    blink.addKey(Key(0.25, 0, absolute));
    blink.addKey(Key(0.251, 1, absolute));
    blink.addKey(Key(0.5, 1, absolute));
    blink.addKey(Key(0.501, 0, absolute));
    pressFire.textFont(*game.smallFont);
    pressFire.textColor(RGBA<float>(1, 1, 1, 1));
    pressFire.textAlign(Pyrane::Renderer2D::CENTER, Pyrane::Renderer2D::CENTER);
    pressFire.text("PRESS FIRE");
    pressFire.pos(80.5f, 43);
    pressFire.timelineTextColorA(blink);
}

void StateMenu::resume() {
    _resuming = true;
    game.currentState(this);
}

Pyrane::Renderer2D& StateMenu::drawBackdrop(double step) {
    Pyrane::Renderer2D& renderer = game.renderer;
    game.beginPicture();
    renderer.identity();
    renderer.color(0, 0, 0, 1);
    renderer.clear();
    renderer.textureFilter(Pyrane::Renderer2D::NEAREST);

    // The title's layers are tinted cyan.
    for (Background& layer : layers) {
        layer.animate(step);
        layer.draw(RGBA<float>(0, 1, 1, 1));
    }
    return renderer;
}

bool StateMenu::frame() {
    Pyrane::Renderer2D& renderer = drawBackdrop(dt);
    renderer.color(1, 1, 1, 1);
    renderer.drawImage(*game.image("logo"), Vector2<float>(79, 80), 0, 1, 1);

    // Moved by position: a sprite's speed never goes below 0, so a velocity of length
    // -40 would stand still, and one of 40 at half a turn drifts off its pixel row.
    credits.posBy(-40 * static_cast<float>(dt), 0);
    credits.animate(dt);
    credits.draw();
    if (credits.pos().x < -creditsLength) credits.pos(160, 18);

    pressFire.animate(dt);
    pressFire.draw();

    renderer.font(*game.smallFont);
    renderer.textAlign(Pyrane::Renderer2D::CENTER, Pyrane::Renderer2D::CENTER);
    renderer.color(0.6f, 0.6f, 0.6f, 1);
    renderer.print(optionsHint, Vector2<float>(80.5f, 28), Vector2<float>(1, 1));

    game.blowup();
    idleTime += dt;
    // While a replay feeds the frames (--replay, --shot), they alone decide what shows:
    // a demo would take the frames over for good.
    if (idleTime >= attractDelay && !game.frameSource()) stateRecords.attract();
    return true;
}

bool StateMenu::message(HWND, unsigned int msg, unsigned int wParam, long lParam) {
    if (msg == WM_KEYUP) idleTime = 0; // F5 and F6 come down to the game object alone
    if (msg != WM_KEYDOWN) return false;
    const bool repeat = (lParam & KEY_PREVIOUSLY_DOWN) != 0;
    if (wParam == VK_ESCAPE && !repeat)
        Platform::postQuitMessage(0);
    else if (wParam == VK_TAB && !repeat)
        game.options();
    else
        game.play();
    return true;
}

} // namespace Tarvex
