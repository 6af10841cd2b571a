// What one frame of play costs in the busiest scene the game makes: 20 enemies of which
// 5 are carriers, the ship's top-level volley every frame, at least 300 enemy bullets, a
// black bomb every second and the explosions all that makes. The play state's logic and
// its drawing are timed apart; then the logic alone for 1 to 80 enemies, to show how it
// grows. The scene is the real started game with the real play state, kept at its
// busiest by topping it up between frames (outside the timed part).
// Run under a display (xvfb-run) with SDL_AUDIODRIVER=dummy: the game opens its window.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "common_classes/platform/platform.h"
#include "pyrane/particle.h"
#include "pyrane/renderer2d.h"
#include "tarvex/enemy/designs.h"
#include "tarvex/enemy/firescript.h"
#include "tarvex/enemy/movescript.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/explosion.h"
#include "tarvex/game.h"
#include "tarvex/stateplay.h"

namespace {

namespace fs = std::filesystem;
using Tarvex::MultiEntity;
using Tarvex::StatePlay;
using Clock = std::chrono::steady_clock;

constexpr double frameStep = 1.0 / 60;
constexpr int enemyBulletFloor = 300;
// Seconds of play run before timing starts, so that the enemies are spread over their
// flight and the explosions over their lives, as in a game going on.
constexpr int warmUpFrames = 300;

StatePlay& play = Tarvex::statePlay;

// The game started once, as the program starts it, in the build tree (which holds
// bitmaps/ and sound/ beside bench/), with settings and hiscore in a scratch folder so
// that nothing of the player's is read or written.
void startGame() {
    static const bool started = [] {
        const fs::path build = fs::path(Platform::programDirectory()) / "..";
        if (!fs::exists("bitmaps") && fs::exists(build / "bitmaps")) fs::current_path(build);
        static const fs::path data = [] {
            std::string pattern = (fs::temp_directory_path() / "kestrane-bench-XXXXXX").string();
            return fs::path(mkdtemp(pattern.data()));
        }();
        std::atexit([] { fs::remove_all(data); });
        game.settingsFile = (data / "kestrane.conf").string();
        game.hiscoreFile = (data / "kestrane.dat").string();
        Platform::setMessageReporter([](const std::string&, const std::string&) {});
        game.mainRenderingContext();
        game.init();
        return true;
    }();
    (void)started;
}

// The play state's logic of one frame: what StatePlay::frame() runs, in its order,
// without the drawing between.
void logicStep() {
    const double dt = play.dt;
    play._background1.animate(dt);
    play._background2.animate(dt);
    if (play._player._shotsPending > 0) {
        play.addBullet();
        play._player._shotsPending = 0;
    }
    play.animateBullets();
    play.animateBlasts();
    play.animateEnemies();
    play.supplyEnemies();
    play._timeSincePowerup += dt;
    play.animatePowerups();
    play.animateExplosions();
    play.animateEnemyBullets();
    play._player.animate(dt);
    Tarvex::Powerup::_playerPos = play._player._ship.pos();
    play.animateMessage();
    play.shootEnemies();
}

// The play state's drawing of one frame, in StatePlay::frame()'s order, until the
// renderer has finished the picture.
void drawStep() {
    Pyrane::Renderer2D& renderer = game.renderer;
    game.beginPicture();
    renderer.color(0.5f, 0.5f, 0.5f, 1);
    renderer.clear();
    renderer.textureFilter(Pyrane::Renderer2D::NEAREST);
    renderer.font(*game.font);
    renderer.color(1, 1, 1, 1);
    play._background1.draw();
    play._background2.draw();
    play.drawEntityList(play._bullets);
    play.drawBlasts();
    play.drawEnemies();
    play.drawPowerups();
    play.drawExplosions();
    play.drawEntityList(play._enemyBullets);
    play._player.draw();
    play.drawMessage();
    play.drawStatusBar();
    game.blowup();
    glFinish();
}

// The OpenGL work of one drawn frame, kept so that it can be done again without the
// game: every quad the renderer handed to OpenGL in a vertex array (its batches), with
// the texture bound, and every display list it called (an image drawn alone: a glyph, a
// backdrop tile), and every strip of vertices it drew one by one (a bomb's blast), with
// the matrices, colour and texture of the moment.
class FrameRecording {
public:
    struct Draw {
        GLuint texture = 0;
        GLuint list = 0;                // a display list
        GLenum mode = GL_QUADS;         // else the primitive of vertices
        bool immediate = false;         // glBegin .. glEnd with glVertex2f: x, y a vertex
        bool textured = true;
        std::vector<float> vertices;    // else a batch: s, t, r, g, b, a, x, y, z, w a vertex
        std::array<float, 16> projection{};
        std::array<float, 16> modelview{};
        std::array<float, 4> color{};
    };

