#include <utility>

#include "pyrane/functions.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/enemy/shuffle.h"
#include "tarvex/explosion.h"

namespace Tarvex {

namespace {

// Bursts a blow-up shows for the hull and for each ammo group, however many pieces go.
constexpr int blowupBursts = 10;

// A bullet is tested as a 4 x 4 box around its position.
constexpr float bulletHalfSize = 2;

struct BurstShape {
    int count;
    int image;
    float speed;
    float acceleration;
    float duration;
};

} // namespace

void MultiEntity::explode(const Entity* piece, Burst burst) {
    static const BurstShape shapes[] = {
        {8, 0, 100, -500, 0.2f},  // SPARK: a bullet hits a piece
        {8, 2, 100, -400, 0.35f}, // PIECE_BURST: a piece is destroyed
        {32, 1, 100, -150, 0.5f}, // CORE_BURST: the core is destroyed
    };
    if (!_explosions) return;
    const BurstShape& s = shapes[burst];
    const RGBA<float>& color = dynamic_cast<const AmmoEntity*>(piece) ? _ammoColor : _hullColor;
    _explosions->push_back(new Explosion(absolute(piece), color, s.count, s.image, s.speed,
                                         s.acceleration, s.duration));
}

bool MultiEntity::bulletCollision(Entity* bullet) {
    const Vell::AABB2<float> box =
        Vell::AABB2<float>(-bulletHalfSize, -bulletHalfSize, bulletHalfSize, bulletHalfSize) +
        bullet->pos();
    _hitScore = 0;
    _pieceDestroyed = false;
    // The closed core stops a bullet even where other pieces lie under it.
    if (_core && _core->collisionWithBox(box, _pos)) return coreHit(bullet);
    return ammoHit(box, bullet) || hullHit(box, bullet);
}

// A closed core with hull left absorbs the bullet; an open one dies from it whatever
// its hit points; a closed one without hull takes the damage.
bool MultiEntity::coreHit(Entity* bullet) {
    if (!_coreOpen && _hullCount > 0) return true;
    bool destroyed = false;
    if (_coreOpen) {
        destroyed = true;
        _coreHit = true;
    } else {
        explode(_core, SPARK);
        _core->hit(bullet->_damage);
        if (_core->_hp <= 0) {
            _hitScore += _core->_score;
            destroyed = true;
        }
    }
    if (destroyed) destroyCore();
    return true;
}

bool MultiEntity::ammoHit(const Vell::AABB2<float>& box, Entity* bullet) {
    for (AmmoGroup& group : _ammoGroups)
        if (pieceHit(group.ammo, group.ammoCount, box, bullet)) return true;
    return false;
}

// Shooting away the last hull piece blows up the core.
bool MultiEntity::hullHit(const Vell::AABB2<float>& box, Entity* bullet) {
    if (!pieceHit(_hull, _hullCount, box, bullet)) return false;
    if (_hullCount == 0) destroyCore();
    return true;
}

// The first piece of the list that the box meets takes the bullet; a piece destroyed
// leaves the list and the count.
template <typename Piece>
bool MultiEntity::pieceHit(std::list<Piece*>& pieces, int& count, const Vell::AABB2<float>& box,
                           Entity* bullet) {
    for (auto it = pieces.begin(); it != pieces.end(); ++it) {
        Piece* piece = *it;
        if (!piece->collisionWithBox(box, _pos)) continue;
        explode(piece, SPARK);
        piece->hit(bullet->_damage);
        if (piece->_hp <= 0) {
            _hitScore = piece->_score;
            explode(piece, PIECE_BURST);
            pieces.erase(it);
            delete piece;
            --count;
            _pieceDestroyed = true;
        }
        return true;
    }
    return false;
}

// The pieces swept away by a blow-up award nothing; the core is worth its score times
// the factor.
void MultiEntity::destroyCore() {
    if (!_core) return;
    explode(_core, CORE_BURST);
    destroyAll(blowupBursts);
    _blowupScore = _core->_score * _coreScoreFactor;
    delete _core;
    _core = nullptr;
}

// The hull and every ammo group have a budget of bursts of their own.
void MultiEntity::destroyAll(int) {
    destroyHullEntities(_hull, blowupBursts);
    _hull.clear();
    _hullCount = 0;
    for (AmmoGroup& group : _ammoGroups) {
        destroyAmmoEntities(group.ammo, blowupBursts);
        group.ammo.clear();
        group.ammoCount = 0;
    }
}

float MultiEntity::destroyHullEntities(const std::list<HullEntity*>& pieces, int maxExplosions) {
    std::vector<Entity*> shuffled(pieces.begin(), pieces.end());
    shufflePieces(shuffled);
    return destroyPieces(shuffled, maxExplosions);
}

float MultiEntity::destroyAmmoEntities(const std::list<AmmoEntity*>& pieces, int maxExplosions) {
    std::vector<Entity*> shuffled(pieces.begin(), pieces.end());
    shufflePieces(shuffled);
    return destroyPieces(shuffled, maxExplosions);
}

// Both shuffled (hull first), then taken in turn, one hull piece and one ammo piece,
// sharing one budget of bursts.
float MultiEntity::destroyEntities(const std::list<HullEntity*>& hull,
                                   const std::list<AmmoEntity*>& ammo, int maxExplosions) {
    std::vector<Entity*> hullPieces(hull.begin(), hull.end());
    std::vector<Entity*> ammoPieces(ammo.begin(), ammo.end());
    shufflePieces(hullPieces);
    shufflePieces(ammoPieces);
    std::vector<Entity*> turns;
    for (std::size_t i = 0; i < hullPieces.size() || i < ammoPieces.size(); ++i) {
        if (i < hullPieces.size()) turns.push_back(hullPieces[i]);
        if (i < ammoPieces.size()) turns.push_back(ammoPieces[i]);
    }
    return destroyPieces(turns, maxExplosions);
}

float MultiEntity::destroyPieces(const std::vector<Entity*>& pieces, int maxExplosions) {
    float score = 0;
    int bursts = 0;
    for (Entity* piece : pieces) {
        if (bursts < maxExplosions) {
            explode(piece, PIECE_BURST);
            ++bursts;
        }
        score += piece->_score;
        delete piece;
    }
    return score;
}

// No sparks and no cover: every piece within reach of its curve takes the damage. A
// core that dies ends the bomb's work on this enemy; a hull bombed away does not blow
// the core up.
void MultiEntity::bomb(const Vector2<float>& center, Gradient<float>* hullDamage,
                       Gradient<float>* ammoDamage) {
    _hitScore = 0;
    if (_core && hullDamage) {
        const float d = bombDamage(_core, center, *hullDamage);
        _core->hit(d);
        if (_core->_hp <= 0 || (d > 0.01f && _coreOpen)) {
            _hitScore = _core->_score + _core->_score * _coreScoreFactor;
            destroyCore();
            return;
        }
    }
    std::list<HullEntity*> hullLost;
    std::list<AmmoEntity*> ammoLost;
    if (hullDamage) bombPieces(_hull, _hullCount, center, *hullDamage, hullLost);
    if (ammoDamage)
        for (AmmoGroup& group : _ammoGroups)
            bombPieces(group.ammo, group.ammoCount, center, *ammoDamage, ammoLost);
    _hitScore += destroyEntities(hullLost, ammoLost, blowupBursts);
}

float MultiEntity::bombDamage(const Entity* piece, const Vector2<float>& center,
                              const Gradient<float>& curve) const {
    const Vector2<float> p = absolute(piece);
    return curve.value(Pyrane::distance(p.x, p.y, center.x, center.y));
}

// Every piece takes its damage; those destroyed leave the list and the count for `lost`.
template <typename Piece>
void MultiEntity::bombPieces(std::list<Piece*>& pieces, int& count, const Vector2<float>& center,
                             const Gradient<float>& curve, std::list<Piece*>& lost) {
    for (auto it = pieces.begin(); it != pieces.end();) {
        Piece* piece = *it;
        piece->hit(bombDamage(piece, center, curve));
        if (piece->_hp > 0) {
            ++it;
            continue;
        }
        lost.push_back(piece);
        it = pieces.erase(it);
        --count;
    }
}

} // namespace Tarvex
