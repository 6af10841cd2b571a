#include "tarvex/staterecords.h"

#include <iostream>

#include "pyrane/renderer2d.h"
#include "tarvex/game.h"
#include "tarvex/screentext.h"
#include "tarvex/statemenu.h"

namespace Tarvex {

StateRecords stateRecords;

namespace {

// "YYYY-MM-DD" as "YY-MM-DD", to fit the line.
std::string shortDate(const std::string& date) {
    return date.size() == 10 ? date.substr(2) : "-";
}

} // namespace

void StateRecords::attract() {
    nextDemo = 0;
    game.currentState(this);
}

void StateRecords::onEnter() {
    shownFor = 0;
}

bool StateRecords::frame() {
    shownFor += dt;
    stateMenu.drawBackdrop(dt);
    drawTable();
    game.blowup();
    if (shownFor >= showFor && !startDemo()) shownFor = 0;
    return true;
}

bool StateRecords::message(HWND, unsigned int msg, unsigned int, long) {
    if (msg != WM_KEYDOWN) return false;
    game.menu();
    return true;
}

void StateRecords::drawTable() {
    using R = Pyrane::Renderer2D;
    R& renderer = game.renderer;
    renderer.font(*game.font);
    renderer.textAlign(R::CENTER, R::TOP);
    printShadowed(renderer, "BEST GAMES", Vector2<float>(81.2f, 99));
    renderer.font(*game.smallFont);
    const std::vector<Record>& records = game.records.table().records;
    if (records.empty()) {
        printShadowed(renderer, "NO GAMES YET", Vector2<float>(81.2f, 55));
        return;
    }
    // Columns: left-aligned texts and right-aligned numbers, each at its own x.
    struct Column {
        float x;
        R::align align;
    };
    const Column columns[] = {{11, R::RIGHT}, {14, R::LEFT},  {30, R::LEFT},
                              {79, R::RIGHT}, {95, R::RIGHT}, {115, R::RIGHT},
                              {121, R::LEFT}};
    auto line = [&](float y, const std::string (&texts)[7]) {
        for (std::size_t i = 0; i < 7; ++i) {
            renderer.textAlign(columns[i].align, R::TOP);
            printShadowed(renderer, texts[i], Vector2<float>(columns[i].x, y));
        }
    };
    line(87, {"", "", "SCORE", "KILL", "ACC", "CORE", "DATE"});
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        line(79 - 7 * static_cast<float>(i),
             {std::to_string(i + 1) + ".", r.initials, scoreDigits(r.score), statisticText(r.kills),
              statisticText(r.accuracy), statisticText(r.coreHits), shortDate(r.date)});
    }
}

bool StateRecords::startDemo() {
    const std::vector<Record>& records = game.records.table().records;
    for (std::size_t tried = 0; tried < records.size(); ++tried) {
        const Record& record = records[nextDemo % records.size()];
        nextDemo = (nextDemo + 1) % records.size();
        if (record.replay.empty() || _skipped.count(record.replay)) continue;
        ReplayReading reading = loadReplayFile(game.records.replayPath(record));
        if (!reading.ok()) {
            skip(record.replay, reading.error);
            continue;
        }
        const std::string name = record.replay;
        _demo.emplace(std::move(reading.replay));
        _demo->demo("DEMO " + record.initials + " " + scoreDigits(record.score),
                    [this, name](const std::string& failure) {
                        if (!failure.empty()) skip(name, failure);
                        game.currentState(this);
                    });
        game.frameSource(&*_demo);
        return true;
    }
    return false;
}

void StateRecords::skip(const std::string& replay, const std::string& why) {
    if (!_skipped.insert(replay).second) return;
    std::cerr << "kestrane: the demo passes over the replay " << replay << ": " << why << "\n";
}

} // namespace Tarvex
