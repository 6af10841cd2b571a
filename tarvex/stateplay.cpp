#include "tarvex/stateplay.h"

#include "pyrane/renderer2d.h"
#include "tarvex/game.h"

namespace Tarvex {

StatePlay statePlay;

bool StatePlay::frame() {
    Pyrane::Renderer2D& renderer = game.renderer;
    renderer.vport(Vell::AABB2<int>(0, 0, Game::pictureWidth, Game::pictureHeight));
    renderer.color(0.5f, 0.5f, 0.5f, 1);
    renderer.clear();
    game.blowup();
    return true;
}

bool StatePlay::message(HWND, unsigned int msg, unsigned int wParam, long lParam) {
    if (msg != WM_KEYDOWN && msg != WM_KEYUP) return false;
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE && !(lParam & KEY_PREVIOUSLY_DOWN)) game.menu();
    return true;
}

} // namespace Tarvex