    static FrameRecording* active;

    void start() {
        _draws.clear();
        _unknown = 0;
        active = this;
    }
    void stop() { active = nullptr; }

    void arrays(GLenum mode, GLint first, GLsizei count) {
        Draw draw;
        draw.texture = boundTexture();
        if (mode != GL_QUADS || !arrayIsBatch()) {
            ++_unknown;
            return;
        }
        const char* coords = static_cast<const char*>(pointer(GL_TEXTURE_COORD_ARRAY_POINTER));
        const char* colors = static_cast<const char*>(pointer(GL_COLOR_ARRAY_POINTER));
        const char* vertices = static_cast<const char*>(pointer(GL_VERTEX_ARRAY_POINTER));
        GLint stride = 0;
        glGetIntegerv(GL_VERTEX_ARRAY_STRIDE, &stride);
        for (GLsizei i = first; i < first + count; ++i) {
            const auto* st = reinterpret_cast<const float*>(coords + i * stride);
            const auto* rgba = reinterpret_cast<const float*>(colors + i * stride);
            const auto* xyzw = reinterpret_cast<const float*>(vertices + i * stride);
            draw.vertices.insert(draw.vertices.end(), st, st + 2);
            draw.vertices.insert(draw.vertices.end(), rgba, rgba + 4);
            draw.vertices.insert(draw.vertices.end(), xyzw, xyzw + 4);
        }
        _draws.push_back(std::move(draw));
    }

    void list(GLuint name) {
        Draw draw = withState();
        draw.list = name;
        _draws.push_back(std::move(draw));
    }

    void begin(GLenum mode) {
        Draw draw = withState();
        draw.immediate = true;
        draw.mode = mode;
        draw.textured = glIsEnabled(GL_TEXTURE_2D);
        _draws.push_back(std::move(draw));
        _inside = true;
    }
    void vertex(GLfloat x, GLfloat y) {
        if (_inside) _draws.back().vertices.insert(_draws.back().vertices.end(), {x, y});
    }
    void end() { _inside = false; }

    // The recorded draws, in their order, straight to OpenGL: vertex arrays already in
    // clip coordinates with identity matrices, display lists with their own.
    void replay() const;

    std::size_t quads() const {
        std::size_t n = 0;
        for (const Draw& draw : _draws)
            n += draw.list ? 1 : draw.immediate ? 0 : draw.vertices.size() / 40;
        return n;
    }
    std::size_t draws() const { return _draws.size(); }
    // Vertex arrays that were not the renderer's batches: not recorded.
    int unknownDraws() const { return _unknown; }

private:
    Draw withState() const {
        Draw draw;
        draw.texture = boundTexture();
        glGetFloatv(GL_PROJECTION_MATRIX, draw.projection.data());
        glGetFloatv(GL_MODELVIEW_MATRIX, draw.modelview.data());
        glGetFloatv(GL_CURRENT_COLOR, draw.color.data());
        return draw;
    }

    static GLuint boundTexture() {
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return GLuint(name);
    }
    static void* pointer(GLenum which) {
        void* at = nullptr;
        glGetPointerv(which, &at);
        return at;
    }
    // The renderer's batches: clip coordinates (4 floats), texture coordinates and colours
    // from arrays of one stride.
    static bool arrayIsBatch() {
        GLint size = 0;
        glGetIntegerv(GL_VERTEX_ARRAY_SIZE, &size);
        return size == 4 && glIsEnabled(GL_COLOR_ARRAY) && glIsEnabled(GL_TEXTURE_COORD_ARRAY);
    }

