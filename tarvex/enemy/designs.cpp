#include "tarvex/enemy/designs.h"

#include <array>
#include <utility>

#include "tarvex/enemy/multientity.h"
#include "tarvex/game.h"

namespace Tarvex {

namespace {

using namespace MoveCommand;
using namespace FireCommand;

template <typename Script, typename... Commands>
void commands(Script& script, const Commands&... c) {
    (script.command(c), ...);
}

Pyrane::Image* image(const char* name) {
    return game.image(name);
}

void drops(MultiEntity& e, float none, Powerup::Type a, float wa, Powerup::Type b, float wb,
           Powerup::Type c, float wc) {
    e._powerupDrop.addValue(Powerup::None, none);
    e._powerupDrop.addValue(a, wa);
    e._powerupDrop.addValue(b, wb);
    e._powerupDrop.addValue(c, wc);
}

} // namespace

void hullArray(MultiEntity& e, Pyrane::Image* image, float x, float y, int cols, int rows, float dx,
               float dy, float hitPoints, float score) {
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < cols; ++k)
            e.addHull(image, x + float(k) * dx, y + float(r) * dy, hitPoints, score);
}

void ammoArray(MultiEntity& e, Pyrane::Image* image, float x, float y, int cols, int rows, float dx,
               float dy, float hitPoints, float damage, float score) {
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < cols; ++k)
            e.addAmmo(image, x + float(k) * dx, y + float(r) * dy, hitPoints, damage, score, 0);
}

// Four aimed single shots in two pairs; the guns leave in the order listed. The cross
// comes down 45 units after a random wait and then flies a rectangle that takes it 20
// units lower each lap, until it leaves the field at the bottom.
void buildEnemy1(MultiEntity& e) {
    e.addHull(image("cross_1_4x4"), 0, 0, 8, 100);
    for (auto [x, y] : {std::pair{-4, -2}, {-4, 3}, {5, -2}, {5, 3}})
        e.addAmmo(image("box_2x2"), float(x), float(y), 1, 1, 10, 0);
    drops(e, 10, Powerup::BombBlack, 2, Powerup::BombWhite, 2, Powerup::Fire, 2);
    commands(e.fireScript(), Wait(2.5, 0.7), Repeat(2), Repeat(2), Fire(1, -1.57f, 0, 0, 60, true),
             Wait(0.2, 0.1), EndRepeat(), Wait(1.5, 0.7), EndRepeat());
    commands(e._moveScript, Velocity(0, 0, 10000, false), SetPos(80, 110, 80, 0, false),
             Wait(2.0, 1.5), Velocity(40, 5, 10000, false), Goto(0, -45, 0, 0, true), Repeat(100),
             Goto(-20, 0, 0, 0, true), Goto(0, -60, 0, 0, true), Goto(40, 0, 0, 0, true),
             Goto(0, 40, 0, 0, true), Goto(-20, 0, 0, 0, true), EndRepeat());
}

// Four shots straight down, then one straight flight down through the field.
void buildEnemy2(MultiEntity& e) {
    e.clear();
    for (auto [x, y] : {std::pair{-2, -2}, {-2, 0}, {0, 0}, {0, -2}})
        e.addAmmo(image("box_2x2"), float(x), float(y), 1, 1, 10, 0);
    e.addHull(image("box_4x2"), -1, 2, 1, 25);
    e.addHull(image("box_4x2"), -1, -4, 1, 25);
    e.addHull(image("box_2x4"), -4, -1, 1, 25);
    e.addHull(image("box_2x4"), 2, -1, 1, 25);
    commands(e.fireScript(), Wait(2.0, 0.7), Repeat(4), Fire(1, -1.57f, 0.1f, 0, 40, false),
             Wait(2.0, 0.7), EndRepeat());
    commands(e._moveScript, Velocity(20, 7, 10000, false), SetPos(80, 120, 140, 10, false),
             Goto(0, -125, 60, 0, true));
    drops(e, 100, Powerup::BombBlack, 3, Powerup::BombWhite, 6, Powerup::Fire, 3);
}

// Four blocks of armour and four of ammunition around the core, one slow descent, and
// bursts of three fans of four shots until the 96 pieces are spent.
void buildEnemy3(MultiEntity& e) {
    e.addCore(image("cross_2_4x4"), 0, 0, 25, 1.0, 4.0, 100);
    for (auto [x, y, dx, dy] :
         {std::array{-5, -2, -4, -3}, {6, -2, 4, -3}, {-5, 2, -4, 3}, std::array{6, 2, 4, 3}})
        hullArray(e, image("box_4x2"), float(x), float(y), 4, 3, float(dx), float(dy), 1, 10);
    for (auto [x, y, dx, dy] :
         {std::array{-4, -4, -2, -3}, {5, -4, 2, -3}, {-4, 3, -2, 3}, std::array{5, 3, 2, 3}})
        ammoArray(e, image("box_2x1"), float(x), float(y), 8, 3, float(dx), float(dy), 1, 1, 5);
    e.randomizeAmmo();
    commands(e._moveScript, Velocity(15, 5, 10000, false), SetPos(80, 130, 120, 10, false),
             Goto(0, -140, 60, 0, true));
    commands(e.fireScript(), Wait(1.0, 0.2), Repeat(100), Wait(2.4, 0.2), Repeat(3),
             Fire(4, -1.57f, 0.1f, 1, 40, false), Wait(1.0, 0.0), EndRepeat(), EndRepeat());
    drops(e, 10, Powerup::BombBlack, 3, Powerup::BombWhite, 3, Powerup::Fire, 6);
}

