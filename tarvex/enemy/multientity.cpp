#include "tarvex/enemy/multientity.h"

#include <cstdint>

#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"

namespace Tarvex {

std::list<Entity*>* MultiEntity::_firedBullets = nullptr;
std::list<Explosion*>* MultiEntity::_explosions = nullptr;
Pyrane::Sprite* MultiEntity::_player = nullptr;
RandGenerator MultiEntity::_rand;

namespace {

using Key = Pyrane::Timeline<float>::Keyframe;

// A new piece at its offset, with its colour, values and collision box. Pieces are
// animated this once, for the sprite's derived state, and never again: they move only
// with the enemy.
template <typename Piece>
Piece* makePiece(Pyrane::Image* image, float x, float y, const RGBA<float>& color, float hitPoints,
                 float damage, float score) {
    Piece* piece = new Piece;
    piece->image(image);
    piece->pos(x, y);
    piece->color(color);
    piece->_hp = hitPoints;
    piece->_damage = damage;
    piece->_score = score;
    piece->animate(0.0);
    piece->calcBbox();
    return piece;
}

// The open core flashes through four greys as its flash curve rises and falls.
RGBA<float> flashColor(float v) {
    if (v < 0.25f) return {0, 0, 0, 1};
    if (v < 0.5f) return {0.4f, 0.4f, 0.4f, 1};
    if (v < 0.75f) return {0.75f, 0.75f, 0.75f, 1};
    return {1, 1, 1, 1};
}

} // namespace

MultiEntity::MultiEntity() {
    _coreFlash.targetObject(_coreFlashValue);
    _coreFlash.addKey(Key(0.0, 0, Pyrane::Timeline<float>::ABSOLUTE));
    _coreFlash.addKey(Key(0.05, 1, Pyrane::Timeline<float>::ABSOLUTE));
    _coreFlash.addKey(Key(0.1, 0, Pyrane::Timeline<float>::ABSOLUTE));
    // The draw truncated to a whole number; its low 32 bits seed the table.
    const auto seed = static_cast<std::int64_t>(_rand(-10000, 10000));
    _powerupDrop.seed(static_cast<std::uint32_t>(seed));
    // The table is never empty, whatever a design adds.
    _powerupDrop.addValue(Powerup::None, 0.0001f);
    newAmmoGroup();
}

MultiEntity::~MultiEntity() {
    clear();
}

void MultiEntity::addHull(Pyrane::Image* image, float x, float y, float hitPoints, float score) {
    _hull.push_back(makePiece<HullEntity>(image, x, y, _hullColor, hitPoints, 0, score));
    ++_hullCount;
}

void MultiEntity::addAmmo(Pyrane::Image* image, float x, float y, float hitPoints, float damage,
                          float score, float priority) {
    AmmoEntity* piece = makePiece<AmmoEntity>(image, x, y, _ammoColor, hitPoints, damage, score);
    piece->priority = priority;
    AmmoGroup& group = _ammoGroups.back();
    group.ammo.push_back(piece);
    ++group.ammoCount;
}

void MultiEntity::addCore(Pyrane::Image* image, float x, float y, float hitPoints, double openTime,
                          double closedTime, float score) {
    delete _core;
    _core = makePiece<Entity>(image, x, y, _hullColor, hitPoints, 0, score);
    _coreOpenTime = openTime;
    _coreClosedTime = closedTime;
    _coreOpen = false;
    _coreTimer = 0;
}

int MultiEntity::newAmmoGroup() {
    _ammoGroups.emplace_back();
    return static_cast<int>(_ammoGroups.size()) - 1;
}

FireScript& MultiEntity::fireScript() {
    return _ammoGroups.back().script;
}

void MultiEntity::clear() {
    for (AmmoGroup& group : _ammoGroups) {
        for (AmmoEntity* piece : group.ammo)
            delete piece;
        group.ammo.clear();
        group.ammoCount = 0;
    }
    for (HullEntity* piece : _hull)
        delete piece;
    _hull.clear();
    _hullCount = 0;
    if (_core) {
        delete _core;
        _core = nullptr;
        _coreOpen = false;
        _coreTimer = 0;
    }
}

void MultiEntity::animate(double dt) {
    // A script has no position of its own until a SetPos runs, which in every design
    // is its second command: it starts where the enemy was placed, so that a new enemy
    // never shows at the field's origin for its first frame.
    if (_age == 0) _moveScript._pos = _pos;
    _age += dt;
    _pos += _vel * static_cast<float>(dt);
    _moveScript.step(dt);
    // The drift moves the enemy only once its script has finished.
    if (!_moveScript._finished) _pos = _moveScript._pos;
    if (_core) animateCore(dt);
    for (AmmoGroup& group : _ammoGroups)
        animateAmmoGroup(group, dt);
}

// Both phase tests are strict, and the time past a phase's end counts in the next one.
// The flash runs on where the last open phase left it.
void MultiEntity::animateCore(double dt) {
    _coreTimer += dt;
    if (_coreOpen) {
        _coreFlash.animate(dt);
        _core->color(flashColor(_coreFlashValue));
        if (_coreTimer > _coreOpenTime) {
            _coreOpen = false;
            _coreTimer -= _coreOpenTime;
            _core->color(_hullColor);
        }
    } else if (_coreTimer > _coreClosedTime) {
        // The flash colours the core from the next frame on.
        _coreOpen = true;
        _coreTimer -= _coreClosedTime;
    }
}

void MultiEntity::draw() {
    Pyrane::Renderer2D* r = renderer();
    if (!r) return;
    r->pushMatrix();
    r->translate(_pos.x, _pos.y);
    for (HullEntity* piece : _hull)
        piece->draw();
    for (AmmoGroup& group : _ammoGroups)
        for (AmmoEntity* piece : group.ammo)
            piece->draw();
    if (_core) _core->draw();
    r->popMatrix();
}

Pyrane::Renderer2D* MultiEntity::renderer() const {
    auto rendererOf = [](const Entity* piece) -> Pyrane::Renderer2D* {
        return piece->image() ? &piece->image()->bitmap().renderer() : nullptr;
    };
    if (_core && rendererOf(_core)) return rendererOf(_core);
    for (const HullEntity* piece : _hull)
        if (rendererOf(piece)) return rendererOf(piece);
    for (const AmmoGroup& group : _ammoGroups)
        for (const AmmoEntity* piece : group.ammo)
            if (rendererOf(piece)) return rendererOf(piece);
    return nullptr;
}

} // namespace Tarvex
