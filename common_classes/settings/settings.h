#pragma once
// A small key-to-values store with a plain-text file format. A key holds a list of
// values; value i of key K lives under the name "K@i", and a file read also stores
// value 0 under the bare key K. Every value keeps its text together with a float
// and an integer reading of it, so callers pick the reading they need and saving
// always writes the text back.
#include <map>
#include <string>

class Settings {
public:
    struct Value {
        Value() = default;
        // Reads text three ways: as it is, as a float and as an integer (the words
        // true/on and false/off, in any letter case, read as 1 and 0).
        Value(const std::string& text);

        Value& operator=(const std::string& text);
        Value& operator=(int n);
        // Formatted as a stream does: six significant digits, the shorter of
        // fixed and exponent form.
        Value& operator=(float f);

        float floatValue = 0;
        int intValue = 0;
        std::string stringValue;
    };

    Settings() = default;
    Settings(const std::string& fileName, bool append);

    // The value stored under name ("@0" is added to a name without "@"); a
    // missing entry is created empty.
    Value& operator[](const std::string& name);
    // Whether a value is stored under name ("@0" is added to a name without "@").
    bool exists(const std::string& name) const;
    // Removes the entry of exactly this name; false when there was none.
    bool erase(const std::string& name);
    void clear() { _entries.clear(); }
    std::map<std::string, Value>& entries() { return _entries; }

    // Reads a settings file, echoing what it reads to standard output. Without
    // append the store is emptied first (only once the file has opened). False
    // when the file cannot be opened; the store is then unchanged.
    bool load(const std::string& fileName, bool append);
    // Writes one line per key, keys in byte order, values in index order. The
    // file is written beside the old one and renamed over it, so a failed save
    // leaves the old file whole. False when the file cannot be written.
    bool save(const std::string& fileName) const;

private:
    void storeLine(const std::string& line);

    std::map<std::string, Value> _entries;
    char _commentChar = '#';
};
