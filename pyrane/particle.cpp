#include "pyrane/particle.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace Pyrane {

int Particle::_totalMaxCount = 10000;
int Particle::_totalFreeCount = 10000;

namespace {

// The slots and the free list: a ring of slot pointers taken at the head and handed
// back at the tail. Neither ever grows, so handing a slot back cannot fail.
struct Pool {
    explicit Pool(std::size_t size) : slots(size), ring(size) {
        for (std::size_t i = 0; i < size; ++i)
            ring[i] = &slots[i];
    }
    std::vector<Particle> slots;
    std::vector<Particle*> ring;
    std::size_t head = 0;
};

// Made on first use and never destroyed: systems that are globals themselves hand
// their particles back when they are destroyed at exit, whatever the order.
Pool& pool() {
    static Pool* state = [] {
        Pool* made = new Pool(std::size_t(std::max(Particle::_totalMaxCount, 0)));
        Particle::_totalFreeCount = int(made->slots.size());
        return made;
    }();
    return *state;
}

} // namespace

void* Particle::operator new(std::size_t) {
    Pool& p = pool();
    if (_totalFreeCount == 0)
        throw std::runtime_error("Out of particle memory. Increase Particle::_totalMaxCount");
    Particle* slot = p.ring[p.head];
    p.head = (p.head + 1) % p.ring.size();
    --_totalFreeCount;
    return slot;
}

void Particle::operator delete(void* slot) noexcept {
    if (!slot) return;
    Pool& p = pool();
    p.ring[(p.head + std::size_t(_totalFreeCount)) % p.ring.size()] = static_cast<Particle*>(slot);
    ++_totalFreeCount;
}

} // namespace Pyrane
