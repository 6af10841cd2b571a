#pragma once
// One particle: a plain record that a particle system moves and draws. Particles come
// from one program-wide pool of fixed slots, made on the first allocation, so that
// bursts of particles never allocate memory once the pool exists.
#include <cstddef>

#include "common_classes/radvector2.h"
#include "common_classes/rgba.h"
#include "common_classes/vector2.h"

namespace Pyrane {

struct Particle {
    // Absolute, in the space of the system's parent: a particle does not follow later
    // moves of its system.
    Vector2<float> pos;
    RadVector2<float> vel;
    float accel = 0;
    RGBA<float> color{1, 1, 1, 1};
    RGBA<float> colorVelocity;
    float rotation = 0;
    float rotationVelocity = 0;
    Vector2<float> scale{1, 1};
    Vector2<float> scaleVelocity;
    float lifetime = 0;
    float lifetrail = 0;
    float maxLifetime = 0;
    float maxLifetrail = 0;

    // Takes the first free slot. Throws std::runtime_error when every slot is in use,
    // leaving the pool as it was.
    static void* operator new(std::size_t size);
    // Hands the slot back to the end of the free list: slots are reused first in,
    // first out.
    static void operator delete(void* slot) noexcept;

    // The pool's size, read when the pool is made on the first allocation.
    static int _totalMaxCount;
    static int _totalFreeCount;
};

} // namespace Pyrane
