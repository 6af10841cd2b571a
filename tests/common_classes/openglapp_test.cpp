// The application frame against a real SDL window and GL context under the
// virtual display: the main loop's message budget, quitting, key messages, the
// cursor and the display given back.
#include "common_classes/openglappmultistate.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/command.h"
#include "support/glwindow.h"

namespace {

constexpr unsigned int WM_TEST = 0x0400;

// Takes every message that is already waiting, so a test starts from an empty queue.
void drainMessages() {
    Platform::Message m;
    while (Platform::peekMessage() && Platform::getMessage(m)) {
    }
}

// A window of its own whose start, frames and messages a test scripts.
class ScriptedApp : public OpenglAppMultistate {
public:
    ScriptedApp() : OpenglAppMultistate("KestraneTest", 160, 100, false) {}
    // The test's states may be gone by now: the window's last messages skip them.
    ~ScriptedApp() override {
        closing = true;
        if (Platform::windowAlive(hwnd())) Platform::destroyWindow(hwnd());
        drainMessages();
    }

    std::function<void(ScriptedApp&)> onInit;
    // Called after each frame with its number (from 1); returns the frame's result.
    std::function<bool(ScriptedApp&, int)> onFrame = [](ScriptedApp&, int) { return true; };
    // Sees every message first; returns true to report it as handled.
    std::function<bool(unsigned int)> onMessage;
    int frames = 0, closes = 0, testMessages = 0;
    bool closing = false;
    std::vector<int> testMessagesBeforeFrame;

    void init() override {
        drainMessages();
        if (onInit) onInit(*this);
    }
    bool frame() override {
        testMessagesBeforeFrame.push_back(testMessages);
        const bool result = OpenglAppMultistate::frame();
        return onFrame(*this, ++frames) && result;
    }
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override {
        testMessages += msg == WM_TEST;
        if (closing) return false;
        if (onMessage && onMessage(msg)) return true;
        return OpenglAppMultistate::message(hwnd, msg, wParam, lParam);
    }
    void close() override { ++closes; }
};

// A state that keeps the times, steps and keys it was given.
struct RecordingState : OpenglAppMultistate::State {
    std::vector<double> times, dts;
    std::vector<std::pair<unsigned int, long>> keys;
    std::function<bool(RecordingState&)> onFrame;

    bool frame() override {
        times.push_back(time);
        dts.push_back(dt);
        return onFrame(*this);
    }
    bool message(HWND, unsigned int msg, unsigned int wParam, long lParam) override {
        if (msg == WM_KEYDOWN || msg == WM_KEYUP) keys.push_back({wParam, lParam});
        return false;
    }
};

TEST(OpenglApp, HandlesAtMostNineMessagesPerPassWithAFrameBetween) {
    ScriptedApp app;
    app.onInit = [](ScriptedApp& a) {
        for (int i = 0; i < 20; ++i)
            Platform::postMessage(a.hwnd(), WM_TEST, 0, 0);
    };
    app.onFrame = [](ScriptedApp&, int n) { return n < 3; };
    // The window system's first expose can come at any moment and would run a frame of its
    // own: only the loop's frames are counted here.
    app.onMessage = [](unsigned int msg) { return msg == WM_PAINT; };
    app.mainLoop();
    EXPECT_EQ(app.testMessagesBeforeFrame, (std::vector<int>{9, 18, 20}));
    EXPECT_EQ(app.closes, 1);
}

TEST(OpenglApp, CloseRunsOneLastFrameThenCloseOnceUnlessTheAppHandlesIt) {
    for (bool handled : {false, true}) {
        ScriptedApp app;
        // A late expose from the window system would run a frame of its own: only the
        // loop's frames are counted.
        app.onMessage = [&](unsigned int msg) {
            return msg == WM_PAINT || (handled && (msg == WM_CLOSE || msg == WM_DESTROY));
        };
        app.onFrame = [](ScriptedApp& a, int n) {
            if (n == 2) Platform::postMessage(a.hwnd(), WM_CLOSE, 0, 0);
            return n < 5;
        };
        app.mainLoop();
        // Unhandled, the close request ends the third pass, whose frame still runs.
        EXPECT_EQ(app.frames, handled ? 5 : 3) << handled;
        EXPECT_EQ(app.closes, 1);
        EXPECT_EQ(Platform::windowAlive(app.hwnd()), handled);
    }
}

// Queues a key event for the current window as SDL reports a key.
void pushKey(SDL_Keycode sym, Uint32 type, bool repeat = false) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    e.key.repeat = repeat;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
    SDL_PushEvent(&e);
}

TEST(OpenglAppMultistate, KeyEventsReachTheStateWithWin32CodesAndTheRepeatBit) {
    const std::pair<SDL_Keycode, unsigned int> codes[] = {{SDLK_LEFT, VK_LEFT},
                                                          {SDLK_p, 'P'},
                                                          {SDLK_7, '7'},
                                                          {SDLK_RSHIFT, VK_SHIFT},
                                                          {SDLK_LCTRL, VK_CONTROL},
                                                          {SDLK_F12, VK_F12},
                                                          {SDLK_ESCAPE, VK_ESCAPE},
                                                          {SDLK_SPACE, VK_SPACE}};
    ScriptedApp app;
    RecordingState s;
    s.onFrame = [](RecordingState& st) { return st.times.size() < 3; };
    app.onInit = [&](ScriptedApp& a) {
        for (auto [sym, vk] : codes)
            pushKey(sym, SDL_KEYDOWN);
        pushKey(SDLK_LEFT, SDL_KEYDOWN, true);
        pushKey(SDLK_LEFT, SDL_KEYUP);
        a.currentState(&s);
    };
    app.mainLoop();
    // A repeated press and, as on Win32, every release have the bit.
    std::vector<std::pair<unsigned int, bool>> expected, got;
    for (auto [sym, vk] : codes)
        expected.push_back({vk, false});
    expected.insert(expected.end(), {{VK_LEFT, true}, {VK_LEFT, true}});
    for (auto [vk, lParam] : s.keys)
        got.push_back({vk, (lParam & KEY_PREVIOUSLY_DOWN) != 0});
    EXPECT_EQ(got, expected);
    // Keys without a Win32 code still get distinct codes of their own.
    const int mute = Platform::virtualKeyFromSdl(SDLK_MUTE, SDL_SCANCODE_MUTE);
    EXPECT_GE(mute, VK_OTHER_BASE);
    EXPECT_NE(mute, Platform::virtualKeyFromSdl(SDLK_APPLICATION, SDL_SCANCODE_APPLICATION));
}

