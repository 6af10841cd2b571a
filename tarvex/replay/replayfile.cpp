#include "tarvex/replay/replayfile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "common_classes/keynames.h"
#include "common_classes/platform/win32defs.h"

namespace Tarvex {

namespace {

constexpr std::string_view magic = "kestrane-replay";
constexpr int version = 1;
// Longer lines are no lines of ours: a frame holds a handful of keys.
constexpr std::size_t maxLineLength = 4096;
// A stalled program makes one long step (a suspended computer, a dragged window), but
// no recorded step is longer than a day.
constexpr double maxStep = 86400;
// About 40 hours of play at 60 frames a second.
constexpr std::uintmax_t maxFileSize = 64u << 20;

// Thrown inside the reader only, and turned into its answer.
struct Fault {
    std::string message;
};

std::string quoted(std::string_view word) {
    constexpr std::size_t shown = 40;
    if (word.size() > shown) return "'" + std::string(word.substr(0, shown)) + "...'";
    return "'" + std::string(word) + "'";
}

template <typename T> T number(std::string_view word, const char* what) {
    T value{};
    const char* end = word.data() + word.size();
    auto [ptr, error] = std::from_chars(word.data(), end, value);
    if (error == std::errc::result_out_of_range)
        throw Fault{std::string(what) + " " + quoted(word) + " is out of range"};
    if (error != std::errc() || ptr != end || word.empty())
        throw Fault{std::string(what) + " " + quoted(word) + " is not a number"};
    return value;
}

// "name=value" with the name expected at this place.
std::string_view field(std::string_view word, std::string_view name) {
    if (word.size() <= name.size() || word.substr(0, name.size()) != name ||
        word[name.size()] != '=')
        throw Fault{"expected " + std::string(name) + "=..., found " + quoted(word)};
    return word.substr(name.size() + 1);
}

KeyMessage keyToken(std::string_view word) {
    KeyMessage key;
    switch (word.empty() ? '\0' : word[0]) {
    case '+':
        key.kind = KeyMessage::PRESS;
        break;
    case '*':
        key.kind = KeyMessage::REPEAT;
        break;
    case '-':
        key.kind = KeyMessage::RELEASE;
        break;
    default:
        throw Fault{"expected a key (+NAME, *NAME or -NAME), found " + quoted(word)};
    }
    std::optional<unsigned int> code = keyFromName(word.substr(1));
    if (!code) throw Fault{"unknown key " + quoted(word.substr(1))};
    key.key = *code;
    return key;
}

char keyPrefix(KeyMessage::Kind kind) {
    return kind == KeyMessage::PRESS ? '+' : kind == KeyMessage::REPEAT ? '*' : '-';
}

// One line split at its spaces; the line's characters were checked to be text.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start) result.push_back(line.substr(start, i - start));
    }
    return result;
}

// Reads the text line by line, keeping the number of the line in hand.
class Reader {
public:
    explicit Reader(std::string_view text) : _text(text) {}

    // The next line without its line break; false at the end of the text.
    bool next(std::string_view& line) {
        if (_pos >= _text.size()) return false;
        ++_line;
        std::size_t end = _text.find('\n', _pos);
        _broken = end != std::string_view::npos;
        if (!_broken) end = _text.size();
        line = _text.substr(_pos, end - _pos);
        _pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > maxLineLength)
            throw Fault{"the line is longer than " + std::to_string(maxLineLength) + " characters"};
        for (char c : line)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
                throw Fault{"the line holds characters that are not text (is this a replay "
                            "file?)"};
        return true;
    }
    int line() const { return _line; }
    // Whether the last line read ended in a line break.
    bool broken() const { return _broken; }

private:
    std::string_view _text;
    std::size_t _pos = 0;
    int _line = 0;
    bool _broken = false;
};

