#pragma once
// A string in the sprite tree: it moves with the sprite, blinks through timelines on
// its text colour and is drawn on top of the sprite's own image and children.
#include <string>

#include "common_classes/aabb2.h"
#include "pyrane/renderer2d.h"
#include "pyrane/timelinesprite.h"

namespace Pyrane {

class Font;

class TextSprite : public virtual Sprite, public virtual TimelineSprite {
public:
    TextSprite() = default;

    void draw() override;
    Sprite* duplicate() const override;
    void drawLocal(bool);
    void copyTo(TextSprite* target) const;

    void text(const std::string& text) { _text = text; }
    const std::string& text() const { return _text; }
    void textFont(Font& font) { _textFont = &font; }
    Font* textFont() const { return _textFont; }
    void textColor(const RGBA<float>& color) { _textColor = color; }
    const RGBA<float>& textColor() const { return _textColor; }
    void textOffset(const Vector2<float>& offset) { _textOffset = offset; }
    const Vector2<float>& textOffset() const { return _textOffset; }
    void textAlign(Renderer2D::align horizontal, Renderer2D::align vertical) {
        _textAlignH = horizontal;
        _textAlignV = vertical;
    }
    Renderer2D::align textAlignH() const { return _textAlignH; }
    Renderer2D::align textAlignV() const { return _textAlignV; }
    // Drives the text's alpha, for blinking prompts.
    void timelineTextColorA(Timeline<float>& timeline) { setTimeline(_textColor.a, timeline); }

    // The screen box of the text at scale 1, from the sprite's absolute position.
    void calculateBoundingBox();
    const Vell::AABB2<float>& boundingBox();

protected:
    std::string _text;
    RGBA<float> _textColor{1, 1, 1, 1};
    Font* _textFont = nullptr;
    Vector2<float> _textOffset;
    Renderer2D::align _textAlignH = Renderer2D::LEFT;
    Renderer2D::align _textAlignV = Renderer2D::TOP;
    Vell::AABB2<float> _boundingBox;
};

} // namespace Pyrane
