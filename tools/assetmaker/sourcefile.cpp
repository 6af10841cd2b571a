#include "tools/assetmaker/sourcefile.h"

#include <fstream>

namespace AssetMaker {

SourceFile::SourceFile(const std::string& path) : _path(path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw AssetError("cannot read '" + path + "'");
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        _lines.push_back({++number, text});
    }
}

bool SourceFile::nextStatement(SourceLine& line, std::vector<std::string>& words) {
    while (!atEnd() && isBlankOrComment(peek().text))
        ++_next;
    if (atEnd()) return false;
    line = next();
    words = splitWords(line.text);
    return true;
}

std::vector<SourceLine> SourceFile::block() {
    std::vector<SourceLine> lines;
    while (!atEnd() && peek().text.find_first_not_of(" \t") != std::string::npos)
        lines.push_back(next());
    return lines;
}

void SourceFile::fail(int line, const std::string& message) const {
    throw AssetError(_path + ":" + std::to_string(line) + ": " + message);
}

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (true) {
        pos = text.find_first_not_of(" \t", pos);
        if (pos == std::string::npos) break;
        std::size_t end = text.find_first_of(" \t", pos);
        if (end == std::string::npos) end = text.size();
        words.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

bool isBlankOrComment(const std::string& text) {
    std::size_t pos = text.find_first_not_of(" \t");
    return pos == std::string::npos || text[pos] == '#';
}

WordReader::WordReader(const SourceFile& file, int line, std::vector<std::string> words,
                       std::size_t first)
    : _file(file), _line(line), _words(std::move(words)), _pos(first) {}

std::string WordReader::word() {
    if (atEnd()) fail("a word is missing at the end of the line");
    return _words[_pos++];
}

double WordReader::number() {
    if (atEnd()) fail("a number is missing at the end of the line");
    double value = 0;
    if (!parseNumber(_words[_pos], value)) fail("'" + _words[_pos] + "' is not a number");
    ++_pos;
    return value;
}

int WordReader::integer() {
    if (atEnd()) fail("a whole number is missing at the end of the line");
    int value = 0;
    if (!parseNumber(_words[_pos], value)) fail("'" + _words[_pos] + "' is not a whole number");
    ++_pos;
    return value;
}

void WordReader::expectEnd() const {
    if (!atEnd()) fail("unexpected words at the end of the line");
}

bool WordReader::numberFollows() const {
    double value = 0;
    return !atEnd() && parseNumber(_words[_pos], value);
}

} // namespace AssetMaker
