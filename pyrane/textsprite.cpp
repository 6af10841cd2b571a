#include "pyrane/textsprite.h"

#include "pyrane/font.h"

namespace Pyrane {

void TextSprite::draw() {
    Sprite::drawLocal(true);
    TextSprite::drawLocal(true);
}

void TextSprite::drawLocal(bool) {
    if (!_textFont || !_visible) return;
    Renderer2D& renderer = _textFont->renderer();
    renderer.color(_textColor);
    renderer.font(*_textFont);
    renderer.textAlign(_textAlignH, _textAlignV);
    renderer.print(_text, _posAbs + _textOffset, _imageScale);
}

Sprite* TextSprite::duplicate() const {
    TextSprite* copy = new TextSprite;
    copyTo(copy);
    return copy;
}

void TextSprite::copyTo(TextSprite* target) const {
    if (target == this) return;
    TimelineSprite::copyTo(target);
    target->_text = _text;
    target->_textColor = _textColor;
    target->_textFont = _textFont;
    target->_textOffset = _textOffset;
    target->_textAlignH = _textAlignH;
    target->_textAlignV = _textAlignV;
    retarget(target, {&_textColor.r, &_textColor.g, &_textColor.b, &_textColor.a},
             {&target->_textColor.r, &target->_textColor.g, &target->_textColor.b,
              &target->_textColor.a});
}

void TextSprite::calculateBoundingBox() {
    if (!_textFont) return;
    Vector2<float> size;
    _textFont->renderer().getTextSize(&size, nullptr, _text, *_textFont, Vector2<float>(1, 1));
    const Vector2<float> centre = _posAbs + _textOffset;
    Vector2<float> half = size * 0.5f;
    // The anchor is the box's left, right, top or bottom edge, or its centre.
    Vector2<float> shift;
    if (_textAlignH == Renderer2D::LEFT) shift.x = half.x;
    if (_textAlignH == Renderer2D::RIGHT) shift.x = -half.x;
    if (_textAlignV == Renderer2D::TOP) shift.y = -half.y;
    if (_textAlignV == Renderer2D::BOTTOM) shift.y = half.y;
    const Vector2<float> min = centre - half + shift;
    const Vector2<float> max = centre + half + shift;
    _boundingBox.set(min.x, min.y, max.x, max.y);
}

const Vell::AABB2<float>& TextSprite::boundingBox() {
    calculateBoundingBox();
    return _boundingBox;
}

} // namespace Pyrane
