#pragma once
// A game in play for tests: started from the menu, driven by keys and fixed steps, with
// the picture read back, the effects that are sounding named, and enemy bullets placed
// by hand.
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "support/gamesession.h"

namespace TestSupport {

using Picture = std::vector<Pixel>;
using Region = Vell::AABB2<int>; // max corner excluded

// Which pixels of the region are the grey level v: on the grey field only the ship and
// the text shadows are black (0), only text, bullets and icons white (255).
std::vector<bool> mask(const Picture& picture, Region r, int v);
long count(const Picture& picture, Region r, int v);
// The grey level of one pixel of the picture; -1 when it is not grey.
int grey(const Picture& picture, int x, int y);

struct Text {
    std::string text;
    Vector2<float> pos;
    Pyrane::Renderer2D::align h = Pyrane::Renderer2D::LEFT, v = Pyrane::Renderer2D::TOP;
    Pyrane::Font* font = nullptr; // the small font when null
};

// The region shows white pixels, exactly those of the texts printed in white on their
// own on a cleared field.
void expectPrinted(const Picture& shown, Region r, std::initializer_list<Text> texts);

// The names of the effects sounding now.
std::multiset<std::string> effectsPlaying();

class PlayTest : public GameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void step(double dt, int times = 1);
    // Ends the blinking start: the ship shows steadily and without its shield.
    void steadyShip();
    Vector2<float> shipPos() { return play._player._ship.pos(); }
    bool inPlay() { return game.currentState() == &play; }
    // An enemy bullet, a 2 x 2 box with its collision box fitted, at pos, moving at vel.
    Tarvex::Entity* enemyBullet(const Vector2<float>& pos,
                                const RadVector2<float>& vel = RadVector2<float>());
    // Leaves the field to the test: no enemies, and the supply adds none until the test
    // ends.
    void quietField();
    // Runs one frame and names the effects it started.
    std::multiset<std::string> stepHearing(double dt);

    Tarvex::StatePlay& play = Tarvex::statePlay;

private:
    Gradient<float> _refillLevel;
};

} // namespace TestSupport
