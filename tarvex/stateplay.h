#pragma once
// The state in which the game is played. It owns everything that lives during a game
// (the ship, the bullets of both sides, the enemies, power-ups, explosions and blasts,
// the two background layers, the message line, score and statistics) and runs one
// game step with its drawing in each frame.
#include <list>
#include <string>
#include <vector>

#include "common_classes/gradient.h"
#include "common_classes/openglappmultistate.h"
#include "common_classes/randgenerator.h"
#include "common_classes/randweighted.h"
#include "pyrane/timeline.h"
#include "tarvex/background.h"
#include "tarvex/entity.h"
#include "tarvex/player.h"
#include "tarvex/powerup.h"

namespace Pyrane {
class Image;
}

namespace Tarvex {

class MultiEntity;
class Explosion;
class Blast;

class StatePlay : public OpenglAppMultistate::State {
public:
    StatePlay();
    ~StatePlay();
    StatePlay(const StatePlay&) = delete;
    StatePlay& operator=(const StatePlay&) = delete;

    // A new game: everything reset, 3 s of invulnerability and "GET READY".
    void onEnter() override;
    bool frame() override;
    // The keys; true for every key message, also those it ignores.
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override;

    void reset();
    // Destroys everything a game left on the field, list by list in this order:
    // enemies, explosions, enemy bullets, bullets, power-ups, blasts.
    void clearField();
    // Ends the game once: the game-over tune, the statistics frozen and a better score
    // saved as the hiscore.
    void gameOver();

    void drawEntityList(std::list<Entity*>& list);
    void clearEntityList(std::list<Entity*>& list);

    // One volley of the ship's current weapon.
    void addBullet();
    // Moves the ship's bullets; those that leave the top are misses.
    void animateBullets();
    void clearBullets() { clearEntityList(_bullets); }
    // Moves the enemy bullets, blinking together, and lets the first one that meets the
    // ship take its shield or its life; bullets that leave the field are dropped.
    void animateEnemyBullets();
    void clearEnemyBullets() { clearEntityList(_enemyBullets); }

    // One regular enemy of a kind the chooser draws, entering above the top edge. Its
    // script ends with a flight to (-30, -30) beyond the bottom-left corner.
    void addEnemy();
    // One enemy of the given design, entering above the top edge as addEnemy() places it.
    MultiEntity* addEnemy(void (*design)(MultiEntity&));
    // Moves the enemies; retires those that escaped after their first second (for
    // nothing) and those destroyed (counted, a core kill's bonus, maybe a power-up).
    void animateEnemies();
    void drawEnemies();
    void clearEnemies();
    // Adds regular enemies when the field has thinned out, or brings on the boss wave.
    void supplyEnemies();

    // What the ship's bullets did to the enemies in one frame.
    struct EnemyHits {
        bool hit = false;            // a bullet hit an enemy
        bool pieceDestroyed = false; // a bullet destroyed a piece
    };
    // Tests every bullet against every enemy; a bullet that hits scores what it earned
    // and is gone.
    EnemyHits shootEnemies();

    // A ring of count particles bursting from pos (see Explosion), kept until its
    // duration is over.
    void addExplosion(const Vector2<float>& pos, const RGBA<float>& color, int count, int image,
                      float speed, float acceleration, float duration);
    // Moves the explosions and removes those that have outlived their duration.
    void animateExplosions();
    void drawExplosions();
    void clearExplosions();

    // A power-up of the kind at pos; bombs home in on the ship, keeping the speed of vel.
    void addPowerup(const Vector2<float>& pos, const RadVector2<float>& vel, Powerup::Type type);
    // Moves the power-ups, hands those the ship touches to pickupPowerup (not during game
    // over) and drops those that have left the field.
    void animatePowerups();
    // A higher weapon level (a bonus at the top level) or a bomb at the power-up.
    void pickupPowerup(Powerup* powerup);
    void drawPowerups();
    void clearPowerups();

