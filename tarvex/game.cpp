#include "tarvex/game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <ctime>
#include <iostream>
#include <stdexcept>

#include "common_classes/folders.h"
#include "common_classes/sound/music.h"
#include "common_classes/sound/sound.h"
#include "pyrane/bitmap.h"
#include "pyrane/font.h"
#include "pyrane/image.h"
#include "pyrane/imagesequence.h"
#include "pyrane/pngwriter.h"
#include "tarvex/background.h"
#include "tarvex/blast.h"
#include "tarvex/enemy/firescript.h"
#include "tarvex/enemy/movescript.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/explosion.h"
#include "tarvex/hiscore.h"
#include "tarvex/stateinitials.h"
#include "tarvex/statemenu.h"
#include "tarvex/stateoptions.h"
#include "tarvex/stateplay.h"

Tarvex::Game game;

namespace Tarvex {

namespace {

// The full-screen layout: the picture fills 640 x 400 of a 640 x 480 screen.
constexpr int fullWidth = 640;
constexpr int fullHeight = 480;
constexpr int fullPictureHeight = 400;

enum Tune { titleTune, gameOverTune, spareTune, playTune };

const char* const songFiles[] = {"sound/believe.xm", "sound/madhat.xm", "sound/hchh.xm",
                                 "sound/ddisz.xm"};
const int songVolumes[] = {70, 95, 40, 50};

// Each character's position is its glyph's index in the font picture.
const char* const fontCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                   "0123456789-=][';,./\\~!#%^&*()_+{}\":<>?|$ ";
const char* const smallFontCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                        "0123456789.,:;!?_()*/+-=\"'&@ ";

struct ImageCut {
    const char* name;
    const char* bitmap;
    int x0, y0, x1, y1;
    int hotX, hotY;
};

const ImageCut fixedImages[] = {
    {"player", "player.png", 0, 0, 9, 9, 4, 4},
    {"player_tilt", "player.png", 0, 0, 9, 9, 4, 4},
    {"shield", "shield.png", 0, 0, 16, 16, 8, 8},
    {"bullet", "bullet.png", 0, 0, 2, 2, 1, 1},
    {"box_1x1", "full32x32.png", 0, 0, 1, 1, 0, 0},
    {"box_1x2", "full32x32.png", 0, 0, 1, 2, 0, 1},
    {"box_1x4", "full32x32.png", 0, 0, 1, 4, 0, 2},
    {"box_2x1", "full32x32.png", 0, 0, 2, 1, 1, 0},
    {"box_2x2", "full32x32.png", 0, 0, 2, 2, 1, 1},
    {"box_3x2", "full32x32.png", 0, 0, 3, 2, 1, 1},
    {"box_2x3", "full32x32.png", 0, 0, 2, 3, 1, 1},
    {"box_3x3", "full32x32.png", 0, 0, 3, 3, 1, 1},
    {"box_4x2", "full32x32.png", 0, 0, 4, 2, 2, 1},
    {"box_2x4", "full32x32.png", 0, 0, 2, 4, 1, 2},
    {"box_1x12", "full32x32.png", 0, 0, 1, 12, 0, 6},
    {"box_4x4", "full32x32.png", 0, 0, 4, 4, 2, 2},
    {"box_16x16", "full32x32.png", 0, 0, 16, 16, 8, 8},
    // Crosses centred on pixel 16 with half-size h: from 16 - h - 1 to 16 + h.
    {"cross_2_4x4", "cross_2.png", 12, 12, 19, 19, 3, 3},
    {"cross_1_4x4", "cross_1.png", 12, 12, 19, 19, 3, 3},
    {"cross_1_2x2", "cross_1.png", 14, 14, 17, 17, 3, 3},
};

const char* const sequenceBitmaps[][2] = {
    {"bomb_black", "bomb_black.png"},
    {"bomb_white", "bomb_white.png"},
    {"pow_fire", "pow_fire.png"},
};

} // namespace

Game::Game() try : OpenglAppMultistate("Kestrane", 640, 400, false), bitmapManager(renderer) {
    Background::_renderer = &renderer;
    Blast::_renderer = &renderer;
} catch (const std::exception& e) {
    startupFailed(e);
}

Game::~Game() {
    for (auto& [name, image] : images)
        delete image;
    for (auto& [name, sequence] : sequences) {
        sequence->destroyImages();
        delete sequence;
    }
    delete font;
    delete smallFont;
}

// Only what the title draws and plays loads before its first frame: the rest waits in
// _pendingLoads and loads a piece a frame from the second frame on (see frame), well
// before a player can start a game; a game started earlier loads what is left first. A
// missing or broken file among them stops the program as it does at start-up.
void Game::init() {
    loadSettings();
    loadHiscore();
    loadRecords();
    observer(&recorder);

    startSound();

    // The copy out of the back buffer stays the way where framebuffers are missing, and
    // can be asked for to compare the two or to get round a driver's faulty framebuffers.
    renderer.picture(pictureWidth, pictureHeight, !std::getenv("KESTRANE_NO_FRAMEBUFFER"));
    createFonts();
    createTitleImages();
    // Enemies fire into the play state's bullets, explode into its explosions and aim
    // at its ship.
    MultiEntity::_firedBullets = &statePlay._enemyBullets;
    MultiEntity::_explosions = &statePlay._explosions;
    MultiEntity::_player = &statePlay._player._ship;

    _pendingLoads = {
        [this] {
            Sound::loadSounds("sound");
            _effectsLoaded = true;
        },
        [this] { loadSong(gameOverTune); },
        [this] { loadSong(playTune); },
        [this] { createPlayImages(); },
    };
    _framesShown = 0;
    menu();

    // The enemies' scripts take new random waits and paths in every run.
    const auto now = static_cast<unsigned long>(std::time(nullptr));
    FireScript::_rand.seed(now);
    MoveScript::_rand.seed(now);
}

bool Game::frame() {
    // The first frame shows the title as soon as it can; every later one loads a piece.
    if (_framesShown++ > 0) loadNextPiece();
    return OpenglAppMultistate::frame();
}

void Game::finishLoading() {
    while (loadNextPiece()) {
    }
}

bool Game::loadNextPiece() {
    if (_pendingLoads.empty()) return false;
    auto load = std::move(_pendingLoads.front());
    _pendingLoads.pop_front();
    load();
    return true;
}

void Game::loadSong(int tune) {
    songs[tune] = Music::loadSong(songFiles[tune]);
    Music::setMasterVolume(songs[tune], songVolumes[tune]);
}

void Game::startSound() {
    try {
        Sound::setupFmodSound();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrane: no audio device could be opened (%s): playing without "
                             "sound\n", e.what());
    }
    // Started again, the sound loads anew what it held: closing it freed every tune (a
    // pointer to one would be left dangling) and every effect.
    for (int tune = 0; tune < int(songs.size()); ++tune)
        if (tune == titleTune || songs[tune]) loadSong(tune);
    if (_effectsLoaded) Sound::loadSounds("sound");
    applyOptions();
}

