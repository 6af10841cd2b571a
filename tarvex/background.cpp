#include "tarvex/background.h"

#include <cmath>
#include <ctime>

#include "pyrane/renderer2d.h"

namespace Tarvex {

// Rows are made until they reach this far above the scroll offset: the field's height.
constexpr float viewHeight = 100;
constexpr int fieldWidth = 160;

Pyrane::Renderer2D* Background::_renderer = nullptr;

RandGenerator& Background::generator() {
    static RandGenerator generator;
    return generator;
}

Background::Background() {
    generator().seed(static_cast<unsigned long>(std::time(nullptr)));
}

void Background::clear() {
    _rows.clear();
    _rowCount = 0;
    _offset.set(0, 0);
}

void Background::animate(double dt) {
    _offset.y += _speed * static_cast<float>(dt);

    float nextY;
    if (_rows.empty()) {
        nextY = static_cast<float>(static_cast<int>(_offset.y / _tileSize) * _tileSize);
    } else {
        if (_offset.y + viewHeight < _rows.back().y) return;
        nextY = _rows.back().y + _tileSize;
    }
    do {
        addRow(nextY);
        nextY += _tileSize;
    } while (nextY <= _offset.y + viewHeight);
}

// About half the cells get a tile; image 0 takes the draws beyond the last image, so
// it has 6 chances in tileCount + 5 against 1 for each other image.
void Background::addRow(float y) {
    int columns = fieldWidth / _tileSize;
    Row row;
    row.y = y;
    for (int column = 0; column < columns; ++column) {
        if (generator().rand(0, 1) <= 0.5) continue;
        row.xs.push_back(static_cast<float>(column * _tileSize));
        int k = static_cast<int>(generator().rand(0, _tileCount + 5));
        if (k > _tileCount - 1) k = 0;
        row.tileIndex.push_back(k);
    }
    _rows.push_back(std::move(row));
    ++_rowCount;
    while (_rowCount > columns + 1) {
        _rows.pop_front();
        --_rowCount;
    }
}

void Background::draw(const RGBA<float>& tint) {
    _renderer->color(tint.r * 0.3f, tint.g * 0.3f, tint.b * 0.3f, tint.a);
    _renderer->pushMatrix();
    _renderer->translate(-_offset.x, -std::trunc(_offset.y));
    for (const Row& row : _rows) {
        for (std::size_t i = 0; i < row.xs.size(); ++i) {
            // A layer given fewer images than its tile count leaves those cells empty.
            std::size_t tile = static_cast<std::size_t>(row.tileIndex[i]);
            if (tile >= _tiles.size()) continue;
            _renderer->drawImage(*_tiles[tile], Vector2<float>(row.xs[i], row.y), 0, 1, 1);
        }
    }
    _renderer->popMatrix();
}

} // namespace Tarvex
