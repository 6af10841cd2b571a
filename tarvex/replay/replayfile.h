#pragma once
// The replay file: a recorded game as text, and its reader and writer. The reader takes
// a whole file's text and gives either the replay or the first fault with its line, so
// that a damaged or hostile file can never take the game down.
//
// The format, one record a line:
//   kestrane-replay 1
//   seeds move=N fire=N background=N play=N   the clock-seeded generators (0..4294967295)
//   paused 0|1                                  the pause switch as the game began
//   STEP KEY...                                 one frame: its key messages, then its step
//   check FRAME score=S lives=L ship=X,Y enemies=E bullets=B enemybullets=F
//   end KEY...                                  the messages after the last frame
// A frame's step is in seconds; each key is +NAME (pressed), *NAME (held, an auto-repeat)
// or -NAME (released), with the key names of common_classes/keynames.h. A check line
// follows every 60th frame and holds the game's state after it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Tarvex {

// The seeds of the generators that the game seeds from the clock.
struct GameSeeds {
    std::uint32_t moveScript = 0;
    std::uint32_t fireScript = 0;
    std::uint32_t background = 0;
    std::uint32_t play = 0;
    bool operator==(const GameSeeds&) const = default;
};

// A key message as the play state receives it.
struct KeyMessage {
    enum Kind { PRESS, REPEAT, RELEASE };
    Kind kind = PRESS;
    unsigned int key = 0;

    // The window message and its parameters, as the window sends them.
    unsigned int message() const;
    long lParam() const;
    // The key message of a window message; false for any other message.
    static bool from(unsigned int message, unsigned int wParam, long lParam, KeyMessage& key);
    bool operator==(const KeyMessage&) const = default;
};

struct ReplayFrame {
    double step = 0;
    std::vector<KeyMessage> keys; // delivered before the frame runs
    bool operator==(const ReplayFrame&) const = default;
};

// What the game looked like after a frame: what a replay compares to see that it still
// shows the game that was recorded.
struct GameCheck {
    int frame = 0; // counted from 1
    float score = 0;
    int lives = 0;
    float shipX = 0;
    float shipY = 0;
    int enemies = 0;
    int bullets = 0;
    int enemyBullets = 0;
    // Equal in every field; not-a-number equals not-a-number, so that a game gone wrong
    // still replays as recorded.
    bool operator==(const GameCheck& other) const;
};

struct Replay {
    // A check follows every this many frames.
    static constexpr int checkInterval = 60;

    GameSeeds seeds;
    bool paused = false;
    std::vector<ReplayFrame> frames;
    std::vector<GameCheck> checks; // in frame order, one for each frame that has one
    std::vector<KeyMessage> endKeys;
    bool operator==(const Replay&) const = default;
};

// The whole text of a replay file.
std::string writeReplay(const Replay& replay);

// The reader's answer: the replay, or the fault and the line it is on (from 1).
struct ReplayReading {
    Replay replay;
    int errorLine = 0;
    std::string error;
    bool ok() const { return error.empty(); }
};
ReplayReading readReplay(std::string_view text);

// Reads a replay file. On failure `error` says what is wrong, naming the file and, for a
// fault in its text, the line ("FILE:LINE: ...").
ReplayReading loadReplayFile(const std::string& path);

} // namespace Tarvex
