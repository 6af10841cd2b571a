#include "support/playtest.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <span>

#include "common_classes/sound/sound.h"
#include "pyrane/font.h"

namespace TestSupport {

std::vector<bool> mask(const Picture& picture, Region r, int v) {
    std::vector<bool> m;
    for (int y = r.min.y; y < r.max.y; ++y)
        for (const auto& p : std::span(picture).subspan(y * 160 + r.min.x, r.size().x))
            m.push_back(p.r == v && p.g == v && p.b == v);
    return m;
}

long count(const Picture& picture, Region r, int v) {
    return std::ranges::count(mask(picture, r, v), true);
}

int grey(const Picture& picture, int x, int y) {
    const Pixel& p = picture[y * 160 + x];
    return p.r == p.g && p.g == p.b ? p.r : -1;
}

void expectPrinted(const Picture& shown, Region r, std::initializer_list<Text> texts) {
    Pyrane::Renderer2D& renderer = game.renderer;
    game.beginPicture();
    renderer.color(0.5f, 0.5f, 0.5f, 1);
    renderer.clear();
    renderer.color(1, 1, 1, 1);
    renderer.leading(-4);
    for (const Text& t : texts) {
        renderer.font(t.font ? *t.font : *game.smallFont);
        renderer.textAlign(t.h, t.v);
        renderer.print(t.text, t.pos, Vector2<float>(1, 1));
    }
    EXPECT_GT(count(shown, r, 255), 20);
    EXPECT_EQ(mask(shown, r, 255), mask(readPicture(renderer), r, 255));
}

std::multiset<std::string> effectsPlaying() {
    std::multiset<std::string> names;
    for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
        if (!Mix_Playing(channel)) continue;
        // An effect goes by its bare name; its numbered name holds the same sample.
        for (const auto& [name, sample] : Sound::soundLibrary)
            if (sample && sample == Mix_GetChunk(channel) && name.find('@') == std::string::npos)
                names.insert(name);
    }
    return names;
}

void PlayTest::SetUp() {
    GameTest::SetUp();
    game.play();
    keyUp(VK_LEFT); // a new game keeps the tilt an earlier one ended with
}

void PlayTest::TearDown() {
    if (_refillLevel.count() > 0) play._refillLevel = _refillLevel;
    GameTest::TearDown();
}

void PlayTest::quietField() {
    if (_refillLevel.count() == 0) _refillLevel = play._refillLevel;
    // The field is refilled when no more enemies are left than this level.
    play._refillLevel = Gradient<float>();
    play._refillLevel.addEntry(0, -1);
    play.clearEnemies();
    play.clearEnemyBullets();
}

void PlayTest::step(double dt, int times) {
    for (int i = 0; i < times; ++i) {
        play.dt = dt;
        play.frame();
    }
}

void PlayTest::steadyShip() {
    play._player.invulnerable(0);
    step(0.001);
}

Tarvex::Entity* PlayTest::enemyBullet(const Vector2<float>& pos, const RadVector2<float>& vel) {
    auto* bullet = new Tarvex::Entity;
    play._enemyBullets.push_back(bullet);
    bullet->image(game.image("box_2x2"));
    bullet->calcBbox();
    bullet->pos(pos);
    bullet->vel(vel);
    return bullet;
}

std::multiset<std::string> PlayTest::stepHearing(double dt) {
    Sound::stopAllSounds();
    step(dt);
    return effectsPlaying();
}

} // namespace TestSupport
