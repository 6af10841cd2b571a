#include "tarvex/stateplay.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <iomanip>
#include <sstream>

#include "common_classes/sound/music.h"
#include "common_classes/sound/sound.h"
#include "pyrane/font.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"
#include "tarvex/blast.h"
#include "tarvex/game.h"
#include "tarvex/ownedlist.h"
#include "tarvex/screentext.h"

namespace Tarvex {

StatePlay statePlay;

namespace {

using Pyrane::Renderer2D;
using Key = Pyrane::Timeline<float>::Keyframe;

// The game-over tune in the game's list of songs.
constexpr std::size_t gameOverSong = 1;

} // namespace

StatePlay::StatePlay() : _enemyWeights(10) {
    std::ostringstream bonus;
    bonus << "BONUS " << _bonus;
    _bonusText = bonus.str();

    _bombHullDamage.addEntry(0, 50);
    _bombHullDamage.addEntry(70, 50);
    _bombHullDamage.addEntry(71, 0);
    _bombAmmoDamage.addEntry(0, 10);
    _bombAmmoDamage.addEntry(70, 10);
    _bombAmmoDamage.addEntry(71, 0);

    _flash.addKey(Key(0.0, 0, Pyrane::Timeline<float>::ABSOLUTE));
    _flash.addKey(Key(0.08, 1, Pyrane::Timeline<float>::ABSOLUTE));
    _flash.addKey(Key(0.16, 0, Pyrane::Timeline<float>::ABSOLUTE));
    _flash.loop(true);
    _flash.targetObject(_flashValue);

    _background1._speed = 70;
    _background2._speed = 33;

    _maxEnemies.addEntry(0, 3);
    _maxEnemies.addEntry(400, 20);
    // The weight of each enemy kind over the number of enemies spawned: the first kind
    // alone at the start, the others joining one by one.
    for (Gradient<float>& weight : _enemyWeights)
        weight.addEntry(-0.01f, 0);
    const std::vector<std::vector<std::pair<float, float>>> weights = {
        {{0, 10}, {100, 100}, {500, 5}, {1000, 30}},
        {{15, 0}, {100, 50}, {200, 120}},
        {{10, 0}, {100, 10}, {300, 70}},
        {{30, 0}, {200, 20}, {400, 30}},
    };
    for (std::size_t kind = 0; kind < weights.size(); ++kind) {
        for (const auto& [spawned, weight] : weights[kind])
            _enemyWeights[kind].addEntry(spawned, weight);
        _enemyChooser.addValue(int(kind), 1);
    }
    _refillLevel.addEntry(0, 2);
    _refillLevel.addEntry(300, 10);

    _rand.seed(static_cast<unsigned long>(std::time(nullptr)));
}

StatePlay::~StatePlay() {
    clearField();
}

void StatePlay::onEnter() {
    // However play is entered, the pictures of play are there first.
    game.finishLoading();
    reset();
    _player.invulnerable(3.0);
    if (_background1._tiles.empty()) {
        for (int i = 1; i <= 7; ++i)
            _background1._tiles.push_back(game.image("back_16_" + std::to_string(i)));
        _background1._tileCount = int(_background1._tiles.size());
        _background1._tileSize = 16;
    }
    if (_background2._tiles.empty()) {
        for (int i = 1; i <= 6; ++i)
            _background2._tiles.push_back(game.image("back_10_" + std::to_string(i) + "b"));
        _background2._tileCount = int(_background2._tiles.size());
        _background2._tileSize = 10;
    }
    _background1._offset.set(0, 0);
    _background2._offset.set(0, 0);
    message("GET READY", 2.0, false);
}

void StatePlay::reset() {
    _player.reset();
    clearField();
    _player._ship.pos(80, 16);
    _score = 0;
    _lives = 2;
    _gameOver = false;
    _messageText.clear();
    _background1.clear();
    _background2.clear();
    _shotsFired = 0;
    _shotsMissed = 0;
    _coreKills = 0;
    _enemiesDestroyed = 0;
    _enemiesSpawned = 0;
    _bossDue = _bossInterval;
    _bossWarningTime = -1;
}

void StatePlay::clearField() {
    clearEnemies();
    clearExplosions();
    clearEnemyBullets();
    clearBullets();
    clearPowerups();
    clearBlasts();
}

void StatePlay::gameOver() {
    if (_gameOver) return;
    Music::stopAllSongs();
    Music::playSong(game.songs[gameOverSong]);
    _messageText.clear();
    _gameOver = true;
    _gameOverTime = 0;
    _statCoreHits = _coreKills;
    // Whole per cent, truncated: in integers, so that 7 of 10 is 70 and not 69.
    _statAccuracy = _shotsFired > 0 ? (_shotsFired - _shotsMissed) * 100 / _shotsFired : 100;
    _statKills = _enemiesDestroyed;
    if (_score > _hiscore && !game.replaying) {
        _hiscore = _score;
        game.saveHiscore();
    }
}

bool StatePlay::frame() {
    // The blink starts shown with every pause.
    _pauseBlink = game.paused ? _pauseBlink + dt : 0;
    if (game.paused) dt = 0;
    if (_gameOver) {
        _gameOverTime += dt;
        if (_gameOverTime >= _gameOverDuration) {
            game.leaveGame();
            return true;
        }
    }

    Renderer2D& renderer = game.renderer;
    game.beginPicture();
    renderer.color(0.5f, 0.5f, 0.5f, 1);
    renderer.clear();
    renderer.textureFilter(Renderer2D::NEAREST);
    renderer.font(*game.font);
    renderer.color(1, 1, 1, 1);

    _background1.animate(dt);
    _background1.draw();
    _background2.animate(dt);
    _background2.draw();

    // However many volleys fell due, one a frame.
    if (_player._shotsPending > 0) {
        addBullet();
        _player._shotsPending = 0;
    }

    animateBullets();
    drawEntityList(_bullets);
    animateBlasts();
    drawBlasts();
    animateEnemies();
    drawEnemies();
    supplyEnemies();

    _timeSincePowerup += dt;

    animatePowerups();
    drawPowerups();
    animateExplosions();
    drawExplosions();
    animateEnemyBullets();
    drawEntityList(_enemyBullets);

    if (!_gameOver) {
        _player.animate(dt);
        _player.draw();
        Powerup::_playerPos = _player._ship.pos();
    }

    animateMessage();
    drawMessage();
    drawStatusBar();
    if (game.paused) drawPaused();

    if (_gameOver) {
        renderer.pushMatrix();
        renderer.color(0, 0, 0, 1);
        drawGameOverStats();
        renderer.translate(-1, 1);
        renderer.color(1, 1, 1, 1);
        drawGameOverStats();
        renderer.popMatrix();
    }

    const EnemyHits hits = shootEnemies();
    playHitSounds(hits.hit, hits.pieceDestroyed);

    game.blowup();

    renderer.vport(Vell::AABB2<int>(0, 0, game.width(), game.height()));
    renderer.font(*game.font);
    renderer.textAlign(Renderer2D::LEFT, Renderer2D::TOP);
    renderer.color(1, 1, 1, 1);
    return true;
}

bool StatePlay::message(HWND, unsigned int msg, unsigned int wParam, long lParam) {
    if (msg == WM_KEYDOWN) return keyDown(wParam, (lParam & KEY_PREVIOUSLY_DOWN) != 0);
    if (msg == WM_KEYUP) {
        if (!_gameOver) keyUp(wParam);
        return true;
    }
    return false;
}

bool StatePlay::keyDown(unsigned int key, bool repeat) {
    // Escape in play abandons the game; once it is over, Escape like any other key leaves
    // the statistics, and a finished game's place in the table of records stands.
    if (key == VK_ESCAPE && !repeat) {
        game.leaveGame();
        return true;
    }
    if (_gameOver) {
        // A key held from play, repeating, does not skip the statistics: only a fresh press.
        if (_gameOverTime > 0.5 && !repeat) game.leaveGame();
        return true;
    }
    switch (key) {
    case VK_CONTROL:
    case VK_SPACE:
    case VK_SHIFT:
        // Auto-repeat re-arms the first shot of a held key.
        _player.fire(true);
        return true;
    }
    if (repeat) return true;
    switch (key) {
    case VK_LEFT:
        shipImage("player_tilt");
        _player.left(true);
        break;
    case VK_RIGHT:
        shipImage("player_tilt");
        _player.right(true);
        break;
    case VK_UP:
        _player.up(true);
        break;
    case VK_DOWN:
        _player.down(true);
        break;
    case 'Z':
        _player.fire(true);
        break;
    case 'P':
        game.paused = !game.paused;
        break;
    }
    return true;
}

void StatePlay::keyUp(unsigned int key) {
    switch (key) {
    case VK_LEFT:
        shipImage("player");
        _player.left(false);
        break;
    case VK_RIGHT:
        shipImage("player");
        _player.right(false);
        break;
    case VK_UP:
        _player.up(false);
        break;
    case VK_DOWN:
        _player.down(false);
        break;
    case VK_CONTROL:
    case VK_SPACE:
    case VK_SHIFT:
    case 'Z':
        _player.fire(false);
        break;
    }
}

void StatePlay::shipImage(const std::string& name) {
    _player._ship.image(game.image(name));
}

void StatePlay::drawEntityList(std::list<Entity*>& list) {
    Pyrane::ImageBatch batch(game.renderer);
    drawOwned(list);
}

void StatePlay::clearEntityList(std::list<Entity*>& list) {
    clearOwned(list);
}

void StatePlay::message(const std::string& text, double seconds, bool replace) {
    if (replace) _messageText.clear();
    if (_messageText.empty()) {
        _messageTime = 0;
        _messageDuration = 0;
    } else {
        _messageText += '\n';
    }
    _messageText += text;
    _messageDuration += seconds;
}

void StatePlay::animateMessage() {
    if (_messageText.empty()) return;
    _messageTime += dt;
    if (_messageTime > _messageDuration) _messageText.clear();
}

void StatePlay::drawMessage() {
    Renderer2D& renderer = game.renderer;
    renderer.font(*game.smallFont);
    renderer.textAlign(Renderer2D::CENTER, Renderer2D::BOTTOM);
    renderer.leading(-4);
    printShadowed(game.renderer, _messageText, Vector2<float>(81.2f, 44.2f));
}

// Blinking, half a second on and a quarter off, on the clock that runs while the game
// stands still.
void StatePlay::drawPaused() {
    if (std::fmod(_pauseBlink, 0.75) >= 0.5) return;
    Renderer2D& renderer = game.renderer;
    renderer.font(*game.font);
    renderer.textAlign(Renderer2D::CENTER, Renderer2D::CENTER);
    printShadowed(game.renderer, "PAUSED", Vector2<float>(81, 59));
}

void StatePlay::drawStatusBar() {
    Renderer2D& renderer = game.renderer;
    renderer.font(*game.smallFont);
    renderer.textAlign(Renderer2D::LEFT, Renderer2D::TOP);
    printShadowed(game.renderer, scoreDigits(_score), Vector2<float>(3, 102));
    // A demo names the game it shows there instead.
    printShadowed(game.renderer,
                  game.demoCaption.empty() ? "HI " + scoreDigits(_hiscore) : game.demoCaption,
                  Vector2<float>(62, 102));

    // The spare ships look like the ship, tilt included.
    Pyrane::Image* icon = _player._ship.image();
    if (!icon) return;
    Vector2<float> pos(154, 95);
    for (int i = 0; i < _lives; ++i) {
        renderer.color(0, 0, 0, 1);
        renderer.drawImage(*icon, pos + Vector2<float>(1, -1), 0, 1, 1);
        renderer.color(1, 1, 1, 1);
        renderer.drawImage(*icon, pos, 0, 1, 1);
        pos.x -= 8;
    }
}

void StatePlay::drawGameOverStats() {
    Renderer2D& renderer = game.renderer;
    renderer.font(*game.font);
    renderer.textAlign(Renderer2D::CENTER, Renderer2D::TOP);
    renderer.print("GAME OVER", Vector2<float>(80, 73), Vector2<float>(1, 1));
    renderer.font(*game.smallFont);
    const std::string stats = "ACCURACY: " + std::to_string(_statAccuracy) +
                              "\nKILLS: " + std::to_string(_statKills) +
                              "\nCORE HITS: " + std::to_string(_statCoreHits) + "\n";
    renderer.print(stats, Vector2<float>(81.1f, 58), Vector2<float>(1, 1));
}

} // namespace Tarvex
