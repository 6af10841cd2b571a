#include "tools/assetmaker/songsource.h"

#include <map>

#include "tools/assetmaker/sourcefile.h"

namespace AssetMaker {

namespace {

struct Track {
    int rows = 0;
    std::vector<XmCell> cells;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10; // effect letters go on past F
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Note names as trackers write them: letter, '-' or '#', octave.
int noteNumber(const std::string& text) {
    static const std::string letters = "C D EF G A B";
    if (text.size() != 3 || text[0] < 'A' || text[0] > 'G' || (text[1] != '-' && text[1] != '#') ||
        text[2] < '0' || text[2] > '7')
        return 0;
    int semitone = int(letters.find(text[0])) + (text[1] == '#' ? 1 : 0);
    if (text[1] == '#' && (text[0] == 'E' || text[0] == 'B')) return 0;
    return 1 + (text[2] - '0') * 12 + semitone;
}

class SongReader {
public:
    SongReader(const std::string& path, const InstrumentLibrary& library)
        : _file(path), _library(library) {}

    XmModule read();

private:
    XmCell readCell(const std::string& token, int line, int defaultInstrument);
    void readTrack(const SourceLine& header, const std::vector<std::string>& words);
    int instrumentNumber(const std::string& name, int line) const;

    SourceFile _file;
    const InstrumentLibrary& _library;
    XmModule _module;
    std::vector<std::string> _instrumentNames;
    std::map<std::string, Track> _tracks;
    std::map<std::string, int> _patterns;
};

int SongReader::instrumentNumber(const std::string& name, int line) const {
    for (std::size_t i = 0; i < _instrumentNames.size(); ++i)
        if (_instrumentNames[i] == name) return int(i) + 1;
    _file.fail(line, "'" + name + "' is not among this song's instruments");
}

XmCell SongReader::readCell(const std::string& token, int line, int defaultInstrument) {
    XmCell cell;
    std::size_t cut = token.find_first_of(":!");
    std::string head = token.substr(0, cut);
    std::string rest = cut == std::string::npos ? "" : token.substr(cut);
    if (head == "==") {
        cell.note = xmKeyOff;
    } else if (head != ".") {
        std::string name;
        if (int n = noteNumber(head.substr(0, 3)); n && (head.size() == 3 || head[3] == '/')) {
            cell.note = std::uint8_t(n);
            if (head.size() > 3) name = head.substr(4);
            cell.instrument =
                std::uint8_t(name.empty() ? defaultInstrument : instrumentNumber(name, line));
            if (!cell.instrument) _file.fail(line, "the note '" + head + "' has no instrument");
        } else {
            cell.note = drumNote;
            cell.instrument = std::uint8_t(instrumentNumber(head, line));
        }
    }
    while (!rest.empty()) {
        char kind = rest[0];
        std::size_t next = rest.find_first_of(":!", 1);
        std::string value =
            rest.substr(1, next == std::string::npos ? std::string::npos : next - 1);
        rest = next == std::string::npos ? "" : rest.substr(next);
        if (kind == ':') {
            int v = -1;
            if (!parseNumber(value, v) || v < 0 || v > 64)
                _file.fail(line, "a volume is a whole number 0..64: '" + token + "'");
            cell.volume = std::uint8_t(0x10 + v);
        } else {
            int type = value.size() == 3 ? hexDigit(value[0]) : -1;
            int hi = value.size() == 3 ? hexDigit(value[1]) : -1;
            int lo = value.size() == 3 ? hexDigit(value[2]) : -1;
            if (type < 0 || hi < 0 || hi > 15 || lo < 0 || lo > 15)
                _file.fail(line, "an effect is written !EPP: '" + token + "'");
            cell.effect = std::uint8_t(type);
            cell.param = std::uint8_t(hi * 16 + lo);
        }
    }
    return cell;
}

void SongReader::readTrack(const SourceLine& header, const std::vector<std::string>& words) {
    WordReader reader(_file, header.number, words, 1);
    std::string name = reader.word();
    Track track;
    track.rows = reader.integer();
    int instrument = reader.atEnd() ? 0 : instrumentNumber(reader.word(), header.number);
    reader.expectEnd();
    if (_tracks.count(name)) _file.fail(header.number, "this track is defined twice");

    // Groups: each open bracket remembers where its rows start.
    std::vector<std::size_t> groups;
    for (const SourceLine& line : _file.block()) {
        for (const std::string& token : splitWords(line.text)) {
            if (token == "|") continue;
            if (token == "[") {
                groups.push_back(track.cells.size());
            } else if (token[0] == ']') {
                int times = 1;
                if (token.size() > 1 &&
                    (token[1] != '*' || !parseNumber(token.substr(2), times) || times < 1))
                    _file.fail(line.number, "a group closes with ] or ]*N");
                if (groups.empty()) _file.fail(line.number, "] without [");
                std::vector<XmCell> body(track.cells.begin() + std::ptrdiff_t(groups.back()),
                                         track.cells.end());
                groups.pop_back();
                for (int i = 1; i < times; ++i)
                    track.cells.insert(track.cells.end(), body.begin(), body.end());
            } else {
                track.cells.push_back(readCell(token, line.number, instrument));
            }
        }
    }
    if (!groups.empty()) _file.fail(header.number, "a [ is never closed");
    if (int(track.cells.size()) != track.rows)
        _file.fail(header.number, "track '" + name + "' has " + std::to_string(track.cells.size()) +
                                      " rows, not " + std::to_string(track.rows));
    _tracks[name] = track;
}

XmModule SongReader::read() {
    SourceLine line;
    std::vector<std::string> words;
    while (_file.nextStatement(line, words)) {
        WordReader reader(_file, line.number, words, 1);
        const std::string& key = words[0];
        if (key == "name")
            _module.name = reader.word();
        else if (key == "speed")
            _module.speed = reader.integer();
        else if (key == "bpm")
            _module.bpm = reader.integer();
        else if (key == "channels")
            _module.channels = reader.integer();
        else if (key == "restart")
            _module.restart = reader.integer();
        else if (key == "instruments") {
            while (!reader.atEnd()) {
                std::string name = reader.word();
                auto it = _library.find(name);
                if (it == _library.end())
                    _file.fail(line.number, "no instrument '" + name + "' in the library");
                _instrumentNames.push_back(name);
                _module.instruments.push_back(it->second);
            }
        } else if (key == "track") {
            readTrack(line, words);
            continue;
        } else if (key == "pattern") {
            std::string name = reader.word();
            if (_patterns.count(name)) _file.fail(line.number, "this pattern is defined twice");
            XmPattern pattern;
            pattern.rows = 0;
            std::vector<const Track*> tracks;
            while (!reader.atEnd()) {
                std::string trackName = reader.word();
                if (trackName == "-") {
                    tracks.push_back(nullptr);
                    continue;
                }
                auto it = _tracks.find(trackName);
                if (it == _tracks.end()) _file.fail(line.number, "no track '" + trackName + "'");
                if (pattern.rows && pattern.rows != it->second.rows)
                    _file.fail(line.number, "the tracks of a pattern must be equally long");
                pattern.rows = it->second.rows;
                tracks.push_back(&it->second);
            }
            if (int(tracks.size()) > _module.channels || !pattern.rows)
                _file.fail(line.number, "a pattern names one track a channel, at least one");
            pattern.cells.resize(std::size_t(pattern.rows * _module.channels));
            for (std::size_t c = 0; c < tracks.size(); ++c)
                for (int r = 0; tracks[c] && r < pattern.rows; ++r)
                    pattern.cells[std::size_t(r * _module.channels) + c] =
                        tracks[c]->cells[std::size_t(r)];
            _patterns[name] = int(_module.patterns.size());
            _module.patterns.push_back(pattern);
        } else if (key == "order") {
            while (!reader.atEnd()) {
                std::string name = reader.word();
                auto it = _patterns.find(name);
                if (it == _patterns.end()) _file.fail(line.number, "no pattern '" + name + "'");
                _module.order.push_back(std::uint8_t(it->second));
            }
        } else {
            _file.fail(line.number, "unknown keyword '" + key + "'");
        }
        reader.expectEnd();
    }
    if (_module.order.empty()) throw AssetError(_file.path() + ": the song has no order");
    if (_module.restart < 0 || _module.restart >= int(_module.order.size()))
        throw AssetError(_file.path() + ": the restart position is outside the order");
    return _module;
}

} // namespace

XmModule readSong(const std::string& path, const InstrumentLibrary& library) {
    return SongReader(path, library).read();
}

} // namespace AssetMaker
