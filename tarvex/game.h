#pragma once
// The game object: the application window with the renderer, every picture, font and
// tune of the game, the settings and the screen mode. The whole game draws into the
// renderer's 160 x 100 picture (beginPicture); blowup() stretches that picture over
// the window or the screen.
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "common_classes/openglappmultistate.h"
#include "common_classes/settings/settings.h"
#include "pyrane/bitmapmanager.h"
#include "pyrane/pngwriter.h"
#include "pyrane/renderer2d.h"
#include "tarvex/recordstore.h"
#include "tarvex/replay/recorder.h"
#include "tarvex/playeroptions.h"

namespace Music {
struct Song;
}

namespace Pyrane {
class Bitmap;
class Font;
class Image;
class ImageSequence;
} // namespace Pyrane

namespace Tarvex {

class Game : public OpenglAppMultistate {
public:
    // The picture every state draws, in pixels.
    static constexpr int pictureWidth = 160;
    static constexpr int pictureHeight = 100;

    Game();
    // The pictures, sequences and fonts live as long as the game, that is until the
    // program ends.
    ~Game() override;

    // Loads settings, hiscore, sound, music, fonts and pictures, then enters the menu.
    void init() override;
    // Each frame after the first loads one piece of what init left for later.
    bool frame() override;
    // Loads at once whatever init left for later.
    void finishLoading();
    void close() override;
    // F5 and F6 step the screen mode down and up (wrapping) and save it; F12 takes a
    // screenshot. In play, the keyboard's keys reach the play state as the game's own
    // keys after the player's bindings, and losing the focus pauses (see loseFocus).
    // Every other message, repeated F5, F6 and F12 included, goes on to the current state.
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override;

    // Selects a screen mode, clamped to 1..5: windows of 160 x 100 times the mode for
    // 1 to 4, full screen at 640 x 480 with the picture letterboxed for 5.
    void screenSize(int n);
    int screenSize() const { return _screenSize; }

    void play();
    void menu();
    // The options screen, from the title menu; the title's music plays on.
    void options();
    // Where a game goes when it is left: a finished game whose score enters the table of
    // records asks for the player's initials; anything else goes back to the title menu.
    void leaveGame();
    // Starts the frame's picture: drawing goes into it, with the view on its 160 x 100
    // pixels.
    void beginPicture();
    // Stretches the picture over the window (pictureArea), black around it.
    void blowup();
    // Where the picture goes on a surface of width x height pixels in the current mode.
    Vell::AABB2<int> pictureArea(int width, int height) const;
    // Saves the picture of the frame drawn last, each pixel enlarged to a 4 x 4 block, as
    // a PNG file; false with the reason in `error`.
    bool savePicture(const std::string& file, std::string& error);
    // The picture of the frame drawn last (or drawn so far), bottom row first.
    Pyrane::Picture picture();
    // The images and sequences of the title, then those of play.
    void createTitleImages();
    void createPlayImages();
    // The named image of the game's table; a name the table lacks is an error that names it.
    Pyrane::Image* image(const std::string& name) const;
    // The named image sequence; a missing one is an error that names it.
    Pyrane::ImageSequence* sequence(const std::string& name) const;

    // Opens the audio device and loads the effects and the tunes. Without a device that
    // opens, the game goes on silently and says so once on standard error.
    void startSound();
    // Applies the player's options: loudness, vsync and, in mode 5, the kind of full screen.
    void applyOptions();
    // Writes the settings with the player's options to the settings file; a file that
    // cannot be written leaves them for this run only.
    void saveSettings();
    // Saves the picture of this frame, once drawn, as a screenshot (tarvex/screenshot.h)
    // and shows on the field for a second whether that worked.
    void takeScreenshot() { _screenshotDue = true; }

    void loadSettings();
    void loadHiscore();
    void saveHiscore();
    // Reads the table of records kept beside the hiscore, putting right what is damaged.
    void loadRecords();
    // Keeps the settings, the hiscore and the table of records in `folder` (see
    // Folders::playerData), which the first save makes when it is missing.
    void useDataFolder(const std::string& folder);
    // Makes the data folder, where the player's files are not kept beside the program,
    // before a save into it.
    void makeDataFolder() const;

    Pyrane::Renderer2D renderer;
    Pyrane::Font* font = nullptr;
    Pyrane::Font* smallFont = nullptr;
    bool paused = false;
    // A replay is showing: the game it shows was played before, so its score is no
    // hiscore of this player.
    bool replaying = false;
    // Shown in the status bar in place of the hiscore while a demo plays; else empty.
    std::string demoCaption;
    Pyrane::BitmapManager bitmapManager;
    std::map<std::string, Pyrane::Image*> images;
    std::map<std::string, Pyrane::ImageSequence*> sequences;
    // Title, game over, spare, play. The spare tune is never played, so it is never
    // loaded and stays null.
    std::array<Music::Song*, 4> songs{};
    Settings settings;
    PlayerOptions playerOptions;
    // Where screenshots go; found from the user's folders when empty.
    std::string screenshotFolder;
    std::string settingsFile = "data/kestrane.conf";
    std::string hiscoreFile = "data/kestrane.dat";
    // The folder of the table of records and the replays it keeps.
    std::string recordsFolder = "data";
    RecordStore records;
    // Records every game played, so that one entering the table keeps its replay.
    Recorder recorder{"", true};
    // The folder a save makes first when it is missing; empty to make none, so that a
    // missing data/ loses the save as it always did.
    std::string dataFolder;

private:
    // A finished game in play whose score enters the table of records goes on to the
    // initials screen; false, staying, for any other.
    bool askInitials();
    void keepRecordOnClose();
    void stepScreenSize(int n);
    void createFonts();
    // The window has lost the keyboard focus or been minimised: in play, every key of the
    // game is let go and the game pauses, all through key messages that a recording keeps.
    void loseFocus();
    // Saves the picture drawn so far when a screenshot is due, then draws the notice of
    // the last one over it while it lasts.
    void screenshotStep();
    void loadSong(int tune);
    // Loads the next piece that waits in _pendingLoads; false when none waits.
    bool loadNextPiece();
    Pyrane::Bitmap& activeBitmap(const std::string& file);
    void addImage(const std::string& name, Pyrane::Bitmap& bitmap, int x0, int y0, int x1, int y1,
                  int hotX, int hotY);

    std::deque<std::function<void()>> _pendingLoads;
    int _framesShown = 0;
    bool _effectsLoaded = false;
    bool _screenshotDue = false;
    std::string _notice;
    double _noticeTime = 0;

    int _screenSize = 4;
};

} // namespace Tarvex

extern Tarvex::Game game;
