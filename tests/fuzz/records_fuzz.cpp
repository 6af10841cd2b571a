// The table reader on any text, as the game reads kestrane.records at its start: it keeps
// at most ten records, best first, each one the game could have written (initials of its
// alphabet, a score the status line can print, a replay named inside the table's folder,
// no replay named twice), and the writer writes them as a table that reads back the same
// and whole. This holds for what the reader reads and for the table the store keeps, which
// has also dropped the names of replays missing from the folder.
#include <cmath>
#include <sstream>

#include "fuzzinput.h"
#include "tarvex/recordstore.h"

namespace {

void check(const Tarvex::RecordTable& table) {
    using namespace Tarvex;
    Fuzz::require(table.records.size() <= RecordTable::size, "ten records at most");
    Fuzz::require(validInitials(table.lastInitials), "the last initials can be offered");
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        const Record& r = table.records[i];
        Fuzz::require(std::isfinite(r.score) && r.score >= 0, "a finite score of at least 0");
        volatile long printed = static_cast<long>(r.score);
        (void)printed;
        Fuzz::require(i == 0 || table.records[i - 1].score >= r.score, "best first");
        Fuzz::require(validInitials(r.initials), "initials the fonts can show");
        Fuzz::require(r.replay.empty() || validReplayName(r.replay), "a replay in the folder");
        for (std::size_t j = 0; j < i; ++j)
            Fuzz::require(r.replay.empty() || table.records[j].replay != r.replay,
                          "no replay belongs to two records");
    }
    const RecordsReading again = readRecords(writeRecords(table));
    Fuzz::require(!again.damaged && again.table == table,
                  "what was read is written as the same table");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace Tarvex;
    check(readRecords(std::string_view(reinterpret_cast<const char*>(data), size)).table);
    Fuzz::writeInput(RecordStore::tableName, data, size);
    // Read only, as --scores reads it: a repair would write into the folder.
    RecordStore store;
    std::ostringstream faults;
    store.open(Fuzz::folder(), "", faults, false);
    check(store.table());
    return 0;
}
