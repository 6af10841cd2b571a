#pragma once
// Records the next game started from the title menu: the seeds it starts with, then, from
// the moment the play state enters until it leaves, every key message the play state
// receives and the step of every frame it runs, with a check value every 60 frames. A
// replay being shown is not recorded.
#include <string>

#include "common_classes/openglappmultistate.h"
#include "tarvex/replay/replayfile.h"

namespace Tarvex {

class Recorder : public OpenglAppMultistate::Observer {
public:
    // The replay is written to `path` when the game ends; with an empty path it is only
    // kept in memory. With `everyGame`, each game after it is recorded in memory in its
    // turn, replacing the one before.
    explicit Recorder(std::string path = "", bool everyGame = false);

    void entering(OpenglAppMultistate::State* state) override;
    void left(OpenglAppMultistate::State* state) override;
    void message(OpenglAppMultistate::State* state, unsigned int msg, unsigned int wParam,
                 long lParam) override;
    void frameStarting(OpenglAppMultistate::State* state, double dt) override;
    void frameDone(OpenglAppMultistate::State* state) override;

    // Ends a recording under way, as when the program closes during the game, and writes
    // it. Does nothing otherwise.
    void finish();

    bool recording() const { return _phase == RECORDING; }
    bool done() const { return _phase == DONE; }
    const Replay& replay() const { return _replay; }
    // Why the file could not be written, or empty.
    const std::string& error() const { return _error; }

private:
    enum Phase { WAITING, RECORDING, DONE };

    std::string _path;
    bool _everyGame;
    Phase _phase = WAITING;
    Replay _replay;
    std::vector<KeyMessage> _pending; // received since the last frame
    std::string _error;
};

} // namespace Tarvex
