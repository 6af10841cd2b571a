#pragma once
// The table of records as kept in the player's data folder: the table file
// "kestrane.records" and, beside it, the replay of each record. A finished game that
// enters the table writes its replay there; a replay whose record drops out of the table
// is deleted. Nothing of a damaged table is ever deleted: the file is kept aside with
// ".bad" added to its name before a new one takes its place.
#include <iosfwd>
#include <string>

#include "tarvex/records.h"

namespace Tarvex {

struct Replay;

class RecordStore {
public:
    static constexpr const char* tableName = "kestrane.records";

    // Reads the table kept in `folder`, saying on `err` what of it could not be read and
    // which replays it names are missing (those records stay, without a replay). With no
    // record at all, the score in `hiscoreFile` becomes the first record, with the
    // initials "---". With `repair`, a damaged file is kept aside and the records read
    // are written anew, and records whose replay is missing are written without it, so
    // the same fault is not reported again at the next start. A damaged file that cannot
    // be kept aside stays as it is, and no save replaces it.
    void open(const std::string& folder, const std::string& hiscoreFile, std::ostream& err,
              bool repair);

    const RecordTable& table() const { return _table; }
    const std::string& folder() const { return _folder; }
    std::string tablePath() const;
    // Where the record's replay is kept; empty for a record without one.
    std::string replayPath(const Record& record) const;

    // Keeps a finished game: its replay (when there is one) in a new file beside the
    // table, the record in its place, its initials as the last entered, the table saved,
    // and then the replays of the records it pushed out deleted. Says on `err` what could
    // not be saved; false when the table was not.
    bool add(Record record, const Replay* replay, std::ostream& err);

private:
    bool save(std::ostream& err);
    // A new file name for a replay saved now.
    std::string newReplayName() const;

    std::string _folder;
    RecordTable _table;
    // The file read was damaged and is still where the table is saved.
    bool _damaged = false;
};

// Today's date as a record keeps it ("YYYY-MM-DD"), in local time.
std::string recordDate(long long secondsSinceEpoch);

// `kestrane --scores`: the table kept in `folder` as text for a terminal, with where each
// replay is and how to watch it. Faults of the file go to `err`; nothing is changed.
void printRecords(const std::string& folder, const std::string& hiscoreFile, std::ostream& out,
                  std::ostream& err);

} // namespace Tarvex
