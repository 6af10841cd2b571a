#pragma once
// An enemy made of pieces around its position: armour (hull) that takes hits and shields
// the core, ammunition that it fires off piece by piece in scripted volleys, and at most
// one core that opens and closes in turn. A movement script moves it; each ammo group
// has a fire script. The pieces hold offsets from the enemy's position, which drawing
// and every collision test add.
#include <list>
#include <vector>

#include "common_classes/gradient.h"
#include "common_classes/randgenerator.h"
#include "common_classes/randweighted.h"
#include "common_classes/rgba.h"
#include "common_classes/vector2.h"
#include "pyrane/timeline.h"
#include "tarvex/enemy/firescript.h"
#include "tarvex/enemy/movescript.h"
#include "tarvex/entity.h"
#include "tarvex/powerup.h"

namespace Pyrane {
class Image;
class Renderer2D;
class Sprite;
} // namespace Pyrane

namespace Tarvex {

class Explosion;

class HullEntity : public Entity {
public:
    ~HullEntity() override = default;
};

class AmmoEntity : public Entity {
public:
    ~AmmoEntity() override = default;

    // Orders pieces by ascending priority: the firing order.
    struct Less {
        bool operator()(const AmmoEntity* a, const AmmoEntity* b) const {
            return a->priority < b->priority;
        }
    };

    float priority = 0;
};

// Pieces that fire by one script. The pieces still on the enemy are owned by the group,
// front first in firing order; ammoCount counts the pieces added less those the player
// destroyed (firing does not lower it), and the script runs only while it is above 0.
struct AmmoGroup {
    std::list<AmmoEntity*> ammo;
    FireScript script;
    int ammoCount = 0;
};

class MultiEntity {
public:
    // At (80, 50) with one empty ammo group, no pieces and a drop table of its own.
    MultiEntity();
    // The pieces still on the enemy go with it; fired ones belong to the bullet list.
    virtual ~MultiEntity();
    MultiEntity(const MultiEntity&) = delete;
    MultiEntity& operator=(const MultiEntity&) = delete;

    // Pieces are placed at (x, y) from the enemy's position and coloured with the hull
    // or ammo colour of the moment. Ammo joins the current (last) group; a new core
    // replaces the old one and starts closed.
    void addHull(Pyrane::Image* image, float x, float y, float hitPoints, float score);
    void addAmmo(Pyrane::Image* image, float x, float y, float hitPoints, float damage, float score,
                 float priority);
    void addCore(Pyrane::Image* image, float x, float y, float hitPoints, double openTime,
                 double closedTime, float score);
    // A new empty group becomes the current one; its index.
    int newAmmoGroup();
    // The current group's script, for the designs to fill.
    FireScript& fireScript();
    // Deletes every piece and the core; groups and scripts stay.
    void clear();

    // Age, drift or movement script, the core's phases and the volleys, in this order.
    virtual void animate(double dt);
    // Hull, then ammo, then the core on top, moved to the enemy's position.
    virtual void draw();

    // Volleys: the group's script is stepped and a Fire frame sends pieces off from the
    // front of the group into the play state's enemy bullets.
    void animateAmmoGroup(AmmoGroup& group, double dt);
    void sortAmmoByPriority();
    // The current group's pieces in a random order, from the standard rand.
    void randomizeAmmo();

    // Tests one of the player's bullets and applies its damage to at most one piece:
    // core, then ammo, then hull. True when it hit anything.
    bool bulletCollision(Entity* bullet);
    // Damages every piece by its distance from center through the curves; a null curve
    // spares its pieces (the hull curve the core too).
    void bomb(const Vector2<float>& center, Gradient<float>* hullDamage,
              Gradient<float>* ammoDamage);
    // Blows up the core and with it every piece; nothing without a core.
    void destroyCore();
    void destroyAll(int);
    // Delete the given pieces with at most maxExplosions bursts and return the sum of
    // their scores; the caller takes them out of the enemy's lists.
    float destroyHullEntities(const std::list<HullEntity*>& pieces, int maxExplosions);
    float destroyAmmoEntities(const std::list<AmmoEntity*>& pieces, int maxExplosions);
    float destroyEntities(const std::list<HullEntity*>& hull, const std::list<AmmoEntity*>& ammo,
                          int maxExplosions);

    std::vector<AmmoGroup> _ammoGroups;
    std::list<HullEntity*> _hull;
    Entity* _core = nullptr;
    bool _coreOpen = false;
    double _coreOpenTime = 0;
    double _coreClosedTime = 0;
    double _coreTimer = 0;
    Pyrane::Timeline<float> _coreFlash;
    float _coreFlashValue = 0;
    bool _coreHit = false;
    Vector2<float> _pos{80, 50};
    RGBA<float> _ammoColor{1, 1, 1, 1};
    RGBA<float> _hullColor{0, 0, 0, 1};
    int _hullCount = 0;
    Vector2<float> _vel;
    MoveScript _moveScript;
    bool _pieceDestroyed = false;
    float _bulletSpeed = 40;
    float _blowupScore = 0;
    float _hitScore = 0;
    float _coreScoreFactor = 5;
    RandWeighted<Powerup::Type> _powerupDrop;
    double _age = 0;
    double _minAge = 1.0;

    // The play state's enemy bullets, which fired pieces join, and its explosions; the
    // ship that aimed volleys aim at. The game sets them at start-up.
    static std::list<Entity*>* _firedBullets;
    static std::list<Explosion*>* _explosions;
    static Pyrane::Sprite* _player;
    // The generator of all enemies: drop-table seeds, volley jitter, design choices.
    // Never reseeded, so its sequence is the same in every run.
    static RandGenerator _rand;

private:
    // The three explosions an enemy makes: a hit, a piece destroyed, the core destroyed.
    enum Burst { SPARK, PIECE_BURST, CORE_BURST };

    void animateCore(double dt);
    void fire(AmmoGroup& group, const FireScript::Fire& volley);
    // The renderer that draws the pieces, from the first piece with an image.
    Pyrane::Renderer2D* renderer() const;
    Vector2<float> absolute(const Entity* piece) const { return piece->pos() + _pos; }
    // Ammo pieces burst in the ammo colour, hull pieces and the core in the hull colour.
    void explode(const Entity* piece, Burst burst);
    // Hit pieces: core, the first ammo piece, the first hull piece the box meets.
    bool coreHit(Entity* bullet);
    bool ammoHit(const Vell::AABB2<float>& box, Entity* bullet);
    bool hullHit(const Vell::AABB2<float>& box, Entity* bullet);
    template <typename Piece>
    bool pieceHit(std::list<Piece*>& pieces, int& count, const Vell::AABB2<float>& box,
                  Entity* bullet);
    float bombDamage(const Entity* piece, const Vector2<float>& center,
                     const Gradient<float>& curve) const;
    template <typename Piece>
    void bombPieces(std::list<Piece*>& pieces, int& count, const Vector2<float>& center,
                    const Gradient<float>& curve, std::list<Piece*>& lost);
    // Deletes the pieces, in the order given, with bursts for the first maxExplosions.
    float destroyPieces(const std::vector<Entity*>& pieces, int maxExplosions);
};

} // namespace Tarvex
