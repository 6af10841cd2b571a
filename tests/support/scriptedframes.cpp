#include "support/scriptedframes.h"

#include "tarvex/game.h"

namespace TestSupport {

bool ScriptedFrames::admits(unsigned int msg, unsigned int, long) {
    if (msg == WM_PAINT) return _repainting;
    return msg != WM_KEYDOWN && msg != WM_KEYUP && msg != WM_KILLFOCUS;
}

std::optional<double> ScriptedFrames::beginFrame(OpenglApp&, double) {
    if (_frame == _frames) return std::nullopt;
    ++_frame;
    if (beforeFrame) beforeFrame(_frame);
    return _step;
}

void ScriptedFrames::repaint() {
    _repainting = true;
    OpenglApp::winProc(game.hwnd(), WM_PAINT, 0, 0);
    _repainting = false;
}

int runWhileFed(OpenglApp::FrameSource& source, int limit) {
    game.frameSource(&source);
    int passes = 0;
    while (game.frameSource() == &source && passes < limit) {
        game.runPass();
        ++passes;
    }
    game.frameSource(nullptr);
    return passes;
}

} // namespace TestSupport
