#include "tarvex/recordstore.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>

#include "common_classes/atomicfile.h"
#include "tarvex/hiscore.h"
#include "tarvex/replay/replayfile.h"
#include "tarvex/screentext.h"

namespace fs = std::filesystem;

namespace Tarvex {

namespace {

// The table is a few lines; a file much larger than ten records is no table of ours.
constexpr std::uintmax_t maxTableSize = 64 * 1024;

std::string readWhole(const std::string& path, bool& found) {
    std::ifstream in(path, std::ios::binary);
    found = bool(in);
    std::string text;
    char buffer[4096];
    while (in && text.size() <= maxTableSize) {
        in.read(buffer, sizeof buffer);
        text.append(buffer, std::size_t(in.gcount()));
    }
    return text;
}

// Renames the file to the first free name of PATH.bad, PATH.bad.2, ...: an older file
// kept aside is never overwritten.
std::string keepAside(const std::string& path) {
    std::error_code error;
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = path + ".bad" + (n > 1 ? "." + std::to_string(n) : "");
        // A name that cannot be looked at may be a file kept before.
        if (fs::exists(aside, error) || error) continue;
        fs::rename(path, aside, error);
        return error ? "" : aside;
    }
    return "";
}

long long modified(const std::string& path) {
    std::error_code error;
    const auto written = fs::last_write_time(path, error);
    if (error) return std::time(nullptr);
    const auto system = std::chrono::file_clock::to_sys(written);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

} // namespace

std::string recordDate(long long secondsSinceEpoch) {
    const std::time_t t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    localtime_r(&t, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

void RecordStore::open(const std::string& folder, const std::string& hiscoreFile,
                       std::ostream& err, bool repair) {
    _folder = folder;
    _table = RecordTable();
    _damaged = false;
    const std::string path = tablePath();
    bool found = false;
    const std::string text = readWhole(path, found);
    bool rewrite = false;
    if (found) {
        RecordsReading reading = readRecords(text);
        if (text.size() > maxTableSize) {
            reading.faults.push_back("the file is too large for a table of records");
            reading.damaged = true;
        }
        for (const std::string& fault : reading.faults)
            err << "kestrane: the table of records " << path << ": " << fault << "\n";
        _table = std::move(reading.table);
        // The first save keeps the damaged file aside before it writes the table anew.
        _damaged = reading.damaged;
        rewrite = reading.damaged;
        for (Record& record : _table.records) {
            std::error_code error;
            if (record.replay.empty() || fs::exists(replayPath(record), error)) continue;
            // A replay that cannot be looked at now may be there: its name stays.
            if (error) {
                err << "kestrane: cannot look for the replay " << replayPath(record) << ": "
                    << error.message() << "\n";
                continue;
            }
            err << "kestrane: the table of records " << path << " names the replay "
                << replayPath(record) << ", which is missing\n";
            record.replay.clear();
            rewrite = true;
        }
    }
    if (_table.records.empty()) {
        if (std::optional<float> hiscore = readHiscoreFile(hiscoreFile); hiscore && *hiscore > 0) {
            Record best;
            best.score = *hiscore;
            best.date = recordDate(modified(hiscoreFile));
            _table.records.push_back(best);
        }
    }
    if (rewrite && repair) save(err);
}

std::string RecordStore::tablePath() const {
    return (fs::path(_folder) / tableName).string();
}

std::string RecordStore::replayPath(const Record& record) const {
    return record.replay.empty() ? "" : (fs::path(_folder) / record.replay).string();
}

bool RecordStore::add(Record record, const Replay* replay, std::ostream& err) {
    if (!_table.enters(record.score)) return false;
    if (validInitials(record.initials)) _table.lastInitials = record.initials;
    record.replay.clear();
    if (replay) {
        const std::string name = newReplayName();
        std::string error;
        if (writeFileAtomically((fs::path(_folder) / name).string(), writeReplay(*replay), &error))
            record.replay = name;
        else
            err << "kestrane: the game's replay was not saved: " << error << "\n";
    }
    const std::vector<Record> dropped = _table.insert(std::move(record));
    if (!save(err)) return false;
    // Only once the table no longer names them.
    for (const Record& gone : dropped) {
        std::error_code error;
        if (!gone.replay.empty()) fs::remove(replayPath(gone), error);
    }
    return true;
}

bool RecordStore::save(std::ostream& err) {
    if (_damaged) {
        const std::string aside = keepAside(tablePath());
        if (aside.empty()) {
            err << "kestrane: the table of records was not saved: the damaged " << tablePath()
                << " could not be kept aside\n";
            return false;
        }
        err << "kestrane: the damaged table was kept as " << aside << "\n";
        _damaged = false;
    }
    std::string error;
    if (writeFileAtomically(tablePath(), writeRecords(_table), &error)) return true;
    err << "kestrane: the table of records was not saved: " << error << "\n";
    return false;
}

std::string RecordStore::newReplayName() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "record-%Y%m%d-%H%M%S", &local);
    for (int n = 1;; ++n) {
        const std::string name = stamp + (n > 1 ? "-" + std::to_string(n) : "") + ".replay";
        std::error_code error;
        bool named = fs::exists(fs::path(_folder) / name, error);
        for (const Record& r : _table.records)
            named = named || r.replay == name;
        if (!named) return name;
    }
}

void printRecords(const std::string& folder, const std::string& hiscoreFile, std::ostream& out,
                  std::ostream& err) {
    RecordStore store;
    store.open(folder, hiscoreFile, err, false);
    const std::vector<Record>& records = store.table().records;
    out << "The best games of Kestrane, kept in " << store.tablePath() << ":\n\n";
    if (records.empty()) {
        out << "No game has entered the table yet.\n";
        return;
    }
    auto statistic = [](int value, const char* unit) {
        return statisticText(value) + (value == Record::unknown ? "" : unit);
    };
    out << " #  NAME    SCORE  KILLS  ACCURACY  CORE HITS  DATE        REPLAY\n";
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        out << std::setw(2) << i + 1 << "  " << r.initials << "  " << scoreDigits(r.score)
            << "  " << std::setw(5) << statistic(r.kills, "") << "  " << std::setw(8)
            << statistic(r.accuracy, "%") << "  " << std::setw(9) << statistic(r.coreHits, "")
            << "  " << std::left << std::setw(10) << (r.date.empty() ? "-" : r.date) << std::right
            << "  " << (r.replay.empty() ? "-" : fs::absolute(store.replayPath(r)).string())
            << "\n";
    }
    out << "\nWatch a record's game with: kestrane --replay FILE\n";
}

} // namespace Tarvex