void Game::close() {
    keepRecordOnClose();
    // A window closed on the options screen keeps the options changed there.
    if (currentState() == &stateOptions) saveSettings();
    Sound::closeFmodSound();
}

// The window closed (or the program was told to end) during a game's statistics or while
// its initials are asked for: the game is kept as if it had been left, with the initials
// shown, which on the statistics are those offered first.
void Game::keepRecordOnClose() {
    if (currentState() == &statePlay) askInitials();
    if (currentState() == &stateInitials) stateInitials.keep();
}

void Game::createFonts() {
    font = new Pyrane::Font("bitmaps/font.png", fontCharacters, 5, 16, 0, renderer, true);
    smallFont =
        new Pyrane::Font("bitmaps/font_small.png", smallFontCharacters, 5, 16, 0, renderer, true);
}

Pyrane::Bitmap& Game::activeBitmap(const std::string& file) {
    return bitmapManager.get(file)->activate();
}

void Game::addImage(const std::string& name, Pyrane::Bitmap& bitmap, int x0, int y0, int x1,
                    int y1, int hotX, int hotY) {
    images[name] =
        new Pyrane::Image(bitmap, Vell::AABB2<int>(x0, y0, x1, y1), Vector2<int>(hotX, hotY), true);
}

// The logo and the backdrop's tiles, which the title draws.
void Game::createTitleImages() {
    addImage("logo", activeBitmap("logo_black.png"), 0, 0, 118, 38, 59, 19);
    Pyrane::Bitmap& back = activeBitmap("background.png");
    for (int i = 1; i <= 6; ++i) {
        addImage("back_10_" + std::to_string(i), back, 10 * (i - 1), 0, 10 * i, 10, 0, 0);
        addImage("back_10_" + std::to_string(i) + "b", back, 10 * (i - 1), 10, 10 * i, 20, 0, 0);
    }
    for (int i = 1; i <= 4; ++i)
        addImage("back_16_" + std::to_string(i), back, 16 * (i - 1), 20, 16 * i, 36, 0, 0);
    for (int i = 5; i <= 7; ++i)
        addImage("back_16_" + std::to_string(i), back, 16 * (i - 5), 36, 16 * (i - 4), 52, 0, 0);
}