    std::vector<Draw> _draws;
    int _unknown = 0;
    bool _inside = false;
};

FrameRecording* FrameRecording::active = nullptr;

// OpenGL's own entry points (the ...Real functions), for the calls this program takes
// over below.
template <typename Function>
Function realGl(const char* name) {
    void* found = dlsym(RTLD_NEXT, name);
    if (!found) std::abort();
    return reinterpret_cast<Function>(found);
}

void glDrawArraysReal(GLenum mode, GLint first, GLsizei count) {
    static const auto real = realGl<void (*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    real(mode, first, count);
}

void glCallListReal(GLuint list) {
    static const auto real = realGl<void (*)(GLuint)>("glCallList");
    real(list);
}

void glBeginReal(GLenum mode) {
    static const auto real = realGl<void (*)(GLenum)>("glBegin");
    real(mode);
}

void glVertex2fReal(GLfloat x, GLfloat y) {
    static const auto real = realGl<void (*)(GLfloat, GLfloat)>("glVertex2f");
    real(x, y);
}

void glEndReal() {
    static const auto real = realGl<void (*)()>("glEnd");
    real();
}

void FrameRecording::replay() const {
    // The renderer's own state is left as it was: it keeps track of the bound texture
    // and the colour, and its matrices hold the view.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    GLuint bound = 0;
    bool identity = false;
    glEnable(GL_TEXTURE_2D);
    for (const Draw& draw : _draws) {
        if (draw.texture != bound) glBindTexture(GL_TEXTURE_2D, bound = draw.texture);
        if (draw.list || draw.immediate) {
            glMatrixMode(GL_PROJECTION);
            glLoadMatrixf(draw.projection.data());
            glMatrixMode(GL_MODELVIEW);
            glLoadMatrixf(draw.modelview.data());
            glColor4fv(draw.color.data());
            identity = false;
            if (draw.list) {
                glCallListReal(draw.list);
                continue;
            }
            if (!draw.textured) glDisable(GL_TEXTURE_2D);
            glBeginReal(draw.mode);
            for (std::size_t i = 0; i + 1 < draw.vertices.size(); i += 2)
                glVertex2fReal(draw.vertices[i], draw.vertices[i + 1]);
            glEndReal();
            glEnable(GL_TEXTURE_2D);
            continue;
        }
        if (!identity) {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            identity = true;
        }
        const GLsizei stride = 10 * sizeof(float);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_VERTEX_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, draw.vertices.data());
        glColorPointer(4, GL_FLOAT, stride, draw.vertices.data() + 2);
        glVertexPointer(4, GL_FLOAT, stride, draw.vertices.data() + 6);
        glDrawArraysReal(GL_QUADS, 0, GLsizei(draw.vertices.size() / 10));
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glBindTexture(GL_TEXTURE_2D, GLuint(game.renderer.boundTexture()));
    const RGBA<float>& color = game.renderer.color();
    glColor4f(color.r, color.g, color.b, color.a);
}

int particlesInUse() {
    return Pyrane::Particle::_totalMaxCount - Pyrane::Particle::_totalFreeCount;
}

// A game in play kept at its busiest: `enemies` on the field of which a quarter are
// carriers, the others the other regular kinds in turn, and enemy bullets topped up to
// enemyBulletFloor; the ship sweeps the field at the top weapon level firing every frame
// and a black bomb goes off at the ship every second.
class Scene {
public:
    explicit Scene(int enemies) : _enemies(enemies), _carriers(enemies / 4) {
        startGame();
        // The same game every run: the generators start from fixed seeds.
        play._rand.seed(18);
        MultiEntity::_rand.seed(18);
        Tarvex::FireScript::_rand.seed(18);
        Tarvex::MoveScript::_rand.seed(18);
        game.play();
        // The scene's own supply replaces the game's: no refills, no boss.
        play._refillLevel = Gradient<float>();
        play._refillLevel.addEntry(0, -1);
        play._bossDue = INT_MAX;
        play._player.invulnerable(0);
        play.dt = frameStep;
        for (int i = 0; i < warmUpFrames; ++i) {
            prepare();
            logic();
        }
        _peakParticles = 0;
    }
    ~Scene() { play.clearField(); }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Between frames: replaces the enemies and bullets that died or left, steers the ship
    // and queues its volley.
    void prepare() {
        std::erase_if(_carrierList, [](MultiEntity* carrier) {
            return std::find(play._enemies.begin(), play._enemies.end(), carrier) ==
                   play._enemies.end();
        });
        while (int(_carrierList.size()) < _carriers)
            _carrierList.push_back(play.addEnemy(Tarvex::buildEnemy3));
        void (*const others[])(MultiEntity&) = {Tarvex::buildEnemy1, Tarvex::buildEnemy2,
                                                Tarvex::buildEnemy4};
        while (int(play._enemies.size()) < _enemies)
            play.addEnemy(others[_nextKind++ % 3]);
        while (play._enemyBullets.size() < std::size_t(enemyBulletFloor))
            addEnemyBullet();

        _time += frameStep;
        play._player._ship.pos(80 + 70 * float(std::sin(_time * 1.5)), 16);
        // A lost shield comes back at once, so the volley stays the top level's and the
        // ship never dies.
        play._player._power = play._player._maxPower;
        play._player._shotsPending = 1;
        play._lives = 2;
    }

    // Part of the frame's logic: the black bomb that the ship would have picked up.
    void bombIfDue() {
        _sinceBomb += frameStep;
        if (_sinceBomb < 1.0) return;
        _sinceBomb = 0;
        play.blackBomb(play._player._ship.pos());
    }

    // The frame's logic, with the bomb when it falls due.
    void logic() {
        bombIfDue();
        logicStep();
    }

    // After a timed step: the figures the counters average or keep the peak of.
    void tally() {
        _peakParticles = std::max(_peakParticles, particlesInUse());
        ++_frames;
        _enemyCount += double(play._enemies.size());
        _enemyBulletCount += double(play._enemyBullets.size());
        _bulletCount += double(play._bullets.size());
        _explosionCount += double(play._explosions.size());
    }

    void report(benchmark::State& state) {
        const double frames = std::max(1.0, double(_frames));
        state.counters["particles_peak"] = _peakParticles;
        state.counters["enemies"] = _enemyCount / frames;
        state.counters["enemy_bullets"] = _enemyBulletCount / frames;
        state.counters["ship_bullets"] = _bulletCount / frames;
        state.counters["explosions"] = _explosionCount / frames;
        _frames = 0;
        _enemyCount = _enemyBulletCount = _bulletCount = _explosionCount = 0;
    }

    int enemies() const { return _enemies; }

private:
    void addEnemyBullet() {
        std::uniform_real_distribution<float> x(0, 160), y(0, 100), angle(0, 6.283f), speed(20, 60);
        auto* bullet = new Tarvex::Entity;
        bullet->image(game.image("box_2x2"));
        bullet->calcBbox();
        bullet->pos(Vector2<float>(x(_random), y(_random)));
        bullet->vel(RadVector2<float>(speed(_random), angle(_random)));
        play._enemyBullets.push_back(bullet);
    }

    int _enemies;
    int _carriers;
    std::vector<MultiEntity*> _carrierList;
    int _nextKind = 0;
    std::mt19937 _random{18};
    double _time = 0;
    double _sinceBomb = 0;
    int _peakParticles = 0;
    long _frames = 0;
    double _enemyCount = 0, _enemyBulletCount = 0, _bulletCount = 0, _explosionCount = 0;
};

// One scene at a time, kept while the benchmarks that use its size run, so that the
// benchmark library's repeated calls do not warm it up again.
Scene& scene(int enemies) {
    static std::unique_ptr<Scene> current;
    if (!current || current->enemies() != enemies) {
        current.reset();
        current = std::make_unique<Scene>(enemies);
    }
    return *current;
}

// Times one part of each frame: the wall clock (the benchmark's time), and as counters
// the CPU time of this thread (the game's logic runs on it alone, so this figure holds
// even on a busy machine) and of the whole process (which adds the GL driver's
// rasterizer threads and the sound mixer's).
class Stopwatch {
public:
    void start() {
        _wall = Clock::now();
        _thread = threadCpuSeconds();
        _process = processCpuSeconds();
    }
    void stop(benchmark::State& state) {
        const double wall = std::chrono::duration<double>(Clock::now() - _wall).count();
        state.SetIterationTime(wall);
        _wallTotal += wall;
        _threadTotal += threadCpuSeconds() - _thread;
        _processTotal += processCpuSeconds() - _process;
    }
    void report(benchmark::State& state) const {
        using benchmark::Counter;
        state.counters["thread_cpu_us"] = Counter(_threadTotal * 1e6, Counter::kAvgIterations);
        state.counters["process_cpu_us"] = Counter(_processTotal * 1e6, Counter::kAvgIterations);
    }
    double wallTotal() const { return _wallTotal; }
    double threadTotal() const { return _threadTotal; }

private:
    static double threadCpuSeconds() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
    }
    static double processCpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

    Clock::time_point _wall;
    double _thread = 0, _process = 0;
    double _wallTotal = 0, _threadTotal = 0, _processTotal = 0;
};

// Frame after frame of the scene: its top-up, then the untimed part of the frame, then
// the timed one.
template <typename Untimed, typename Timed>
Stopwatch runFrames(benchmark::State& state, Scene& s, Untimed untimed, Timed timed) {
    Stopwatch watch;
    for (auto _ : state) {
        s.prepare();
        untimed();
        watch.start();
        timed();
        watch.stop(state);
        s.tally();
    }
    s.report(state);
    watch.report(state);
    return watch;
}

// The logic of the busiest frame, the bomb included when it falls due.
void BM_WorstFrameLogic(benchmark::State& state) {
    Scene& s = scene(20);
    runFrames(
        state, s, [] {}, [&] { s.logic(); });
}
BENCHMARK(BM_WorstFrameLogic)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The drawing of the busiest frame, until the picture is finished (the buffer swap that
// shows it is not included).
void BM_WorstFrameDraw(benchmark::State& state) {
    Scene& s = scene(20);
    runFrames(
        state, s, [&] { s.logic(); }, drawStep);
}
BENCHMARK(BM_WorstFrameDraw)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Only the OpenGL work of the drawing of the busiest frame: each frame is drawn once
// untimed with its draws recorded (FrameRecording), then the recorded draws are done
// again straight to OpenGL, into the same picture, stretched over the window in the
// same way, until the renderer has finished. What the game and the renderer do on the
// processor to find and transform the quads is left out: the floor under
// BM_WorstFrameDraw that this renderer reaches whatever the game's code does.
void BM_WorstFrameDrawFloor(benchmark::State& state) {
    Scene& s = scene(20);
    FrameRecording recording;
    double quads = 0, draws = 0, unknown = 0;
    // The first frame done again must give the picture the game drew, to the pixel.
    std::vector<std::uint8_t> drawn;
    runFrames(
        state, s,
        [&] {
            if (drawn.size() > 1 && game.renderer.readPicture() != drawn)
                state.SkipWithError("the recorded draws give another picture than the game's");
            s.logic();
            recording.start();
            drawStep();
            recording.stop();
            if (drawn.empty()) drawn = game.renderer.readPicture();
            else drawn = {1}; // compared once
            quads += double(recording.quads());
            draws += double(recording.draws());
            unknown += recording.unknownDraws();
        },
        [&] {
            game.beginPicture();
            game.renderer.color(0.5f, 0.5f, 0.5f, 1);
            game.renderer.clear();
            recording.replay();
            game.blowup();
            glFinish();
        });
    const double frames = std::max(1.0, double(state.iterations()));
    state.counters["quads"] = quads / frames;
    state.counters["draws"] = draws / frames;
    state.counters["unrecorded_draws"] = unknown / frames;
}
BENCHMARK(BM_WorstFrameDrawFloor)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The whole frame as the main loop runs it: StatePlay::frame() and the buffer swap.
void BM_WorstFrameWhole(benchmark::State& state) {
    Scene& s = scene(20);
    runFrames(
        state, s, [] {},
        [&] {
            s.bombIfDue();
            play.frame();
            Platform::swapBuffers(game.hwnd());
        });
}
BENCHMARK(BM_WorstFrameWhole)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The logic for a growing number of enemies in the same scene. us_per_enemy (wall) and
// cpu_us_per_enemy (this thread's CPU) staying level or falling means the cost grows no
// faster than the number of enemies.
void BM_LogicScaling(benchmark::State& state) {
    const int enemies = int(state.range(0));
    Scene& s = scene(enemies);
    const Stopwatch watch = runFrames(
        state, s, [] {}, [&] { s.logic(); });
    state.SetComplexityN(enemies);
    const double frames = double(state.iterations()) * enemies;
    state.counters["us_per_enemy"] = watch.wallTotal() * 1e6 / frames;
    state.counters["cpu_us_per_enemy"] = watch.threadTotal() * 1e6 / frames;
}
BENCHMARK(BM_LogicScaling)
    ->Arg(1)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Arg(40)
    ->Arg(80)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

} // namespace

// While a frame is recorded, the renderer's draws reach the recording on their way to
// OpenGL: this program's own definitions of these entry points take the place of the
// GL library's in every call the game makes.
extern "C" {
void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    if (FrameRecording::active) FrameRecording::active->arrays(mode, first, count);
    glDrawArraysReal(mode, first, count);
}
void glCallList(GLuint list) {
    if (FrameRecording::active) FrameRecording::active->list(list);
    glCallListReal(list);
}
void glBegin(GLenum mode) {
    if (FrameRecording::active) FrameRecording::active->begin(mode);
    glBeginReal(mode);
}
void glVertex2f(GLfloat x, GLfloat y) {
    if (FrameRecording::active) FrameRecording::active->vertex(x, y);
    glVertex2fReal(x, y);
}
void glEnd() {
    if (FrameRecording::active) FrameRecording::active->end();
    glEndReal();
}
}
