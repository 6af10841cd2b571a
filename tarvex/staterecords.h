#pragma once
// The title left alone: the table of records on the title's moving backdrop for 8
// seconds, then a demo, the replay of one record (the best first, then the others in
// turn), then the table again. Any key returns to the title menu as it is on entry. A
// record whose replay cannot be read or no longer matches this version of the game is
// passed over, said once on standard error; with no replay to show only the table shows.
#include <optional>
#include <set>
#include <string>

#include "common_classes/openglappmultistate.h"
#include "tarvex/replay/replayer.h"

namespace Tarvex {

class StateRecords : public OpenglAppMultistate::State {
public:
    // How long the table shows before a demo.
    static constexpr double showFor = 8;

    // From the title: the table, and then the best record's game first.
    void attract();

    void onEnter() override;
    bool frame() override;
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override;

    double shownFor = 0;       // seconds the table has shown
    std::size_t nextDemo = 0;  // the record whose game is shown next, from 0 for the best

private:
    bool startDemo();
    void drawTable();
    void skip(const std::string& replay, const std::string& why);

    std::optional<Replayer> _demo;
    std::set<std::string> _skipped; // replays passed over in this run
};

extern StateRecords stateRecords;

} // namespace Tarvex
