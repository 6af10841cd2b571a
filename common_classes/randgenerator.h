#pragma once
// The program's pseudo-random generator: 32-bit MT19937, results scaled to [0, 1].
#include <cstdint>
#include <random>

class RandGenerator {
public:
    // The seed of a generator that nobody seeded.
    static constexpr std::uint32_t defaultSeed = 5489u;

    RandGenerator() : _mt(defaultSeed) {}

    void seed(unsigned long s) { _mt.seed(static_cast<std::uint32_t>(s)); }
    // Uniform over [0, 1], both ends included.
    double rand() { return static_cast<double>(_mt()) / 4294967295.0; }
    // Between a and b inclusive, in either order.
    double rand(double a, double b) { return rand() * (b - a) + a; }
    double operator()(double a, double b) { return rand(a, b); }

private:
    std::mt19937 _mt;
};