// Everything else: the ship, bullets, enemies' pieces, power-ups and explosions.
void Game::createPlayImages() {
    for (const ImageCut& c : fixedImages)
        addImage(c.name, activeBitmap(c.bitmap), c.x0, c.y0, c.x1, c.y1, c.hotX, c.hotY);

    // The four quarters of a diamond of every size from 2 to 15, meeting at their hot
    // spots: a upper left, b upper right, c lower left, d lower right.
    Pyrane::Bitmap& rhomb = activeBitmap("rhomb.png");
    for (int n = 2; n <= 15; ++n) {
        int k = n + 1;
        std::string name = "rhomb_" + std::to_string(n) + "_";
        addImage(name + "a", rhomb, 0, 16, k, 16 + k, k, 0);
        addImage(name + "b", rhomb, 31 - k, 16, 32, 16 + k, 0, 0);
        addImage(name + "c", rhomb, 0, 15 - k, k, 15, k, k);
        addImage(name + "d", rhomb, 31 - k, 15 - k, 32, 15, 0, k);
    }

    for (const auto& s : sequenceBitmaps)
        sequences[s[0]] = new Pyrane::ImageSequence(activeBitmap(s[1]), 16, 16, 0, 0, 4);

    Explosion::_particleImages = {image("box_1x1"), image("box_2x2"), image("cross_1_2x2")};
    statePlay._player._ship.image(image("player"));
    statePlay._player._shield.image(image("shield"));
}

Pyrane::Image* Game::image(const std::string& name) const {
    auto it = images.find(name);
    if (it == images.end() || !it->second)
        throw std::runtime_error("the game has no image \"" + name + "\"");
    return it->second;
}

Pyrane::ImageSequence* Game::sequence(const std::string& name) const {
    auto it = sequences.find(name);
    if (it == sequences.end() || !it->second)
        throw std::runtime_error("the game has no image sequence \"" + name + "\"");
    return it->second;
}

void Game::screenSize(int n) {
    _screenSize = std::clamp(n, 1, 5);
    if (_screenSize == 5) {
        desktopFullscreen(playerOptions.desktopFullScreen);
        resolution(fullWidth, fullHeight);
        fullscreen(true);
        cursor(false);
    } else {
        fullscreen(false);
        resolution(pictureWidth * _screenSize, pictureHeight * _screenSize);
        cursor(true);
    }
}

bool Game::message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) {
    if (msg == WM_KILLFOCUS) {
        loseFocus();
        return false;
    }
    if (msg == WM_KEYDOWN && !(lParam & KEY_PREVIOUSLY_DOWN)) {
        if (wParam == VK_F12) {
            takeScreenshot();
            return true;
        }
        if (wParam == VK_F5) {
            stepScreenSize(_screenSize <= 1 ? 5 : _screenSize - 1);
            return true;
        }
        if (wParam == VK_F6) {
            stepScreenSize(_screenSize >= 5 ? 1 : _screenSize + 1);
            return true;
        }
    }
    const bool key = msg == WM_KEYDOWN || msg == WM_KEYUP;
    if (key && currentState() == &statePlay) {
        const std::optional<unsigned int> own = playerOptions.playKey(wParam, lParam);
        if (!own) return true;
        wParam = *own;
    }
    return OpenglAppMultistate::message(hwnd, msg, wParam, lParam);
}

