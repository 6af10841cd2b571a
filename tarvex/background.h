#pragma once
// One layer of the scrolling backdrop: rows of square tiles that move down the field
// and are made at random, row by row, as they come into view at the top.
#include <list>
#include <vector>

#include "common_classes/randgenerator.h"
#include "common_classes/rgba.h"
#include "common_classes/vector2.h"

namespace Pyrane {
class Image;
class Renderer2D;
} // namespace Pyrane

namespace Tarvex {

class Background {
public:
    struct Row {
        float y = 0;                // position in scroll space
        std::vector<float> xs;      // x of each tile
        std::vector<int> tileIndex; // image of each tile, parallel to xs
    };

    Background();

    // Forgets every row and scrolls back to the start; the tiles stay.
    void clear();
    // Scrolls by speed x dt and makes the rows that come into view.
    void animate(double dt);
    // Draws the rows dark grey, (0.3, 0.3, 0.3), or in 0.3 of a tint that is given,
    // moved down in whole-pixel steps. The colour is set here, whatever was current.
    void draw(const RGBA<float>& tint = RGBA<float>(1, 1, 1, 1));

    // The game's renderer, stored by the game object when it is built.
    static Pyrane::Renderer2D* _renderer;
    // The generator that lays out the rows, shared by every layer. Made on first use,
    // since layers are built during static initialisation.
    static RandGenerator& generator();

    float _speed = 70;
    Vector2<float> _offset;
    std::list<Row> _rows; // oldest (lowest) first
    int _rowCount = 0;
    int _tileSize = 10;
    std::vector<Pyrane::Image*> _tiles;
    int _tileCount = 0;

private:
    void addRow(float y);
};

} // namespace Tarvex
