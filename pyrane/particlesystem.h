#pragma once
// An emitter sprite that owns a list of particles from the particle pool: it emits
// them at a rate with randomised start values (or a subclass appends them directly),
// moves them, lets them die by rule and draws them with one image. Every random range
// r stands for a value drawn uniformly from [-r, r] with Pyrane::random.
#include <list>

#include "pyrane/particle.h"
#include "pyrane/sprite.h"

namespace Pyrane {

class Image;
class Renderer2D;

class ParticleSystem : public virtual Sprite {
public:
    // Any other value removes no particle by rule; their owner removes them.
    enum ParticleDie { DIE_NEVER = 0, DIE_ALPHA = 1, DIE_LIFETIME = 3 };

    ParticleSystem() = default;
    // Hands every particle back to the pool.
    ~ParticleSystem() override;

    // The sprite part moves first, then the system emits and moves its particles.
    void animate(double dt) override;
    // The particles, then the sprite part with its own image and children.
    void draw() override;
    // A copy of the sprite part and the emitter, without particles.
    Sprite* duplicate() const override;
    void animateLocal(double dt);
    // Copies the emitter's settings only (not the sprite part); other hands back its
    // own particles first and starts with none, with nothing carried or counted.
    void copyTo(ParticleSystem* other) const;

    // Emits up to count particles at the emitter, fewer when a limit is reached.
    // Throws the pool's error when it runs out of slots.
    void createParticles(int count);
    void deleteParticles();
    // Also forgets how many were emitted, so a total limit starts again.
    void reset();

    const std::list<Particle*>& particles() const { return _particles; }
    unsigned int alive() const { return _alive; }
    unsigned int emitted() const { return _emitted; }

    void emissionRate(float perSecond) { _emissionRate = perSecond; }
    float emissionRate() const { return _emissionRate; }
    void particleImage(Image* image);
    Image* particleImage() const { return _particleImage; }

    // Random ranges are stored as absolute values, except those of the colour and
    // alpha forms that set only some channels.
    void particleVelocity(const RadVector2<float>& start, const RadVector2<float>& random);
    void particleVelocityInit(const RadVector2<float>& start) { _velocityInit = start; }
    void particleVelocityInitRand(const RadVector2<float>& random);
    const RadVector2<float>& particleVelocityInit() const { return _velocityInit; }
    const RadVector2<float>& particleVelocityInitRand() const { return _velocityInitRand; }

    void particleAcceleration(float accel, float random);
    void particleAcceleration(float accel) { _acceleration = accel; }
    void particleAccelerationRand(float random);
    float particleAcceleration() const { return _acceleration; }
    float particleAccelerationRand() const { return _accelerationRand; }

    void particleScale(const Vector2<float>& start, const Vector2<float>& random, bool proportional,
                       const Vector2<float>& velocity, const Vector2<float>& velocityRandom,
                       bool velocityProportional);
    void particleScaleInit(const Vector2<float>& start) { _scaleInit = start; }
    void particleScaleInitRand(const Vector2<float>& random);
    // Proportional: both axes from the x components, so particles keep their shape.
    void particleScaleProportional(bool proportional) { _scaleProportional = proportional; }
    void particleScaleVelocity(const Vector2<float>& velocity) { _scaleVelocity = velocity; }
    void particleScaleVelocityRand(const Vector2<float>& random);
    void particleScaleVelocityProportional(bool proportional) {
        _scaleVelocityProportional = proportional;
    }
    const Vector2<float>& particleScaleInit() const { return _scaleInit; }
    const Vector2<float>& particleScaleInitRand() const { return _scaleInitRand; }
    bool particleScaleProportional() const { return _scaleProportional; }
    const Vector2<float>& particleScaleVelocity() const { return _scaleVelocity; }
    const Vector2<float>& particleScaleVelocityRand() const { return _scaleVelocityRand; }
    bool particleScaleVelocityProportional() const { return _scaleVelocityProportional; }

    void particleRotation(float start, float random, float velocity, float velocityRandom);
    void particleRotationInit(float start) { _rotationInit = start; }
    void particleRotationInitRand(float random);
    void particleRotationVelocity(float velocity) { _rotationVelocity = velocity; }
    void particleRotationVelocityRand(float random);
    float particleRotationInit() const { return _rotationInit; }
    float particleRotationInitRand() const { return _rotationInitRand; }
    float particleRotationVelocity() const { return _rotationVelocity; }
    float particleRotationVelocityRand() const { return _rotationVelocityRand; }

