#include "tarvex/records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace Tarvex {

const std::string_view RecordTable::initialsAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-!? ";

namespace {

constexpr std::string_view magic = "kestrane-records";
constexpr int version = 1;
// Longer lines are no lines of ours.
constexpr std::size_t maxLineLength = 512;
// Scores print as whole numbers through a long; anything from here on does not fit.
constexpr float unreachableScore = 9.0e18f;

// Reads one line of a record from left to right; each step fails with what it expected.
class Cursor {
public:
    explicit Cursor(std::string_view line) : _rest(line) {}

    bool literal(std::string_view text) {
        if (_rest.substr(0, text.size()) != text) return false;
        _rest.remove_prefix(text.size());
        return true;
    }
    // The value of " name=" up to the next space or the end of the line.
    std::optional<std::string_view> field(std::string_view name) {
        if (!literal(" ") || !literal(name) || !literal("=")) return std::nullopt;
        const std::size_t end = std::min(_rest.find(' '), _rest.size());
        const std::string_view value = _rest.substr(0, end);
        _rest.remove_prefix(end);
        return value;
    }
    std::optional<std::string_view> take(std::size_t n) {
        if (_rest.size() < n) return std::nullopt;
        const std::string_view taken = _rest.substr(0, n);
        _rest.remove_prefix(n);
        return taken;
    }
    bool atEnd() const { return _rest.empty(); }

private:
    std::string_view _rest;
};

template <typename T> std::optional<T> number(std::optional<std::string_view> word) {
    T value{};
    if (!word || word->empty()) return std::nullopt;
    const char* end = word->data() + word->size();
    auto [ptr, error] = std::from_chars(word->data(), end, value);
    if (error != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// A count or percentage up to `most`, or "-" for one not known.
std::optional<int> statistic(std::optional<std::string_view> word, int most) {
    if (word && *word == "-") return Record::unknown;
    const std::optional<int> value = number<int>(word);
    if (!value || *value < 0 || *value > most) return std::nullopt;
    return value;
}

bool validDate(std::string_view date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (date[i] < '0' || date[i] > '9') return false;
    const int month = (date[5] - '0') * 10 + (date[6] - '0');
    const int day = (date[8] - '0') * 10 + (date[9] - '0');
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

std::optional<Record> parseRecord(std::string_view line) {
    Cursor cursor(line);
    Record r;
    if (!cursor.literal("record")) return std::nullopt;
    const std::optional<float> score = number<float>(cursor.field("score"));
    if (!score || !std::isfinite(*score) || *score < 0 || *score >= unreachableScore)
        return std::nullopt;
    r.score = *score;

    if (!cursor.literal(" initials=\"")) return std::nullopt;
    const std::optional<std::string_view> initials = cursor.take(3);
    if (!initials || !validInitials(*initials) || !cursor.literal("\"")) return std::nullopt;
    r.initials = *initials;

    const std::optional<int> kills = statistic(cursor.field("kills"), 1 << 30);
    const std::optional<int> accuracy = statistic(cursor.field("accuracy"), 100);
    const std::optional<int> coreHits = statistic(cursor.field("corehits"), 1 << 30);
    if (!kills || !accuracy || !coreHits) return std::nullopt;
    r.kills = *kills;
    r.accuracy = *accuracy;
    r.coreHits = *coreHits;

    const std::optional<std::string_view> date = cursor.field("date");
    if (!date || (*date != "-" && !validDate(*date))) return std::nullopt;
    if (*date != "-") r.date = *date;
    const std::optional<std::string_view> replay = cursor.field("replay");
    if (!replay || (*replay != "-" && !validReplayName(*replay)) || !cursor.atEnd())
        return std::nullopt;
    if (*replay != "-") r.replay = *replay;
    return r;
}

} // namespace

std::string statisticText(int value) {
    return value == Record::unknown ? "-" : std::to_string(value);
}

std::size_t RecordTable::rankOf(float score) const {
    if (!(score > 0)) return size;
    const auto place = std::find_if(records.begin(), records.end(),
                                    [score](const Record& r) { return r.score < score; });
    const auto rank = static_cast<std::size_t>(place - records.begin());
    return std::min(rank, size);
}

std::vector<Record> RecordTable::insert(Record record) {
    const std::size_t rank = rankOf(record.score);
    std::vector<Record> dropped;
    if (rank >= size) {
        dropped.push_back(std::move(record));
        return dropped;
    }
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(rank), std::move(record));
    while (records.size() > size) {
        dropped.push_back(std::move(records.back()));
        records.pop_back();
    }
    return dropped;
}

bool validInitials(std::string_view initials) {
    return initials.size() == 3 &&
           std::all_of(initials.begin(), initials.end(), [](char c) {
               return c != '\0' && RecordTable::initialsAlphabet.find(c) != std::string_view::npos;
           });
}

bool validReplayName(std::string_view name) {
    constexpr std::string_view suffix = ".replay";
    if (name.size() <= suffix.size() || name.size() > 128 || name[0] == '.' ||
        name.substr(name.size() - suffix.size()) != suffix)
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == '.';
    });
}

