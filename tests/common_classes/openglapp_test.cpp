// The application frame against a real SDL window and GL context under the
// virtual display: the main loop's message budget, quitting, repaints, key
// messages, the cursor and state switching.
#include "common_classes/openglappmultistate.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "support/glwindow.h"

namespace {

constexpr unsigned int WM_TEST = 0x0400;

// Takes every message that is already waiting, so a test starts from an empty queue.
void drainMessages() {
    Platform::Message m;
    while (Platform::peekMessage() && Platform::getMessage(m)) {
    }
}

class ScriptedApp : public OpenglAppMultistate {
public:
    explicit ScriptedApp(const std::string& title = "KestraneTest")
        : OpenglAppMultistate(title, 160, 100, false) {}

    std::function<void(ScriptedApp&)> onInit;
    // Called after each frame with its number (from 1); returns the frame's result.
    std::function<bool(ScriptedApp&, int)> onFrame;
    // Returns true to report a message as handled.
    std::function<bool(unsigned int)> onMessage;

    int frames = 0;
    int closes = 0;
    int testMessages = 0;
    std::vector<int> testMessagesBeforeFrame;
    std::vector<double> steps;
    std::vector<unsigned int> seen;

    void init() override {
        drainMessages();
        if (onInit) onInit(*this);
    }
    bool frame() override {
        ++frames;
        testMessagesBeforeFrame.push_back(testMessages);
        steps.push_back(frameStep());
        bool result = OpenglAppMultistate::frame();
        return onFrame ? onFrame(*this, frames) && result : result;
    }
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override {
        seen.push_back(msg);
        if (msg == WM_TEST) ++testMessages;
        if (onMessage && onMessage(msg)) return true;
        return OpenglAppMultistate::message(hwnd, msg, wParam, lParam);
    }
    void close() override { ++closes; }
};

TEST(OpenglApp, HandlesAtMostNineMessagesPerPassWithAFrameBetween) {
    ScriptedApp app;
    app.onInit = [](ScriptedApp& a) {
        for (int i = 0; i < 20; ++i)
            Platform::postMessage(a.hwnd(), WM_TEST, 0, 0);
    };
    app.onFrame = [](ScriptedApp&, int n) { return n < 3; };
    app.mainLoop();
    EXPECT_EQ(app.testMessagesBeforeFrame, (std::vector<int>{9, 18, 20}));
    EXPECT_EQ(app.closes, 1);
    Platform::destroyWindow(app.hwnd());
    drainMessages();
}

TEST(OpenglApp, ClosingTheWindowRunsOneLastFrameThenCloseOnce) {
    ScriptedApp app;
    int closedAt = 0;
    app.onFrame = [&](ScriptedApp& a, int n) {
        if (n == 2) Platform::postMessage(a.hwnd(), WM_CLOSE, 0, 0);
        if (!Platform::windowAlive(a.hwnd()) && closedAt == 0) closedAt = n;
        return n < 50;
    };
    app.mainLoop();
    // The close request is handled in the third pass, whose frame still runs.
    EXPECT_EQ(closedAt, 3);
    EXPECT_EQ(app.frames, 3);
    EXPECT_EQ(app.closes, 1);
    EXPECT_FALSE(Platform::windowAlive(app.hwnd()));
    // The application saw both the close request and the destruction first.
    EXPECT_NE(std::find(app.seen.begin(), app.seen.end(), WM_CLOSE), app.seen.end());
    EXPECT_NE(std::find(app.seen.begin(), app.seen.end(), WM_DESTROY), app.seen.end());
}

TEST(OpenglApp, HandledMessagesNeverReachTheDefaultHandling) {
    ScriptedApp app;
    app.onMessage = [](unsigned int msg) { return msg == WM_CLOSE || msg == WM_DESTROY; };
    app.onFrame = [](ScriptedApp& a, int n) {
        if (n == 2) Platform::postMessage(a.hwnd(), WM_CLOSE, 0, 0);
        return n < 5;
    };
    app.mainLoop();
    EXPECT_EQ(app.frames, 5);
    EXPECT_EQ(app.closes, 1);
    EXPECT_TRUE(Platform::windowAlive(app.hwnd()));
    Platform::destroyWindow(app.hwnd());
    drainMessages();
}

TEST(OpenglApp, FrameReturningFalseDuringRepaintDestroysTheWindow) {
    ScriptedApp app;
    app.onFrame = [](ScriptedApp& a, int n) {
        if (n == 1) Platform::postMessage(a.hwnd(), WM_PAINT, 0, 0);
        // The repaint is the only frame with a step of exactly 0.
        return a.frameStep() != 0;
    };
    app.mainLoop();
    EXPECT_FALSE(Platform::windowAlive(app.hwnd()));
    EXPECT_EQ(app.frames, 3);
    EXPECT_EQ(app.closes, 1);
}

struct RecordingState : OpenglAppMultistate::State {
    std::vector<std::string>* log = nullptr;
    std::string name;
    std::vector<double> times, dts;
    std::function<bool(RecordingState&)> onFrame;
    std::vector<std::pair<unsigned int, long>> keys;

