#pragma once
// Reading the asset sources: line by line with the file name and line number at hand, so
// that every complaint points at the place to fix.
#include <charconv>
#include <stdexcept>
#include <string>
#include <vector>

namespace AssetMaker {

// A fault in an asset source or in writing an output file.
class AssetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SourceLine {
    int number = 0;
    std::string text;
};

class SourceFile {
public:
    // Reads the whole file; fails with an AssetError when it cannot be read.
    explicit SourceFile(const std::string& path);

    const std::string& path() const { return _path; }
    bool atEnd() const { return _next >= _lines.size(); }
    // The next line, without consuming it.
    const SourceLine& peek() const { return _lines[_next]; }
    const SourceLine& next() { return _lines[_next++]; }
    // The next line that is neither blank nor a comment (first non-blank character '#'),
    // split into words; false at the end of the file.
    bool nextStatement(SourceLine& line, std::vector<std::string>& words);
    // Reads the block of lines that follows, up to a blank line or the end of the file.
    std::vector<SourceLine> block();

    // An error message that names this file and the given line.
    [[noreturn]] void fail(int line, const std::string& message) const;

private:
    std::string _path;
    std::vector<SourceLine> _lines;
    std::size_t _next = 0;
};

// Splits a line at spaces and tabs.
std::vector<std::string> splitWords(const std::string& text);
bool isBlankOrComment(const std::string& text);

// Reads the whole word as a number (an int or a double); false for anything else, trailing
// garbage included.
template <typename T> bool parseNumber(const std::string& word, T& value) {
    const char* end = word.data() + word.size();
    auto result = std::from_chars(word.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && !word.empty();
}

// Reads the key/value pairs of a line such as "freq 440 220 length 0.2": each key takes as
// many numbers as follow it. Used by the sound and instrument sources.
class WordReader {
public:
    WordReader(const SourceFile& file, int line, std::vector<std::string> words, std::size_t first);

    bool atEnd() const { return _pos >= _words.size(); }
    std::string word();
    double number();
    int integer();
    // True when the next word is a number (so an optional argument follows).
    bool numberFollows() const;
    // Fails when words are left over.
    void expectEnd() const;
    [[noreturn]] void fail(const std::string& message) const { _file.fail(_line, message); }

private:
    const SourceFile& _file;
    int _line;
    std::vector<std::string> _words;
    std::size_t _pos;
};

} // namespace AssetMaker