    // Bombs going off at pos: the white one clears enemy bullets and hurts ammo, the
    // black one hurts every piece as well. Both leave a blast ring.
    void whiteBomb(const Vector2<float>& pos);
    void blackBomb(const Vector2<float>& pos);
    // Damages every enemy by the curves over its pieces' distances from center, scores
    // what that destroyed, and clears the enemy bullets in the ammo curve's reach. A
    // null curve spares what it is for.
    void applyBombDamage(const Vector2<float>& center, Gradient<float>* hullDamage,
                         Gradient<float>* ammoDamage);
    // Moves the blasts and removes those that have ended.
    void animateBlasts();
    void drawBlasts();
    void clearBlasts();

    // Adds a line to the message; the lines stay together for the sum of their times.
    void message(const std::string& text, double seconds, bool replace);
    void animateMessage();
    void drawMessage();
    // Adds to the score while the game runs. Once it is over the score is final: it is
    // the one the hiscore was taken from, though bullets still in flight go on hitting.
    void score(float points) {
        if (!_gameOver) _score += points;
    }
    void drawStatusBar();
    void drawGameOverStats();
    // "PAUSED" over the field, blinking, while the game stands paused.
    void drawPaused();

    Player _player;
    std::list<Entity*> _bullets;
    std::list<Entity*> _enemyBullets;
    std::list<MultiEntity*> _enemies;
    std::list<Powerup*> _powerups;
    float _bonus = 10000;
    std::string _bonusText;
    Gradient<float> _bombHullDamage;
    Gradient<float> _bombAmmoDamage;
    std::list<Explosion*> _explosions;
    std::list<Blast*> _blasts;
    Pyrane::Timeline<float> _flash;
    float _flashValue = 0;
    Background _background1;
    Background _background2;
    std::string _messageText;
    double _messageDuration = 0;
    double _messageTime = 0;
    float _score = 0;
    float _hiscore = 0;
    int _lives = 2;
    bool _gameOver = false;
    double _gameOverTime = 0;
    double _gameOverDuration = 10.0;
    int _shotsFired = 0;
    int _shotsMissed = 0;
    int _coreKills = 0;
    int _enemiesDestroyed = 0;
    int _enemiesSpawned = 0;
    int _statCoreHits = 0;
    int _statAccuracy = 0;
    int _statKills = 0;
    Gradient<float> _maxEnemies;
    std::vector<Gradient<float>> _enemyWeights;
    RandWeighted<int> _enemyChooser;
    Gradient<float> _refillLevel;
    double _timeSincePowerup = 2.0;
    double _powerupInterval = 2.0;
    RandGenerator _rand;
    // The boss wave: the supply stops once _enemiesSpawned reaches _bossDue; when the
    // field is empty "WARNING" shows for _bossWarningDuration and the boss comes, counted
    // as spawned. _bossDue then moves on by _bossInterval from there, so a boss follows
    // every _bossInterval regular enemies. _bossWarningTime is below 0 while no warning
    // runs; _boss is the living boss, or null.
    int _bossInterval = 100;
    int _bossDue = 100;
    double _bossWarningTime = -1;
    double _bossWarningDuration = 2.0;
    MultiEntity* _boss = nullptr;
    float _bossBonus = 5000;

private:
    // Every effect of the play state sounds at this volume.
    static constexpr unsigned char effectVolume = 150;

    // A hurtful enemy bullet at the ship's position: the shield goes, or a life.
    void shipHit(const Vector2<float>& ship);
    // A destroyed enemy: its core bonus (coreKilled is set), its drop, its count.
    void enemyDestroyed(MultiEntity& enemy, bool& coreKilled);
    void bossWave();
    bool keyDown(unsigned int key, bool repeat);
    void keyUp(unsigned int key);
    void shipImage(const std::string& name);
    // Rate-limited effects for the bullets that hit enemies in this frame.
    void playHitSounds(bool hit, bool pieceDestroyed);

    // Seconds shown paused, the clock of the "PAUSED" blink.
    double _pauseBlink = 0;
};

extern StatePlay statePlay;

} // namespace Tarvex