    void onEnter() override { log->push_back(name + ".enter"); }
    void onExit() override { log->push_back(name + ".exit"); }
    bool frame() override {
        times.push_back(time);
        dts.push_back(dt);
        return onFrame ? onFrame(*this) : true;
    }
    bool message(HWND, unsigned int msg, unsigned int wParam, long lParam) override {
        if (msg == WM_KEYDOWN || msg == WM_KEYUP) keys.push_back({wParam, lParam});
        return false;
    }
};

TEST(OpenglAppMultistate, RepaintPassesStepZeroAndKeepsTheStateTime) {
    ScriptedApp app;
    std::vector<std::string> log;
    RecordingState s;
    s.log = &log;
    s.name = "s";
    s.onFrame = [&](RecordingState& st) {
        if (st.times.size() == 2) Platform::postMessage(app.hwnd(), WM_PAINT, 0, 0);
        return st.times.size() < 5;
    };
    app.onInit = [&](ScriptedApp& a) { a.currentState(&s); };
    app.mainLoop();
    ASSERT_EQ(s.dts.size(), 5u);
    EXPECT_EQ(s.dts[2], 0.0);
    EXPECT_EQ(s.times[2], s.times[1]);
    EXPECT_GT(s.dts[3], 0.0);
    EXPECT_DOUBLE_EQ(s.times[3], s.times[1] + s.dts[3]);
    // The first frame after the switch sees time equal to its step.
    EXPECT_EQ(s.times[0], s.dts[0]);
    Platform::destroyWindow(app.hwnd());
    drainMessages();
}

TEST(OpenglAppMultistate, SwitchesRunExitThenEnterAndResetTime) {
    ScriptedApp app;
    std::vector<std::string> log;
    RecordingState a, b;
    a.log = b.log = &log;
    a.name = "a";
    b.name = "b";
    // Switching from inside a frame: the old state leaves, the new one enters at
    // once, and the frame in progress still returns its own result.
    a.onFrame = [&](RecordingState& st) {
        if (st.times.size() == 3) app.currentState(&b);
        return true;
    };
    b.onFrame = [&](RecordingState& st) {
        if (st.times.size() == 2) {
            app.currentState(&b);
            log.push_back("b.time=" + std::to_string(st.time));
        }
        return st.times.size() < 4;
    };
    app.onInit = [&](ScriptedApp& x) { x.currentState(&a); };
    app.mainLoop();
    EXPECT_EQ(log, (std::vector<std::string>{"a.enter", "a.exit", "b.enter", "b.exit", "b.enter",
                                             "b.time=0.000000"}));
    ASSERT_EQ(b.times.size(), 4u);
    EXPECT_EQ(b.times[0], b.dts[0]);
    EXPECT_EQ(b.times[2], b.dts[2]);
    EXPECT_EQ(a.times.size(), 3u);

    log.clear();
    app.currentState(nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"b.exit"});
    EXPECT_EQ(app.currentState(), nullptr);
    Platform::destroyWindow(app.hwnd());
    drainMessages();
}

SDL_Window* windowTitled(const char* title) {
    for (Uint32 id = 1; id < 1000; ++id) {
        SDL_Window* w = SDL_GetWindowFromID(id);
        if (w && std::string(SDL_GetWindowTitle(w)) == title) return w;
    }
    return nullptr;
}

void pushKey(SDL_Window* w, bool down, SDL_Keycode key, bool repeat) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = SDL_GetWindowID(w);
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&e);
}

