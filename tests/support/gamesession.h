#pragma once
// The game's start-up, run once for a test program that links the game (its global
// `game` is the program's window), and a fixture for tests of the started game: keys
// sent as the window sends them and the 160 x 100 picture the game shows read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/glwindow.h"
#include "tarvex/game.h"
#include "tarvex/statemenu.h"
#include "tarvex/stateplay.h"

namespace TestSupport {

// What the game looked like right after its start-up.
struct Startup {
    int screenSize, width, height;
    float hiscore;
    OpenglAppMultistate::State* state;
    bool musicPlaying;
};

// Runs game.init() once, in a scratch folder that stays the working directory: it
// links the build tree's bitmaps/ and sound/ and has a data/ of its own holding the
// settings file "volume 7", "screenSize 2", "name "a b"" and the hiscore bytes
// 00 00 48 42, so tests never touch build/data/.
const Startup& startGame();

// A key message sent to the game object as the window sends it.
void pressKey(unsigned int key, bool repeat = false);
void releaseKey(unsigned int key);

// A test of the started game, unpaused with the default options in window mode 4 and in
// the menu; the hiscore is put back afterwards.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static void keyDown(unsigned int key, bool repeat = false);
    static void keyUp(unsigned int key);
    // The game's 160 x 100 picture, rows from the bottom up, read back from wherever
    // the renderer draws it.
    static std::vector<Pixel> readPicture();

    // Every message box the game showed during the test, as "title: text".
    std::vector<std::string> messageBoxes;

private:
    float _hiscore = 0;
};

} // namespace TestSupport