void readHeader(Reader& reader, Replay& replay) {
    std::string_view line;
    if (!reader.next(line)) throw Fault{"the file is empty, not a Kestrane replay"};
    auto w = words(line);
    if (w.size() != 2 || w[0] != magic)
        throw Fault{"not a Kestrane replay (the first line should be \"kestrane-replay " +
                    std::to_string(version) + "\")"};
    if (number<int>(w[1], "the format version") != version)
        throw Fault{"this is a replay of format version " + std::string(w[1]) +
                    "; this program reads version " + std::to_string(version)};

    if (!reader.next(line)) throw Fault{"the file ends before its seeds line: it is truncated"};
    w = words(line);
    if (w.size() != 5 || w[0] != "seeds")
        throw Fault{"expected the seeds line \"seeds move=N fire=N background=N play=N\""};
    replay.seeds.moveScript = number<std::uint32_t>(field(w[1], "move"), "the seed");
    replay.seeds.fireScript = number<std::uint32_t>(field(w[2], "fire"), "the seed");
    replay.seeds.background = number<std::uint32_t>(field(w[3], "background"), "the seed");
    replay.seeds.play = number<std::uint32_t>(field(w[4], "play"), "the seed");

    if (!reader.next(line)) throw Fault{"the file ends before its paused line: it is truncated"};
    w = words(line);
    if (w.size() != 2 || w[0] != "paused" || (w[1] != "0" && w[1] != "1"))
        throw Fault{"expected \"paused 0\" or \"paused 1\""};
    replay.paused = w[1] == "1";
}

GameCheck readCheck(const std::vector<std::string_view>& w, const Replay& replay) {
    if (w.size() != 8)
        throw Fault{"expected \"check FRAME score=S lives=L ship=X,Y enemies=E bullets=B "
                    "enemybullets=F\""};
    GameCheck check;
    check.frame = number<int>(w[1], "the frame number");
    const int frames = static_cast<int>(replay.frames.size());
    if (check.frame != frames || frames % Replay::checkInterval != 0 ||
        (!replay.checks.empty() && replay.checks.back().frame == frames))
        throw Fault{"a check of frame " + std::string(w[1]) + " does not belong after frame " +
                    std::to_string(frames)};
    check.score = number<float>(field(w[2], "score"), "the score");
    check.lives = number<int>(field(w[3], "lives"), "the number of lives");
    std::string_view ship = field(w[4], "ship");
    std::size_t comma = ship.find(',');
    if (comma == std::string_view::npos) throw Fault{"expected ship=X,Y"};
    check.shipX = number<float>(ship.substr(0, comma), "the ship's x");
    check.shipY = number<float>(ship.substr(comma + 1), "the ship's y");
    check.enemies = number<int>(field(w[5], "enemies"), "the number of enemies");
    check.bullets = number<int>(field(w[6], "bullets"), "the number of bullets");
    check.enemyBullets = number<int>(field(w[7], "enemybullets"), "the number of enemy bullets");
    return check;
}

ReplayFrame readFrame(const std::vector<std::string_view>& w) {
    ReplayFrame frame;
    frame.step = number<double>(w[0], "the frame's step");
    if (std::isnan(frame.step)) throw Fault{"the frame's step is not a number"};
    if (std::isinf(frame.step)) throw Fault{"the frame's step is not a finite number"};
    if (frame.step < 0) throw Fault{"the frame's step " + quoted(w[0]) + " is negative"};
    if (frame.step > maxStep)
        throw Fault{"the frame's step " + quoted(w[0]) + " is longer than a day"};
    frame.step += 0.0; // -0 is 0
    for (std::size_t i = 1; i < w.size(); ++i)
        frame.keys.push_back(keyToken(w[i]));
    return frame;
}

// The frame that ends a run of checked frames must have its check before the next line.
void expectCheckDone(const Replay& replay) {
    const int frames = static_cast<int>(replay.frames.size());
    if (frames > 0 && frames % Replay::checkInterval == 0 &&
        (replay.checks.empty() || replay.checks.back().frame != frames))
        throw Fault{"frame " + std::to_string(frames) + " has no check line after it"};
}

void readBody(Reader& reader, Replay& replay) {
    std::string_view line;
    while (reader.next(line)) {
        auto w = words(line);
        if (w.empty()) throw Fault{"empty line"};
        if (w[0] == "check") {
            replay.checks.push_back(readCheck(w, replay));
        } else if (w[0] == "end") {
            // A file cut inside its end line could still read as one ("end +E" of
            // "end +ESCAPE"): the line break after it shows that it is whole.
            if (!reader.broken())
                throw Fault{"the end line has no line break: the file is truncated"};
            for (std::size_t i = 1; i < w.size(); ++i)
                replay.endKeys.push_back(keyToken(w[i]));
            if (reader.next(line)) throw Fault{"text after the end line"};
            return;
        } else {
            expectCheckDone(replay);
            replay.frames.push_back(readFrame(w));
        }
    }
    throw Fault{"the file ends without its end line: it is truncated"};
}

