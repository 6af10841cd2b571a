#pragma once
// The engine's scene node: a position with a polar velocity and an acceleration, an
// image with its own rotation and scale, a colour, and owned children placed relative
// to it. The owner calls animate(dt) and draw() on top-level sprites every frame.
#include <list>

#include "common_classes/radvector2.h"
#include "common_classes/rgba.h"
#include "common_classes/vector2.h"

namespace Pyrane {

class Image;

class Sprite {
public:
    Sprite() = default;
    // Deletes the children and leaves the parent's list.
    virtual ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    virtual void animate(double dt);
    virtual void draw();
    // A new sprite of the same kind with the same state and copies of the children.
    virtual Sprite* duplicate() const;

    void animateLocal(double dt);
    void drawLocal(bool);
    void copyTo(Sprite* target) const;

    // Moves this sprite to the end of p's children (p owns it from then on); null
    // detaches it and hands ownership to the caller.
    void parent(Sprite* p);
    Sprite* parent() const { return _parent; }
    const std::list<Sprite*>& children() const { return _children; }
    void deleteChildren();

    void image(Image* image) { _image = image; }
    Image* image() const { return _image; }
    void pos(const Vector2<float>& pos) { _pos = pos; }
    void pos(float x, float y) { _pos.set(x, y); }
    const Vector2<float>& pos() const { return _pos; }
    void posBy(const Vector2<float>& d) { _pos += d; }
    void posBy(float dx, float dy) { _pos += Vector2<float>(dx, dy); }
    void posAbs(const Vector2<float>& pos) { _posAbs = pos; }
    const Vector2<float>& posAbs() const { return _posAbs; }
    void vel(const RadVector2<float>& vel) { _vel = vel; }
    void vel(float value, float angle) { _vel = RadVector2<float>(value, angle); }
    const RadVector2<float>& vel() const { return _vel; }
    void velBy(const RadVector2<float>& d) { _vel += d; }
    void accel(float accel) { _accel = accel; }
    float accel() const { return _accel; }
    void color(const RGBA<float>& color) { _color = color; }
    void color(float r, float g, float b, float a) { _color.set(r, g, b, a); }
    const RGBA<float>& color() const { return _color; }
    void alpha(float a) { _color.a = a; }
    float alpha() const { return _color.a; }
    void visible(bool visible) { _visible = visible; }
    bool visible() const { return _visible; }
    void imageRotation(float r) { _imageRotation = r; }
    float imageRotation() const { return _imageRotation; }
    void imageRotationVelocity(float v) { _imageRotationVelocity = v; }
    float imageRotationVelocity() const { return _imageRotationVelocity; }
    void imageScale(const Vector2<float>& s) { _imageScale = s; }
    const Vector2<float>& imageScale() const { return _imageScale; }
    void imageScaleVelocity(const Vector2<float>& v) { _imageScaleVelocity = v; }
    const Vector2<float>& imageScaleVelocity() const { return _imageScaleVelocity; }
    void drawChildrenAfterParent(bool after) { _drawChildrenAfterParent = after; }
    bool drawChildrenAfterParent() const { return _drawChildrenAfterParent; }
    // A paused sprite's timelines stand still; motion and drawing go on.
    void pause(bool paused) { _paused = paused; }
    bool paused() const { return _paused; }
    float lifetime() const { return _lifetime; }
    float lifetrail() const { return _lifetrail; }

protected:
    Vector2<float> _pos;
    Vector2<float> _posAbs;
    RadVector2<float> _vel;
    float _accel = 0;
    Image* _image = nullptr;
    RGBA<float> _color{1, 1, 1, 1};
    bool _visible = true;
    float _imageRotation = 0;
    float _imageRotationVelocity = 0;
    Vector2<float> _imageScale{1, 1};
    Vector2<float> _imageScaleVelocity;
    Sprite* _parent = nullptr;
    std::list<Sprite*> _children;
    bool _drawChildrenAfterParent = false;
    bool _paused = false;

private:
    void drawSelf();
    void drawChildren();

    float _lifetime = 0;
    float _lifetrail = 0;
};

} // namespace Pyrane
