#pragma once
// A cache of resources loaded from files. Asked for a file name, the manager
// returns the object it already loaded under exactly that name, or finds the file
// in its search directories (the working directory first, then the added ones in
// order), has the subclass create the object from the full path, keeps it and
// returns it. The manager owns every object until purge or its destruction.
#include <filesystem>
#include <fstream>
#include <list>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

namespace Pyrane {

template <typename T> class ResourceManager {
public:
    struct Entry {
        std::unique_ptr<T> _object;
        std::string _filename; // the name it was asked for
        std::string _path;     // the search directory it was found in
    };

    static constexpr char separator = '/';

    ResourceManager() { _path.push_back(""); }
    virtual ~ResourceManager() { purge(); }
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // The object loaded under name, loading it on first use. Raises
    // std::runtime_error when no search directory holds the file; errors of the
    // subclass's loading pass through and leave nothing recorded.
    T* get(const std::string& name) {
        if (Entry* entry = getEntry(name)) return entry->_object.get();
        std::string dir;
        if (!getFilePath(name, dir))
            throw std::runtime_error("ResourceManager(Base) - cannot find resource file: " + name);
        T* object = createObject(dir + name);
        addEntry(object, name, dir);
        return object;
    }

    // Adds a search directory at the end of the list, trimmed of surrounding
    // blanks and trailing separators and ended with one separator. A directory
    // already listed, or one that trims to nothing, is not added.
    void addPath(const std::string& dir) {
        std::size_t first = dir.find_first_not_of(" \t\n");
        std::size_t last = dir.find_last_not_of(std::string(" \t\n") + separator);
        if (first == std::string::npos || last == std::string::npos || last < first) return;
        std::string entry = dir.substr(first, last - first + 1) + separator;
        for (const std::string& known : _path)
            if (known == entry) return;
        _path.push_back(entry);
    }

    // Deletes every object; pointers handed out before become invalid.
    void purge() { _entries.clear(); }

    // Takes ownership of object and records it under name, found in dir. When the
    // name is already recorded the old entry stays and object is deleted; false
    // then.
    bool addEntry(T* object, const std::string& name, const std::string& dir) {
        std::unique_ptr<T> owned(object);
        auto found = _entries.find(name);
        if (found != _entries.end()) {
            if (found->second->_object.get() == object) owned.release();
            return false;
        }
        _entries.emplace(name, std::make_unique<Entry>(Entry{std::move(owned), name, dir}));
        return true;
    }

    // The entry recorded under exactly this name, or null.
    Entry* getEntry(const std::string& name) {
        auto found = _entries.find(name);
        return found == _entries.end() ? nullptr : found->second.get();
    }

    // Finds the first search directory in which name opens as a file and stores
    // it in dir; false when there is none.
    bool getFilePath(const std::string& name, std::string& dir) const {
        for (const std::string& candidate : _path) {
            std::string full = candidate + name;
            std::error_code error;
            if (std::filesystem::is_directory(full, error)) continue;
            if (std::ifstream(full, std::ios::binary).is_open()) {
                dir = candidate;
                return true;
            }
        }
        return false;
    }

    // The search directories in search order, each ended with the separator.
    const std::list<std::string>& path() const { return _path; }

    // Creates the resource from the file at fullPath.
    virtual T* createObject(const std::string& fullPath) = 0;

protected:
    // Every recorded resource by the name it was asked for.
    const std::map<std::string, std::unique_ptr<Entry>>& entries() const { return _entries; }

private:
    std::list<std::string> _path;
    std::map<std::string, std::unique_ptr<Entry>> _entries;
};

} // namespace Pyrane
