// What one frame of play costs in the busiest scene the game makes: 20 enemies of which
// 5 are carriers, the ship's top-level volley every frame, at least 300 enemy bullets, a
// black bomb every second and the explosions all that makes. The play state's logic and
// its drawing are timed apart; then the logic alone for 1 to 80 enemies, to show how it
// grows. The scene is the real started game with the real play state, kept at its
// busiest by topping it up between frames (outside the timed part).
// Run under a display (xvfb-run) with SDL_AUDIODRIVER=dummy: the game opens its window.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
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
#include "framerecording/framerecording.h"
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
            recording.replay(game.renderer);
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

