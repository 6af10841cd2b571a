#include "tarvex/explosion.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "pyrane/functions.h"

namespace Tarvex {

std::vector<Pyrane::Image*> Explosion::_particleImages;

Explosion::Explosion(const Vector2<float>& pos, const RGBA<float>& color, int count, int image,
                     float speed, float acceleration, float duration)
    : _duration(duration) {
    if (image < 0 || std::size_t(image) >= _particleImages.size())
        throw std::runtime_error("no explosion particle image " + std::to_string(image));
    particleImage(_particleImages[std::size_t(image)]);
    this->pos(pos);
    // Appended directly, not emitted: the alive and emitted counts stay 0 and no death
    // rule applies; the particles live as long as the explosion.
    for (int i = 0; i < count && Pyrane::Particle::_totalFreeCount > 0; ++i) {
        std::unique_ptr<Pyrane::Particle> p(new Pyrane::Particle);
        p->pos = pos;
        p->color = color;
        p->vel = RadVector2<float>(speed, float(i) * (Pyrane::PI_2 / float(count)));
        p->accel = acceleration;
        _particles.push_back(p.get());
        p.release();
    }
}

} // namespace Tarvex
