#pragma once
// A power-up that a destroyed enemy leaves behind. For now only its kinds, which the
// enemies' drop tables name: the pick-up itself is added to this class.
#include "tarvex/entity.h"

namespace Tarvex {

class Powerup : public Entity {
public:
    // None drops nothing; Fire raises the weapon level; the bombs go off on pick-up.
    enum Type { None = 0, Fire = 1, BombWhite = 2, BombBlack = 3 };
};

} // namespace Tarvex
