#include "common_classes/settings/settings.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <locale>
#include <set>
#include <sstream>
#include <vector>

#include "common_classes/atomicfile.h"

namespace {

// Numbers are read and written the same way whatever the user's locale.
template <typename T> T readNumber(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    T number{};
    in >> number;
    return number;
}

bool equalsIgnoringCase(const std::string& text, const char* word) {
    std::size_t i = 0;
    for (; i < text.size() && word[i] != '\0'; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
        if (c != static_cast<unsigned char>(word[i])) return false;
    }
    return i == text.size() && word[i] == '\0';
}

// A name without "@" means value 0 of that key.
std::string completeName(const std::string& name) {
    return name.find('@') == std::string::npos ? name + "@0" : name;
}

std::string indexedName(const std::string& key, std::size_t index) {
    return key + "@" + std::to_string(index);
}

// Cuts a line into tokens: blanks and tabs separate them; a double quote starts a
// token that runs, blanks included, to the next double quote. Text right in front
// of an opening quote belongs to the quoted token, text right after a closing
// quote starts the next one. A quote left open at the end of the line drops its
// token.
std::vector<std::string> tokenize(const std::string& line) {
    std::vector<std::string> tokens;
    std::string token;
    bool inToken = false;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            if (quoted) {
                tokens.push_back(token);
                token.clear();
                inToken = false;
            } else {
                inToken = true;
            }
            quoted = !quoted;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\n')) {
            if (inToken) tokens.push_back(token);
            token.clear();
            inToken = false;
        } else {
            token += c;
            inToken = true;
        }
    }
    if (inToken && !quoted) tokens.push_back(token);
    return tokens;
}

// The file's text: one line a key, in key order, its values in index order.
std::string entriesText(const std::map<std::string, Settings::Value>& entries) {
    std::set<std::string> keys;
    for (const auto& entry : entries)
        keys.insert(entry.first.substr(0, entry.first.rfind('@')));
    std::string text;
    for (const std::string& key : keys) {
        text += key + " ";
        for (std::size_t i = 0;; ++i) {
            auto value = entries.find(indexedName(key, i));
            if (value == entries.end()) break;
            const std::string& v = value->second.stringValue;
            bool quote = v.find_first_of(" \t") != std::string::npos;
            text += quote ? " \"" + v + "\"" : " " + v;
        }
        text += "\n";
    }
    return text;
}

} // namespace

Settings::Value::Value(const std::string& text)
    : floatValue(readNumber<float>(text)), stringValue(text) {
    if (equalsIgnoringCase(text, "true") || equalsIgnoringCase(text, "on")) {
        intValue = 1;
    } else if (equalsIgnoringCase(text, "false") || equalsIgnoringCase(text, "off")) {
        intValue = 0;
    } else {
        intValue = readNumber<int>(text);
    }
}

Settings::Value& Settings::Value::operator=(const std::string& text) {
    return *this = Value(text);
}

Settings::Value& Settings::Value::operator=(int n) {
    return *this = Value(std::to_string(n));
}

Settings::Value& Settings::Value::operator=(float f) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << f;
    return *this = Value(out.str());
}

Settings::Settings(const std::string& fileName, bool append) {
    load(fileName, append);
}

Settings::Value& Settings::operator[](const std::string& name) {
    return _entries[completeName(name)];
}

bool Settings::exists(const std::string& name) const {
    return _entries.count(completeName(name)) != 0;
}

bool Settings::erase(const std::string& name) {
    return _entries.erase(name) != 0;
}

bool Settings::load(const std::string& fileName, bool append) {
    // A folder opens like a file here but has nothing to read.
    std::error_code error;
    if (std::filesystem::is_directory(fileName, error)) return false;
    std::ifstream in(fileName);
    if (!in.is_open()) return false;
    if (!append) clear();
    std::string line;
    while (std::getline(in, line)) {
        // A file written on Windows ends its lines with a carriage return too.
        if (!in.eof() && !line.empty() && line.back() == '\r') line.pop_back();
        storeLine(line);
    }
    return true;
}

void Settings::storeLine(const std::string& line) {
    std::vector<std::string> tokens = tokenize(line);
    for (const std::string& token : tokens)
        std::cout << ":" << token << "\n";
    if (tokens.empty() || tokens[0].empty() || tokens[0][0] == _commentChar) return;
    const std::string& key = tokens[0];
    auto store = [this](const std::string& name, const std::string& text) {
        _entries[name] = Value(text);
        std::cout << name << " = " << text << "\n";
    };
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        if (i == 1) store(key, tokens[i]);
        store(indexedName(key, i - 1), tokens[i]);
    }
}

bool Settings::save(const std::string& fileName) const {
    return writeFileAtomically(fileName, entriesText(_entries));
}