std::string writeRecords(const RecordTable& table) {
    std::string text = std::string(magic) + " " + std::to_string(version) + "\n";
    text += "last \"" + table.lastInitials + "\"\n";
    for (const Record& r : table.records) {
        char score[32];
        const auto written = std::to_chars(score, score + sizeof score, r.score);
        text += "record score=" + std::string(score, written.ptr) + " initials=\"" + r.initials +
                "\" kills=" + statisticText(r.kills) + " accuracy=" + statisticText(r.accuracy) +
                " corehits=" + statisticText(r.coreHits) +
                " date=" + (r.date.empty() ? "-" : r.date) +
                " replay=" + (r.replay.empty() ? "-" : r.replay) + "\n";
    }
    return text;
}

RecordsReading readRecords(std::string_view text) {
    RecordsReading reading;
    auto fault = [&reading](int line, const std::string& what) {
        reading.faults.push_back("line " + std::to_string(line) + ": " + what);
        reading.damaged = true;
    };
    if (text.empty()) {
        fault(1, "the file is empty");
        return reading;
    }
    std::vector<Record> read;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            // The writer ends every line: the file was cut here.
            fault(lineNumber, "the file is cut short");
            break;
        }
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > maxLineLength) {
            fault(lineNumber, "the line is too long");
            continue;
        }
        if (lineNumber == 1) {
            const std::optional<int> v =
                line.substr(0, magic.size()) == magic && line.size() > magic.size() &&
                        line[magic.size()] == ' '
                    ? number<int>(line.substr(magic.size() + 1))
                    : std::nullopt;
            if (!v || *v < 1) {
                fault(1, "not a table of records");
                return reading;
            }
            if (*v > version)
                fault(1, "written by a newer version of the game (" + std::to_string(*v) + ")");
            continue;
        }
        if (line.empty()) continue;
        Cursor last(line);
        std::optional<std::string_view> initials;
        if (last.literal("last \"") && (initials = last.take(3)) && validInitials(*initials) &&
            last.literal("\"") && last.atEnd()) {
            reading.table.lastInitials = *initials;
            continue;
        }
        std::optional<Record> record = parseRecord(line);
        if (!record) {
            fault(lineNumber, "cannot read this line");
            continue;
        }
        const bool named = std::any_of(read.begin(), read.end(), [&record](const Record& r) {
            return !r.replay.empty() && r.replay == record->replay;
        });
        if (named) {
            fault(lineNumber, "the replay " + record->replay + " belongs to an earlier record");
            record->replay.clear();
        }
        read.push_back(std::move(*record));
    }
    std::stable_sort(read.begin(), read.end(),
                     [](const Record& a, const Record& b) { return a.score > b.score; });
    if (read.size() > RecordTable::size) {
        fault(lineNumber, "more than " + std::to_string(RecordTable::size) + " records");
        read.resize(RecordTable::size);
    }
    reading.table.records = std::move(read);
    return reading;
}

} // namespace Tarvex
