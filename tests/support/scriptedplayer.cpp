#include "support/scriptedplayer.h"

#include <cmath>
#include <limits>

#include "support/gamesession.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/game.h"
#include "tarvex/statemenu.h"
#include "tarvex/stateplay.h"

namespace TestSupport {

namespace {

using Tarvex::statePlay;

// Enemy bullets nearer than this are dodged; enemies are chased within this of the ship's
// x.
constexpr float dodgeRadius = 22;
constexpr float aimSlack = 2;
// The height the ship keeps while nothing is to be dodged.
constexpr float cruiseHeight = 14;

float distanceSquared(const Vector2<float>& a, const Vector2<float>& b) {
    const float dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy;
}

int towards(float from, float to, float slack) {
    return to > from + slack ? 1 : to < from - slack ? -1 : 0;
}

} // namespace

bool ScriptedPlayer::admits(unsigned int msg, unsigned int, long) {
    return msg != WM_KEYDOWN && msg != WM_KEYUP && msg != WM_PAINT && msg != WM_KILLFOCUS;
}

std::optional<double> ScriptedPlayer::beginFrame(OpenglApp&, double) {
    if (_frame == _maxFrames) return std::nullopt;
    if (_frame == 0) {
        pressKey(VK_SPACE); // the title menu starts a game on any key
    } else if (game.currentState() != &statePlay) {
        return std::nullopt;
    } else if (statePlay._gameOver) {
        // A second of the game-over screen, then back to the menu.
        _overFor += _step;
        if (_overFor > 1 && _overFor - _step <= 1) pressKey(VK_SPACE);
    } else {
        act();
    }
    ++_frame;
    return _step;
}

void ScriptedPlayer::act() {
    if (statePlay._player._dead) return;
    // Steering and fire are reset when the ship comes back: the keys go down again.
    const Vector2<int> way = steering();
    hold(VK_LEFT, way.x < 0);
    hold(VK_RIGHT, way.x > 0);
    hold(VK_DOWN, way.y < 0);
    hold(VK_UP, way.y > 0);
    hold(VK_SPACE, true);
}

Vector2<int> ScriptedPlayer::steering() {
    const Vector2<float> ship = statePlay._player._ship.pos();
    const Tarvex::Entity* bullet = nullptr;
    float nearest = dodgeRadius * dodgeRadius;
    for (const Tarvex::Entity* b : statePlay._enemyBullets) {
        const float d = distanceSquared(b->pos(), ship);
        if (d < nearest) {
            nearest = d;
            bullet = b;
        }
    }
    if (bullet) {
        // Sideways away from it, towards the open side of the field near a wall, and down
        // from a bullet above.
        const Vector2<float> b = bullet->pos();
        int x = b.x <= ship.x ? 1 : -1;
        if (ship.x > 150) x = -1;
        if (ship.x < 10) x = 1;
        return Vector2<int>(x, b.y > ship.y && ship.y > 8 ? -1 : 0);
    }
    const Tarvex::MultiEntity* target = nullptr;
    nearest = std::numeric_limits<float>::max();
    for (const Tarvex::MultiEntity* e : statePlay._enemies) {
        const float d = distanceSquared(e->_pos, ship);
        if (e->_pos.y < 100 && d < nearest) {
            nearest = d;
            target = e;
        }
    }
    const int x = target ? towards(ship.x, target->_pos.x, aimSlack) : towards(ship.x, 80, 10);
    return Vector2<int>(x, towards(ship.y, cruiseHeight, 3));
}

// Presses or releases the key when the ship does not yet do what it should.
void ScriptedPlayer::hold(unsigned int key, bool down) {
    const Tarvex::Player& p = statePlay._player;
    const bool held = key == VK_LEFT    ? p._left
                      : key == VK_RIGHT ? p._right
                      : key == VK_UP    ? p._up
                      : key == VK_DOWN  ? p._down
                                        : p._fire;
    if (held == down) return;
    if (down)
        pressKey(key);
    else
        releaseKey(key);
}

} // namespace TestSupport
