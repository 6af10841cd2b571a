#include "tarvex/entity.h"

#include "pyrane/image.h"

namespace Tarvex {

bool Entity::collision(Entity* other, const Vector2<float>& offset) const {
    if (!_image || !other->_image) return false;
    return Pyrane::Image::collision(*_image, _pos + offset, *other->_image, other->_pos) != 0;
}

bool Entity::collisionWithBox(const Vell::AABB2<float>& box, const Vector2<float>& offset) const {
    return (_bbox + _pos + offset).intersects(box);
}

void Entity::calcBbox() {
    if (!_image) return;
    const Vector2<float> min(-float(_image->pivot().x), -float(_image->pivot().y));
    const Vector2<float> size(float(_image->size().x), float(_image->size().y));
    _bbox.set(min.x, min.y, min.x + size.x, min.y + size.y);
}

} // namespace Tarvex
