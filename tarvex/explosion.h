#pragma once
// A burst of particles flying out in a ring from one point, slowing down and then
// standing, until the play state removes the whole explosion after its duration.
#include <vector>

#include "pyrane/particlesystem.h"

namespace Pyrane {
class Image;
}

namespace Tarvex {

class Explosion : public Pyrane::ParticleSystem {
public:
    // count particles at pos in color, particle i heading i x 6.28 / count radians at
    // speed, its speed changing by acceleration a second; image indexes
    // _particleImages. When the particle pool has fewer slots free, the explosion
    // takes those that are left rather than failing in the middle of play.
    Explosion(const Vector2<float>& pos, const RGBA<float>& color, int count, int image,
              float speed, float acceleration, float duration);

    // Seconds of the explosion's own time after which the play state removes it.
    float _duration;

    // The particle pictures, filled by the game at start-up: a one-pixel box, a
    // two-pixel box and a small cross.
    static std::vector<Pyrane::Image*> _particleImages;
};

} // namespace Tarvex