// The game uses no mouse: motion over the window must not hold the keys back.
TEST(OpenglApp, AKeyBehindAFloodOfMouseMotionReachesTheStateInTheNextFrame) {
    ScriptedApp app;
    RecordingState s;
    std::vector<std::size_t> keysAtFrame;
    s.onFrame = [&](RecordingState& st) {
        // Repaints (step 0) may come in between, as the window system sends them.
        if (st.dt > 0) keysAtFrame.push_back(st.keys.size());
        return keysAtFrame.size() < 3;
    };
    app.onInit = [&](ScriptedApp& a) {
        for (int i = 0; i < 200; ++i) {
            SDL_Event e{};
            e.type = SDL_MOUSEMOTION;
            e.motion.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
            e.motion.x = i % 160;
            SDL_PushEvent(&e);
        }
        pushKey(SDLK_SPACE, SDL_KEYDOWN);
        a.currentState(&s);
    };
    app.mainLoop();
    EXPECT_EQ(keysAtFrame, (std::vector<std::size_t>{1, 1, 1}));
}

TEST(OpenglApp, ARefusedGlContextIsAStartupFailureThatLeavesNoWindow) {
    Platform::refuseContexts(true);
    try {
        ScriptedApp app;
        ADD_FAILURE() << "built without a context";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Couldn't create OpenGL rendering context");
    }
    Platform::refuseContexts(false);
}

// Whichever way the program ends, full screen is left and the windows are gone: on
// X11 a display mode set for a window otherwise outlives the program. Run in a process
// of its own, so that its window is the last.
void endFromFullScreen(bool byError) {
    Platform::DisplayMode desktop;
    {
        ScriptedApp app;
        Platform::currentDisplayMode(desktop);
        app.onInit = [](ScriptedApp& a) {
            a.resolution(640, 480);
            a.fullscreen(true);
        };
        app.onFrame = [byError](ScriptedApp& a, int n) {
            if (n == 2 && byError) throw std::runtime_error("stop");
            if (n == 2) Platform::postMessage(a.hwnd(), WM_CLOSE, 0, 0); // the close button
            return true;
        };
        try {
            app.mainLoop();
        } catch (const std::runtime_error&) {
            Platform::shutdown(); // as the entry does before it reports the error
        }
    }
    if (Platform::anyWindowAlive()) std::exit(2);
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_DisplayMode after;
    SDL_GetCurrentDisplayMode(0, &after);
    if (after.w != desktop.width || after.h != desktop.height) std::exit(3);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    Platform::shutdown(); // as the entry does at the end
    std::exit(SDL_WasInit(SDL_INIT_VIDEO) ? 4 : 0);
}

TEST(OpenglAppDeathTest, EndingFromFullScreenGivesTheDisplayBack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(endFromFullScreen(false), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(endFromFullScreen(true), ::testing::ExitedWithCode(0), "");
}

// The virtual display refuses to wait for a refresh: the loop then paces itself to the
// display's rate (60 a second, as it tells none), so frames are at least that far apart.
TEST(OpenglApp, WithoutVsyncFramesArePacedToTheRefreshRate) {
    ScriptedApp app;
    ASSERT_DOUBLE_EQ(Platform::frameInterval(app.hwnd()), 1.0 / 60);
    RecordingState s;
    int paced = 0; // repaints (step 0) run outside the loop's pacing
    s.onFrame = [&](RecordingState& st) { return (paced += st.dt > 0) < 13; };
    app.onInit = [&](ScriptedApp& a) { a.currentState(&s); };
    app.mainLoop();
    // Twelve steps after the first; a late frame (the first ones set up the context)
    // restarts the count rather than be caught up, so allow for two of them.
    EXPECT_GE(s.times.back() - s.times.front(), 10 / 60.0);
}

TEST(OpenglApp, CursorHidesAndShowsBalanced) {
    OpenglApp& app = TestSupport::app();
    app.cursor(false);
    app.cursor(false);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    app.cursor(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

// Without a display the game says so and stops at once; SDL's drawing-nowhere drivers
// serve only when asked for by name (still running when `timeout` ends it: status 124).
TEST(Entry, WithoutADisplayTheGameStopsWithItsTextButAHeadlessDriverRunsWhenAsked) {
    const auto [status, out] = TestSupport::runCommand(
        "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 10 ./kestrane 2>&1");
    EXPECT_TRUE(status > 0 && status != 124) << out;
    EXPECT_NE(out.find("Couldn't register Windows Class"), std::string::npos) << out;
    const auto [statusOff, outOff] = TestSupport::runCommand(
        "env -u DISPLAY SDL_VIDEODRIVER=offscreen timeout 3 ./kestrane 2>&1");
    EXPECT_EQ(statusOff, 124) << outOff;
}

} // namespace
