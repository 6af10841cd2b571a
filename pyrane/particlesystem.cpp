#include "pyrane/particlesystem.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "pyrane/bitmap.h"
#include "pyrane/functions.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"

namespace Pyrane {

namespace {

// A value from [-r, r].
float spread(float r) {
    return random(-r, r);
}

// One draw a statement: the order in which a call's arguments are evaluated is the
// compiler's choice, and a replay needs the same colours from every build.
RGBA<float> spread(const RGBA<float>& start, const RGBA<float>& r) {
    RGBA<float> d;
    d.r = spread(r.r);
    d.g = spread(r.g);
    d.b = spread(r.b);
    d.a = spread(r.a);
    return start + d;
}

// Both axes from the x components when proportional.
Vector2<float> spread(const Vector2<float>& start, const Vector2<float>& r, bool proportional) {
    const float dx = spread(r.x);
    if (proportional) return Vector2<float>(start.x + dx, start.x + dx);
    return Vector2<float>(start.x + dx, start.y + spread(r.y));
}

Vector2<float> absolute(const Vector2<float>& v) {
    return Vector2<float>(std::fabs(v.x), std::fabs(v.y));
}

} // namespace

ParticleSystem::~ParticleSystem() {
    deleteParticles();
}

void ParticleSystem::animate(double dt) {
    Sprite::animateLocal(dt);
    ParticleSystem::animateLocal(dt);
}

void ParticleSystem::animateLocal(double dt) {
    const float fdt = float(dt);
    _emitCarry += _emissionRate * fdt;
    if (_emitCarry >= 1) {
        // The fraction carries over to the next frame. The cap only keeps an absurd
        // step from overflowing the count; the alive limit stops far earlier.
        const float whole = std::floor(_emitCarry);
        _emitCarry -= whole;
        createParticles(int(std::min(whole, 1e9f)));
    }
    for (auto it = _particles.begin(); it != _particles.end();) {
        if (step(**it, fdt)) {
            ++it;
            continue;
        }
        delete *it;
        it = _particles.erase(it);
        // Particles a subclass appended were never counted as emitted ones.
        if (_alive > 0) --_alive;
    }
}

bool ParticleSystem::step(Particle& p, float dt) const {
    if (p.rotationVelocity != 0) p.rotation += p.rotationVelocity * dt;
    if (p.scaleVelocity.x != 0 || p.scaleVelocity.y != 0) {
        p.scale += p.scaleVelocity * dt;
        p.scale.x = std::max(p.scale.x, 0.f);
        p.scale.y = std::max(p.scale.y, 0.f);
    }
    // Deceleration stops a particle but never turns it round.
    p.vel.value = std::max(p.vel.value + p.accel * dt, 0.f);
    p.pos += p.vel.toVector2() * dt;
    p.color += p.colorVelocity * dt;
    p.lifetime += dt;
    p.lifetrail += p.vel.value * dt;
    if (_dieMethod == DIE_ALPHA) return p.color.a > 0;
    if (_dieMethod == DIE_LIFETIME) return p.lifetime < p.maxLifetime;
    return true;
}

void ParticleSystem::createParticles(int count) {
    for (int i = 0; i < count; ++i) {
        if (_alive >= _maxAlive || (_maxTotal != 0 && _emitted >= _maxTotal)) return;
        std::unique_ptr<Particle> p(new Particle);

        p->pos = _posAbs + _emitterOffset;
        if (_spawnScatter.x > 1) p->pos.x += spread(_spawnScatter.x);
        if (_spawnScatter.y > 1) p->pos.y += spread(_spawnScatter.y);
        p->vel = _velocityInit;
        p->vel.value += spread(_velocityInitRand.value);
        p->vel.angle += spread(_velocityInitRand.angle);
        p->accel = _acceleration + spread(_accelerationRand);
        p->scale = spread(_scaleInit, _scaleInitRand, _scaleProportional);
        p->scaleVelocity = spread(_scaleVelocity, _scaleVelocityRand, _scaleVelocityProportional);
        p->rotation = _rotationInit + spread(_rotationInitRand);
        p->rotationVelocity = _rotationVelocity + spread(_rotationVelocityRand);
        p->color = spread(_colorInit, _colorInitRand);
        p->colorVelocity = spread(_colorVelocity, _colorVelocityRand);
        p->maxLifetime = _lifetimeInit + spread(_lifetimeRand);
        p->maxLifetrail = _lifetrailInit + spread(_lifetrailRand);

        _particles.push_back(p.get());
        p.release();
        ++_alive;
        ++_emitted;
    }
}

void ParticleSystem::deleteParticles() {
    for (Particle* p : _particles)
        delete p;
    _particles.clear();
    _alive = 0;
}

void ParticleSystem::reset() {
    deleteParticles();
    _emitted = 0;
}

void ParticleSystem::draw() {
    if (_particleRenderer) {
        // One image for all: the particles go to OpenGL in one batch.
        ImageBatch batch(*_particleRenderer);
        for (const Particle* p : _particles) {
            _particleRenderer->color(p->color);
            _particleRenderer->drawImage(*_particleImage, p->pos, p->rotation, p->scale.x,
                                         p->scale.y);
        }
    }
    drawLocal(true);
}

Sprite* ParticleSystem::duplicate() const {
    ParticleSystem* copy = new ParticleSystem;
    Sprite::copyTo(copy);
    copyTo(copy);
    return copy;
}

void ParticleSystem::copyTo(ParticleSystem* other) const {
    if (other == this) return;
    // Particles belong to the system that made them; the copy's own go back to the
    // pool instead of being lost to it.
    other->deleteParticles();
    other->_emissionRate = _emissionRate;
    other->_maxAlive = _maxAlive;
    other->_maxTotal = _maxTotal;
    other->_particleImage = _particleImage;
    other->_velocityInit = _velocityInit;
    other->_velocityInitRand = _velocityInitRand;
    other->_scaleInit = _scaleInit;
    other->_scaleInitRand = _scaleInitRand;
    other->_scaleProportional = _scaleProportional;
    other->_scaleVelocity = _scaleVelocity;
    other->_scaleVelocityRand = _scaleVelocityRand;
    other->_scaleVelocityProportional = _scaleVelocityProportional;
    other->_acceleration = _acceleration;
    other->_accelerationRand = _accelerationRand;
    other->_rotationInit = _rotationInit;
    other->_rotationInitRand = _rotationInitRand;
    other->_rotationVelocity = _rotationVelocity;
    other->_rotationVelocityRand = _rotationVelocityRand;
    other->_spawnScatter = _spawnScatter;
    other->_colorInit = _colorInit;
    other->_colorInitRand = _colorInitRand;
    other->_colorVelocity = _colorVelocity;
    other->_colorVelocityRand = _colorVelocityRand;
    other->_lifetimeInit = _lifetimeInit;
    other->_lifetimeRand = _lifetimeRand;
    other->_lifetrailInit = _lifetrailInit;
    other->_lifetrailRand = _lifetrailRand;
    other->_dieMethod = _dieMethod;
    other->_emitterOffset = _emitterOffset;
    other->_particleRenderer = _particleRenderer;
    other->_emitCarry = 0;
    other->_alive = 0;
    other->_emitted = 0;
}

void ParticleSystem::particleImage(Image* image) {
    _particleImage = image;
    _particleRenderer = image ? &image->bitmap().renderer() : nullptr;
}

void ParticleSystem::particleVelocity(const RadVector2<float>& start,
                                      const RadVector2<float>& random) {
    particleVelocityInit(start);
    particleVelocityInitRand(random);
}

void ParticleSystem::particleVelocityInitRand(const RadVector2<float>& random) {
    _velocityInitRand = RadVector2<float>(std::fabs(random.value), std::fabs(random.angle));
}

void ParticleSystem::particleAcceleration(float accel, float random) {
    particleAcceleration(accel);
    particleAccelerationRand(random);
}

void ParticleSystem::particleAccelerationRand(float random) {
    _accelerationRand = std::fabs(random);
}

void ParticleSystem::particleScale(const Vector2<float>& start, const Vector2<float>& random,
                                   bool proportional, const Vector2<float>& velocity,
                                   const Vector2<float>& velocityRandom,
                                   bool velocityProportional) {
    particleScaleInit(start);
    particleScaleInitRand(random);
    particleScaleProportional(proportional);
    particleScaleVelocity(velocity);
    particleScaleVelocityRand(velocityRandom);
    particleScaleVelocityProportional(velocityProportional);
}

void ParticleSystem::particleScaleInitRand(const Vector2<float>& random) {
    _scaleInitRand = absolute(random);
}

void ParticleSystem::particleScaleVelocityRand(const Vector2<float>& random) {
    _scaleVelocityRand = absolute(random);
}

void ParticleSystem::particleRotation(float start, float random, float velocity,
                                      float velocityRandom) {
    particleRotationInit(start);
    particleRotationInitRand(random);
    particleRotationVelocity(velocity);
    particleRotationVelocityRand(velocityRandom);
}

void ParticleSystem::particleRotationInitRand(float random) {
    _rotationInitRand = std::fabs(random);
}

void ParticleSystem::particleRotationVelocityRand(float random) {
    _rotationVelocityRand = std::fabs(random);
}

void ParticleSystem::particleColor(const RGBA<float>& start, const RGBA<float>& random,
                                   const RGBA<float>& velocity, const RGBA<float>& velocityRandom) {
    auto absolute = [](const RGBA<float>& c) {
        return RGBA<float>(std::fabs(c.r), std::fabs(c.g), std::fabs(c.b), std::fabs(c.a));
    };
    _colorInit = start;
    _colorInitRand = absolute(random);
    _colorVelocity = velocity;
    _colorVelocityRand = absolute(velocityRandom);
}

void ParticleSystem::particleLifetime(float lifetime, float random) {
    _lifetimeInit = lifetime;
    _lifetimeRand = std::fabs(random);
}

void ParticleSystem::particleLifetrail(float lifetrail, float random) {
    _lifetrailInit = lifetrail;
    _lifetrailRand = std::fabs(random);
}

} // namespace Pyrane
