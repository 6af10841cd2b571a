#include "tarvex/stateinitials.h"

#include <iostream>
#include <optional>

#include "pyrane/renderer2d.h"
#include "tarvex/game.h"
#include "tarvex/screentext.h"
#include "tarvex/statemenu.h"

namespace Tarvex {

StateInitials stateInitials;

void StateInitials::onEnter() {
    initials = game.records.table().lastInitials;
    position = 0;
    idleTime = 0;
    _kept = false;
}

bool StateInitials::frame() {
    idleTime += dt;
    if (idleTime >= patience) {
        finish();
        return true;
    }
    Pyrane::Renderer2D& renderer = stateMenu.drawBackdrop(dt);
    renderer.font(*game.font);
    renderer.textAlign(Pyrane::Renderer2D::CENTER, Pyrane::Renderer2D::TOP);
    printShadowed(renderer, "NEW RECORD", Vector2<float>(81.2f, 94));
    renderer.font(*game.smallFont);
    const std::size_t rank = game.records.table().rankOf(_record.score) + 1;
    printShadowed(renderer, "RANK " + std::to_string(rank) + "   " + scoreDigits(_record.score),
                  Vector2<float>(81.2f, 78));

    // The letter being chosen is underlined, blinking, so that a space shows too.
    renderer.font(*game.font);
    for (int i = 0; i < 3; ++i) {
        const float x = 71.2f + 10.0f * static_cast<float>(i);
        printShadowed(renderer, std::string(1, initials[std::size_t(i)]), Vector2<float>(x, 62));
        if (i == position && static_cast<int>(time * 4) % 2 == 0)
            printShadowed(renderer, "_", Vector2<float>(x, 60));
    }
    renderer.font(*game.smallFont);
    printShadowed(renderer, "UP, DOWN: LETTER\nFIRE: NEXT   LEFT: BACK", Vector2<float>(81.2f, 34));
    game.blowup();
    return true;
}

bool StateInitials::message(HWND, unsigned int msg, unsigned int wParam, long lParam) {
    if (msg != WM_KEYDOWN) return msg == WM_KEYUP;
    if (lParam & KEY_PREVIOUSLY_DOWN) return true;
    idleTime = 0;
    // Return and Backspace keep their meanings here whatever they steer or fire in play;
    // the other keys mean what they mean in play.
    const bool own = wParam == VK_RETURN || wParam == VK_BACK;
    const std::optional<unsigned int> key =
        own ? wParam : game.playerOptions.playKey(wParam, lParam);
    switch (key.value_or(0)) {
    case VK_UP:
        step(1);
        break;
    case VK_DOWN:
        step(-1);
        break;
    case VK_LEFT:
    case VK_BACK:
        if (position > 0) --position;
        break;
    case VK_RIGHT:
        if (position < 2) ++position;
        break;
    case VK_SPACE:
    case VK_CONTROL:
    case VK_SHIFT:
    case 'Z':
    case VK_RETURN:
        if (position < 2)
            ++position;
        else
            finish();
        break;
    case VK_ESCAPE:
        finish();
        break;
    default:
        break;
    }
    return true;
}

void StateInitials::step(int by) {
    const std::string_view alphabet = RecordTable::initialsAlphabet;
    const auto count = static_cast<int>(alphabet.size());
    char& letter = initials[std::size_t(position)];
    const auto at = static_cast<int>(alphabet.find(letter));
    letter = alphabet[std::size_t(((at + by) % count + count) % count)];
}

void StateInitials::keep() {
    if (_kept) return;
    _kept = true;
    _record.initials = initials;
    const bool recorded = game.observer() == &game.recorder && game.recorder.done();
    game.makeDataFolder();
    game.records.add(_record, recorded ? &game.recorder.replay() : nullptr, std::cerr);
}

void StateInitials::finish() {
    keep();
    game.menu();
}

} // namespace Tarvex