void appendNumber(std::string& out, double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendNumber(std::string& out, float value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendKeys(std::string& out, const std::vector<KeyMessage>& keys) {
    for (const KeyMessage& key : keys) {
        out += ' ';
        out += keyPrefix(key.kind);
        out += keyName(key.key);
    }
}

void appendCheck(std::string& out, const GameCheck& c) {
    out += "check " + std::to_string(c.frame) + " score=";
    appendNumber(out, c.score);
    out += " lives=" + std::to_string(c.lives) + " ship=";
    appendNumber(out, c.shipX);
    out += ',';
    appendNumber(out, c.shipY);
    out += " enemies=" + std::to_string(c.enemies) + " bullets=" + std::to_string(c.bullets) +
           " enemybullets=" + std::to_string(c.enemyBullets) + "\n";
}

bool sameFloat(float a, float b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

unsigned int KeyMessage::message() const {
    return kind == RELEASE ? WM_KEYUP : WM_KEYDOWN;
}

long KeyMessage::lParam() const {
    switch (kind) {
    case PRESS:
        return 1;
    case REPEAT:
        return 1 | KEY_PREVIOUSLY_DOWN;
    default:
        return 1 | KEY_PREVIOUSLY_DOWN | KEY_TRANSITION_UP;
    }
}

bool KeyMessage::from(unsigned int message, unsigned int wParam, long lParam, KeyMessage& key) {
    if (message == WM_KEYUP)
        key.kind = RELEASE;
    else if (message == WM_KEYDOWN)
        key.kind = (lParam & KEY_PREVIOUSLY_DOWN) ? REPEAT : PRESS;
    else
        return false;
    key.key = wParam;
    return true;
}

bool GameCheck::operator==(const GameCheck& o) const {
    return frame == o.frame && sameFloat(score, o.score) && lives == o.lives &&
           sameFloat(shipX, o.shipX) && sameFloat(shipY, o.shipY) && enemies == o.enemies &&
           bullets == o.bullets && enemyBullets == o.enemyBullets;
}

std::string writeReplay(const Replay& replay) {
    std::string out = std::string(magic) + " " + std::to_string(version) + "\n";
    const GameSeeds& s = replay.seeds;
    out += "seeds move=" + std::to_string(s.moveScript) + " fire=" + std::to_string(s.fireScript) +
           " background=" + std::to_string(s.background) + " play=" + std::to_string(s.play) + "\n";
    out += replay.paused ? "paused 1\n" : "paused 0\n";
    auto check = replay.checks.begin();
    for (std::size_t i = 0; i < replay.frames.size(); ++i) {
        appendNumber(out, replay.frames[i].step);
        appendKeys(out, replay.frames[i].keys);
        out += '\n';
        while (check != replay.checks.end() && check->frame <= int(i + 1))
            appendCheck(out, *check++);
    }
    out += "end";
    appendKeys(out, replay.endKeys);
    out += '\n';
    return out;
}

ReplayReading readReplay(std::string_view text) {
    ReplayReading reading;
    Reader reader(text);
    try {
        readHeader(reader, reading.replay);
        readBody(reader, reading.replay);
    } catch (const Fault& fault) {
        reading.replay = Replay();
        reading.errorLine = std::max(reader.line(), 1);
        reading.error = fault.message;
    }
    return reading;
}

ReplayReading loadReplayFile(const std::string& path) {
    ReplayReading reading;
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    bool failed = !file;
    if (file) {
        char buffer[65536];
        std::size_t got;
        while (text.size() <= maxFileSize && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, got);
        // A folder opens but does not read.
        failed = std::ferror(file) != 0;
        std::fclose(file);
    }
    if (failed) {
        reading.error = path + ": cannot read the replay: " + std::strerror(errno);
        return reading;
    }
    if (text.size() > maxFileSize) {
        reading.error = path + ": the file is larger than " + std::to_string(maxFileSize >> 20) +
                        " MB, too large for a replay";
        return reading;
    }
    reading = readReplay(text);
    if (!reading.ok())
        reading.error = path + ":" + std::to_string(reading.errorLine) + ": " + reading.error;
    return reading;
}

} // namespace Tarvex