TEST(OpenglAppMultistate, KeyEventsArriveWithWin32CodesAndTheRepeatBit) {
    ScriptedApp app("KestraneKeys");
    std::vector<std::string> log;
    RecordingState s;
    s.log = &log;
    s.name = "s";
    s.onFrame = [](RecordingState& st) { return st.times.size() < 3; };
    app.onInit = [&](ScriptedApp& a) {
        SDL_Window* w = windowTitled("KestraneKeys");
        ASSERT_NE(w, nullptr);
        pushKey(w, true, SDLK_LEFT, false);
        pushKey(w, true, SDLK_LEFT, true);
        pushKey(w, false, SDLK_LEFT, false);
        pushKey(w, true, SDLK_p, false);
        pushKey(w, true, SDLK_RSHIFT, false);
        pushKey(w, true, SDLK_F5, false);
        pushKey(w, true, SDLK_ESCAPE, false);
        pushKey(w, true, SDLK_SPACE, false);
        a.currentState(&s);
    };
    app.mainLoop();
    constexpr long rep = KEY_PREVIOUSLY_DOWN;
    ASSERT_EQ(s.keys.size(), 8u);
    EXPECT_EQ(s.keys[0].first, unsigned(VK_LEFT));
    EXPECT_EQ(s.keys[0].second & rep, 0);
    EXPECT_EQ(s.keys[1].first, unsigned(VK_LEFT));
    EXPECT_EQ(s.keys[1].second & rep, rep);
    EXPECT_EQ(s.keys[2].second & rep, rep); // as on Win32, every key-up has the bit
    EXPECT_EQ(s.keys[3].first, 80u);
    EXPECT_EQ(s.keys[4].first, unsigned(VK_SHIFT));
    EXPECT_EQ(s.keys[5].first, unsigned(VK_F5));
    EXPECT_EQ(s.keys[6].first, unsigned(VK_ESCAPE));
    EXPECT_EQ(s.keys[7].first, unsigned(VK_SPACE));
    int ups = 0;
    for (unsigned int m : app.seen)
        ups += m == WM_KEYUP;
    EXPECT_EQ(ups, 1);
    Platform::destroyWindow(app.hwnd());
    drainMessages();
}

TEST(OpenglApp, KeysWithoutAWin32CodeStillGetACodeOfTheirOwn) {
    EXPECT_EQ(Platform::virtualKeyFromSdl(SDLK_z, SDL_SCANCODE_Z), 90);
    EXPECT_EQ(Platform::virtualKeyFromSdl(SDLK_7, SDL_SCANCODE_7), '7');
    EXPECT_EQ(Platform::virtualKeyFromSdl(SDLK_F12, SDL_SCANCODE_F12), VK_F12);
    EXPECT_EQ(Platform::virtualKeyFromSdl(SDLK_LCTRL, SDL_SCANCODE_LCTRL), VK_CONTROL);
    int a = Platform::virtualKeyFromSdl(SDLK_MUTE, SDL_SCANCODE_MUTE);
    int b = Platform::virtualKeyFromSdl(SDLK_APPLICATION, SDL_SCANCODE_APPLICATION);
    EXPECT_NE(a, b);
    EXPECT_GE(a, VK_OTHER_BASE);
}

TEST(OpenglApp, CursorHidesAndShowsBalanced) {
    OpenglApp& app = TestSupport::app();
    app.cursor(false);
    app.cursor(false);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    app.cursor(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    app.cursor(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST(OpenglApp, FramesClearBlackWithoutAStateAndRedWithTheDefaultState) {
    OpenglAppMultistate& app = TestSupport::app();
    app.currentState(nullptr);
    EXPECT_TRUE(app.frame());
    EXPECT_EQ(TestSupport::readPixel(10, 10), (TestSupport::Pixel{0, 0, 0, 255}));
    struct Plain : OpenglAppMultistate::State {
    } plain;
    app.currentState(&plain);
    EXPECT_TRUE(app.frame());
    EXPECT_EQ(TestSupport::readPixel(10, 10), (TestSupport::Pixel{255, 0, 0, 255}));
    app.currentState(nullptr);
}

TEST(OpenglApp, ResolutionResizesTheDrawableSurface) {
    OpenglApp& app = TestSupport::app();
    app.fullscreen(false); // already windowed: nothing happens
    EXPECT_FALSE(app.fullscreen());
    app.resolution(320, 200);
    int w = 0, h = 0;
    Platform::drawableSize(app.hwnd(), w, h);
    EXPECT_EQ(app.width(), 320);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 200);
    app.resolution(640, 400);
    Platform::drawableSize(app.hwnd(), w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 400);
}

TEST(Entry, StartupFailureReachesTheUserWithItsTextAndAFailureStatus) {
    // The game without a display: the window cannot be made.
    FILE* p = popen("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 ./kestrane 2>&1", "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[256];
    while (fgets(buf, sizeof buf, p))
        out += buf;
    int status = pclose(p);
    EXPECT_TRUE(WIFEXITED(status)) << out;
    EXPECT_NE(WEXITSTATUS(status), 0) << out;
    EXPECT_NE(out.find("Couldn't register Windows Class"), std::string::npos) << out;
}

} // namespace
