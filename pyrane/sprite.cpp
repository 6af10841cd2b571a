#include "pyrane/sprite.h"

#include <algorithm>

#include "pyrane/bitmap.h"
#include "pyrane/image.h"
#include "pyrane/renderer2d.h"

namespace Pyrane {

Sprite::~Sprite() {
    deleteChildren();
    parent(nullptr);
}

void Sprite::animate(double dt) {
    Sprite::animateLocal(dt);
}

void Sprite::draw() {
    drawLocal(true);
}

Sprite* Sprite::duplicate() const {
    Sprite* copy = new Sprite;
    copyTo(copy);
    return copy;
}

void Sprite::animateLocal(double dt) {
    const float fdt = float(dt);
    if (_imageRotationVelocity != 0) _imageRotation += _imageRotationVelocity * fdt;
    if (_imageScaleVelocity.x != 0 || _imageScaleVelocity.y != 0) {
        _imageScale += _imageScaleVelocity * fdt;
        _imageScale.x = std::max(_imageScale.x, 0.f);
        _imageScale.y = std::max(_imageScale.y, 0.f);
    }
    // The speed changes before the position; deceleration stops a sprite but never
    // turns it round.
    _vel.value = std::max(_vel.value + _accel * fdt, 0.f);
    _pos += _vel.toVector2() * fdt;
    _lifetime += fdt;
    _lifetrail += _vel.value * fdt;

    _posAbs = _parent ? _pos + _parent->_posAbs : _pos;
    // Children follow the position just computed. Stepping on before the call lets a
    // child leave the list while it is animated.
    for (auto it = _children.begin(); it != _children.end();) {
        Sprite* child = *it++;
        child->animate(dt);
    }
}

void Sprite::drawLocal(bool) {
    if (!_visible) return;
    if (!_drawChildrenAfterParent) drawChildren();
    drawSelf();
    if (_drawChildrenAfterParent) drawChildren();
}

void Sprite::drawSelf() {
    if (!_image) return;
    Renderer2D& renderer = _image->bitmap().renderer();
    renderer.color(_color);
    renderer.drawImage(*_image, _posAbs, _imageRotation, _imageScale.x, _imageScale.y);
}

void Sprite::drawChildren() {
    for (Sprite* child : _children)
        child->draw();
}

void Sprite::parent(Sprite* p) {
    if (_parent) {
        auto& siblings = _parent->_children;
        auto it = std::find(siblings.begin(), siblings.end(), this);
        if (it != siblings.end()) {
            siblings.erase(it);
            _parent = nullptr;
        }
    }
    _parent = p;
    if (p) p->_children.push_back(this);
}

void Sprite::deleteChildren() {
    while (!_children.empty()) {
        Sprite* child = _children.front();
        _children.pop_front();
        delete child;
    }
}

void Sprite::copyTo(Sprite* target) const {
    if (target == this) return;
    target->_pos = _pos;
    target->_vel = _vel;
    target->_accel = _accel;
    target->_image = _image;
    target->_color = _color;
    target->_visible = _visible;
    target->_imageRotation = _imageRotation;
    target->_imageRotationVelocity = _imageRotationVelocity;
    target->_imageScale = _imageScale;
    target->_imageScaleVelocity = _imageScaleVelocity;
    // Placed relative to the same parent, but not owned by it.
    target->_parent = _parent;
    target->_paused = _paused;
    target->_drawChildrenAfterParent = _drawChildrenAfterParent;

    target->deleteChildren();
    for (const Sprite* child : _children)
        child->duplicate()->parent(target);
}

} // namespace Pyrane