    // A component above 1 spreads new particles by up to that much on its axis; 1 or
    // less places them exactly on the emitter.
    void particleSpawnScatter(const Vector2<float>& scatter) { _spawnScatter = scatter; }
    const Vector2<float>& particleSpawnScatter() const { return _spawnScatter; }

    void particleColor(const RGBA<float>& start, const RGBA<float>& random,
                       const RGBA<float>& velocity, const RGBA<float>& velocityRandom);
    // These set red, green and blue, or alpha alone, signs kept.
    void particleColorRGBInit(const RGBA<float>& c) { setRGB(_colorInit, c); }
    void particleColorRGBInitRand(const RGBA<float>& c) { setRGB(_colorInitRand, c); }
    void particleColorRGBVelocity(const RGBA<float>& c) { setRGB(_colorVelocity, c); }
    void particleColorRGBVelocityRand(const RGBA<float>& c) { setRGB(_colorVelocityRand, c); }
    void particleAlphaInit(float a) { _colorInit.a = a; }
    void particleAlphaInitRand(float a) { _colorInitRand.a = a; }
    void particleAlphaVelocity(float a) { _colorVelocity.a = a; }
    void particleAlphaVelocityRand(float a) { _colorVelocityRand.a = a; }
    const RGBA<float>& particleColorInit() const { return _colorInit; }
    const RGBA<float>& particleColorInitRand() const { return _colorInitRand; }
    const RGBA<float>& particleColorVelocity() const { return _colorVelocity; }
    const RGBA<float>& particleColorVelocityRand() const { return _colorVelocityRand; }

    void particleLifetime(float lifetime, float random);
    void particleLifetrail(float lifetrail, float random);
    float particleLifetime() const { return _lifetimeInit; }
    float particleLifetimeRand() const { return _lifetimeRand; }
    float particleLifetrail() const { return _lifetrailInit; }
    float particleLifetrailRand() const { return _lifetrailRand; }
    void particleDieMethod(ParticleDie rule) { _dieMethod = rule; }
    ParticleDie particleDieMethod() const { return _dieMethod; }
    // At most maxAlive particles at once and maxTotal since the last reset (0: no
    // limit). Particles not emitted because of a limit are dropped, not postponed.
    void particlesMaxCount(unsigned int maxAlive, unsigned int maxTotal) {
        _maxAlive = maxAlive;
        _maxTotal = maxTotal;
    }
    unsigned int maxAlive() const { return _maxAlive; }
    unsigned int maxTotal() const { return _maxTotal; }
    // Where particles start, relative to the system's absolute position.
    void emmiterOffset(const Vector2<float>& offset) { _emitterOffset = offset; }
    const Vector2<float>& emmiterOffset() const { return _emitterOffset; }

protected:
    float _emissionRate = 0;
    unsigned int _maxAlive = 100;
    unsigned int _maxTotal = 0;
    unsigned int _alive = 0;
    unsigned int _emitted = 0;
    Image* _particleImage = nullptr;
    RadVector2<float> _velocityInit;
    RadVector2<float> _velocityInitRand;
    Vector2<float> _scaleInit{1, 1};
    Vector2<float> _scaleInitRand;
    bool _scaleProportional = true;
    Vector2<float> _scaleVelocity;
    Vector2<float> _scaleVelocityRand;
    bool _scaleVelocityProportional = true;
    float _acceleration = 0;
    float _accelerationRand = 0;
    float _rotationInit = 0;
    float _rotationInitRand = 0;
    float _rotationVelocity = 0;
    float _rotationVelocityRand = 0;
    Vector2<float> _spawnScatter;
    RGBA<float> _colorInit{1, 1, 1, 1};
    RGBA<float> _colorInitRand;
    RGBA<float> _colorVelocity;
    RGBA<float> _colorVelocityRand;
    float _lifetimeInit = 1.0f;
    float _lifetimeRand = 0;
    float _lifetrailInit = 0;
    float _lifetrailRand = 0;
    ParticleDie _dieMethod = DIE_NEVER;
    Vector2<float> _emitterOffset;
    std::list<Particle*> _particles;
    float _emitCarry = 0;
    Renderer2D* _particleRenderer = nullptr;

private:
    static void setRGB(RGBA<float>& target, const RGBA<float>& c) {
        target.set(c.r, c.g, c.b, target.a);
    }
    // Moves one particle by dt; false when its death rule removes it.
    bool step(Particle& p, float dt) const;
};

} // namespace Pyrane
