#pragma once
// The game's enemies as data: each design fills a freshly made enemy with its pieces,
// ammo groups, fire scripts, movement script and power-up drops. Images come from the
// game's table by name.
namespace Pyrane {
class Image;
}

namespace Tarvex {

class MultiEntity;

// rows x cols pieces, row by row: row r at y + r * dy, column k of it at x + k * dx.
void hullArray(MultiEntity& e, Pyrane::Image* image, float x, float y, int cols, int rows, float dx,
               float dy, float hitPoints, float score);
// The same grid of ammo pieces, into the current group with priority 0.
void ammoArray(MultiEntity& e, Pyrane::Image* image, float x, float y, int cols, int rows, float dx,
               float dy, float hitPoints, float damage, float score);

// A cross with four aimed guns that flies down in widening laps.
void buildEnemy1(MultiEntity& e);
// A small box of four shots that falls straight through.
void buildEnemy2(MultiEntity& e);
// The armoured carrier: a core under 48 hull pieces and 96 shots fired in fans.
void buildEnemy3(MultiEntity& e);
// The rhombus that crosses the field from one side, stops and flies on.
void buildEnemy4(MultiEntity& e);
// The boss: a broad armoured hull with two groups of guns, swinging from side to side.
void buildBoss1(MultiEntity& e);

} // namespace Tarvex