// It enters from the side that the enemies' generator picks, slows to a stop while a
// 3 s wait runs, then speeds up and flies out across the far side. Its four aimed shots
// take the pieces at (5, 0); those at (-5, 0) stay.
void buildEnemy4(MultiEntity& e) {
    for (const char* name : {"rhomb_9_a", "rhomb_9_b", "rhomb_9_c", "rhomb_9_d"})
        e.addHull(image(name), 0, 0, 8, 25);
    for (float x : {5.f, -5.f})
        for (const char* name : {"rhomb_3_a", "rhomb_3_b", "rhomb_3_c", "rhomb_3_d"})
            e.addAmmo(image(name), x, 0, 3, 1, 25, 0);
    e.addCore(image("box_2x2"), 0, 0, 1, 0.5, 2.0, 50);

    // The right side's script is the left one's mirror.
    const float side = MultiEntity::_rand(0, 1) < 0.5 ? 1 : -1;
    commands(e._moveScript, Velocity(30, 10, 10000, false),
             SetPos(side > 0 ? -10 : 170, 70, 0, 50, false), Goto(side * 70, 0, 30, 0, true),
             Velocity(0, 0, 20, false), Wait(3.0, 0.0), Velocity(30, 10, 20, false),
             Goto(side * 120, 0, 0, 0, true));
    commands(e.fireScript(), Wait(1.0, 0.2), Repeat(4), Fire(1, 0, 0, 0, 35, true), Wait(2.0, 0.4),
             EndRepeat());
    drops(e, 100, Powerup::Fire, 5, Powerup::BombWhite, 6, Powerup::BombBlack, 5);
}

// 71 hull pieces and no core; a group of 120 aimed shots and one of 23 fast bars
// straight down. It comes down to y 86, low enough that none of it lies under the status
// bar (the spare ships reach down to row 87), moves 30 left and then swings 60 units
// right and left with pauses. No drops: only the constructor's empty entry.
void buildBoss1(MultiEntity& e) {
    const float h = 5;
    const float s = 100;
    e.addHull(image("box_16x16"), -48, 0, h, s);
    hullArray(e, image("box_4x4"), -38, -22, 4, 4, 4, 4, h / 2, s / 4);
    e.addHull(image("rhomb_15_c"), -40, -8, h, s);
    e.addHull(image("rhomb_15_b"), -40, -8, h, s);
    hullArray(e, image("box_4x4"), -22, -38, 4, 4, 4, 4, h, s / 4);
    hullArray(e, image("box_4x4"), -6, -38, 4, 4, 4, 4, h, s / 4);
    e.addHull(image("box_16x16"), 48, 0, h, s);
    e.addHull(image("box_16x16"), 32, -16, h, s);
    e.addHull(image("rhomb_15_d"), 40, -8, h, s);
    e.addHull(image("rhomb_15_a"), 40, -8, h, s);
    hullArray(e, image("box_4x4"), 22, -38, 4, 4, -4, 4, h, s / 4);

    ammoArray(e, image("box_2x2"), -21, 0, 15, 8, 3, -3, 5, 1, 5);
    e.randomizeAmmo();
    commands(e.fireScript(), Wait(1.0, 0.2), Repeat(200), Fire(1, 0, 0, 0, 45, true),
             Wait(0.5, 0.1), EndRepeat());

    e.newAmmoGroup();
    ammoArray(e, image("box_1x12"), -22, -32, 23, 1, 2, 6, 20, 1, 5);
    e.randomizeAmmo();
    commands(e.fireScript(), Wait(1.0, 0.2), Repeat(200), Fire(1, -1.57f, 0, 0, 80, false),
             Wait(1.1, 0.2), EndRepeat());

    commands(e._moveScript, Velocity(30, 0, 10000, false), SetPos(80, 130, 0, 0, false),
             Goto(80, 86, 0, 0, false), Velocity(0, 0, 10000, false), Wait(1.0, 0.0),
             Velocity(30, 0, 10000, false), Goto(-30, 0, 0, 0, true), Repeat(100),
             Velocity(0, 0, 100000, false), Wait(2.0, 0.7), Velocity(100, 0, 10000, false),
             Goto(60, 0, 0, 0, true), Velocity(0, 0, 100000, false), Wait(2.0, 0.7),
             Velocity(100, 0, 10000, false), Goto(-60, 0, 0, 0, true), EndRepeat());
}

} // namespace Tarvex
