#pragma once
// A piecewise-linear curve over a float axis: flat outside its keys, linear between
// neighbouring keys. Points at equal keys make a jump; at the key itself the point
// added last wins.
#include <iterator>
#include <list>

template <typename T> class Gradient {
public:
    struct Entry {
        float key;
        T value;
    };

    void addEntry(float key, const T& value) {
        _entries.push_back(Entry{key, value});
        // list::sort is stable, so points at equal keys keep the order they came in.
        _entries.sort([](const Entry& a, const Entry& b) { return a.key < b.key; });
        ++_count;
    }

    int count() const { return _count; }

    // A curve without points gives T().
    T value(float x) const {
        if (_entries.empty()) return T();
        auto after = _entries.begin();
        while (after != _entries.end() && !(after->key > x))
            ++after;
        if (after == _entries.end()) return _entries.back().value;
        if (after == _entries.begin()) return after->value;
        const Entry& a = *std::prev(after);
        const Entry& b = *after;
        const double av = static_cast<double>(a.value);
        const double bv = static_cast<double>(b.value);
        const double ak = a.key;
        return static_cast<T>(av + (bv - av) * (x - ak) / (b.key - ak));
    }

private:
    std::list<Entry> _entries;
    int _count = 0;
};
