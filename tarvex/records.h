#pragma once
// The table of records: the ten best games, each with the player's initials, its
// statistics, the day it was played and the file beside the table that keeps its replay;
// and the table's text file, with its one reader and one writer.
//
// The format, one line each:
//   kestrane-records 1
//   last "ABC"                  the initials entered last, offered first next time
//   record score=S initials="ABC" kills=K accuracy=A corehits=C date=YYYY-MM-DD replay=FILE
// Records stand best first. A statistic, the date or the replay that is not known (a
// score taken over from the hiscore file) is "-". FILE is a bare file name in the table's
// folder ending in ".replay"; the table never names a file anywhere else.
#include <string>
#include <string_view>
#include <vector>

namespace Tarvex {

struct Record {
    static constexpr int unknown = -1;

    float score = 0;
    std::string initials = "---";
    int kills = unknown;
    int accuracy = unknown; // per cent
    int coreHits = unknown;
    std::string date;   // "YYYY-MM-DD", empty when not known
    std::string replay; // the replay's file name, empty when there is none
    bool operator==(const Record&) const = default;
};

struct RecordTable {
    // Ten games at most.
    static constexpr std::size_t size = 10;
    // What initials are made of: the letters the entry steps through, in its order.
    static const std::string_view initialsAlphabet;

    std::vector<Record> records; // best first
    std::string lastInitials = "AAA";

    // Where a game with this score would stand, from 0: below every record with the same
    // score or more, so that an equal score ranks below the older one. `size` when it
    // stays out of the table, as a game without a single point always does.
    std::size_t rankOf(float score) const;
    bool enters(float score) const { return rankOf(score) < size; }
    // Puts the record in its place and returns those it pushed out of the table.
    std::vector<Record> insert(Record record);
    bool operator==(const RecordTable&) const = default;
};

// Three characters of the initials' alphabet.
bool validInitials(std::string_view initials);
// A name the table may give a replay: a plain file name in its folder.
bool validReplayName(std::string_view name);
// A kill count, accuracy or number of core hits as the table writes and shows it: the
// number, or "-" when it is not known.
std::string statisticText(int value);

// The whole text of a table file.
std::string writeRecords(const RecordTable& table);

// The reader keeps every record it can read. Faults name their line ("line 3: ...");
// `damaged` is set when anything of the file could not be read as written (a garbled or
// cut line, a newer version), so the file is to be kept aside before it is replaced.
struct RecordsReading {
    RecordTable table;
    std::vector<std::string> faults;
    bool damaged = false;
};
RecordsReading readRecords(std::string_view text);

} // namespace Tarvex