// A mode chosen with the keys is kept for the next start; a settings file that
// cannot be written leaves it for this run only.
void Game::stepScreenSize(int n) {
    screenSize(n);
    settings["screenSize"] = _screenSize;
    makeDataFolder();
    settings.save(settingsFile);
}

void Game::saveSettings() {
    playerOptions.write(settings);
    makeDataFolder();
    settings.save(settingsFile);
}

void Game::play() {
    finishLoading();
    Music::stopAllSongs();
    Music::playSong(songs[playTune]);
    currentState(&statePlay);
}

void Game::menu() {
    Music::stopAllSongs();
    Music::playSong(songs[titleTune]);
    currentState(&stateMenu);
}

void Game::leaveGame() {
    if (!askInitials()) menu();
}

bool Game::askInitials() {
    const StatePlay& play = statePlay;
    if (replaying || !play._gameOver || !records.table().enters(play._score)) return false;
    Record record;
    record.score = play._score;
    record.kills = play._statKills;
    record.accuracy = play._statAccuracy;
    record.coreHits = play._statCoreHits;
    record.date = recordDate(std::time(nullptr));
    stateInitials.ask(record);
    // The recording ends as the play state leaves.
    currentState(&stateInitials);
    return true;
}

void Game::beginPicture() {
    renderer.beginPicture();
}

Pyrane::Picture Game::picture() {
    return Pyrane::Picture{pictureWidth, pictureHeight, renderer.readPicture()};
}

bool Game::savePicture(const std::string& file, std::string& error) {
    return Pyrane::writePng(file, Pyrane::enlarge(picture(), 4), error);
}

void Game::blowup() {
    int width, height;
    Platform::drawableSize(hwnd(), width, height);
    screenshotStep();
    renderer.showPicture(width, height, pictureArea(width, height));
}

// The surface, which in full screen is the display's closest mode to 640 x 480: the
// 640 x 480 layout is scaled to it in proportion and centred, and the bars around the
// picture are black. Full screen at the desktop's own resolution shows the picture as
// large as it fits with its 16:10 shape kept. A window shows the picture over all of it.
Vell::AABB2<int> Game::pictureArea(int width, int height) const {
    if (_screenSize != 5) return Vell::AABB2<int>(0, 0, width, height);
    const bool desktop = desktopFullscreen();
    const double layoutWidth = desktop ? pictureWidth : fullWidth;
    const double layoutHeight = desktop ? pictureHeight : fullHeight;
    const double scale = std::min(width / layoutWidth, height / layoutHeight);
    const int w = static_cast<int>(std::lround(layoutWidth * scale));
    const int h = static_cast<int>(std::lround((desktop ? pictureHeight : fullPictureHeight) * scale));
    const int left = (width - w) / 2, bottom = (height - h) / 2;
    return Vell::AABB2<int>(left, bottom, left + w, bottom + h);
}

void Game::loadSettings() {
    settings.load(settingsFile, true);
    playerOptions.read(settings);
    if (settings.exists("screenSize")) screenSize(settings["screenSize"].intValue);
}

void Game::loadHiscore() {
    if (std::optional<float> saved = readHiscoreFile(hiscoreFile)) statePlay._hiscore = *saved;
}

void Game::saveHiscore() {
    makeDataFolder();
    writeHiscoreFile(hiscoreFile, statePlay._hiscore);
}

void Game::loadRecords() {
    records.open(recordsFolder, hiscoreFile, std::cerr, true);
}

void Game::useDataFolder(const std::string& folder) {
    dataFolder = folder;
    recordsFolder = folder;
    settingsFile = folder + "/kestrane.conf";
    hiscoreFile = folder + "/kestrane.dat";
}

// A folder that cannot be made fails the save that follows, silently like any other.
void Game::makeDataFolder() const {
    if (!dataFolder.empty()) Folders::make(dataFolder);
}

} // namespace Tarvex
