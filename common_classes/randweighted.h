#pragma once
// A weighted random choice: each value is drawn with the probability of its weight
// divided by the total. The table has its own generator, seeded by its owner.
#include <algorithm>
#include <list>

#include "common_classes/randgenerator.h"

template <typename T> class RandWeighted {
public:
    struct Entry {
        T value;
        float weight;
    };

    void seed(unsigned long s) { _generator.seed(s); }

    // Sets the weight of a value already in the table, where it stands, or appends it.
    void addValue(T value, float weight) {
        if (Entry* entry = find(value))
            entry->weight = weight;
        else
            _entries.push_back(Entry{value, weight});
        updateTotalWeight();
    }

    // Sets the weight of a value in the table; a value not in it is left out.
    void updateWeight(T value, float weight) {
        if (Entry* entry = find(value)) entry->weight = weight;
        updateTotalWeight();
    }

    void updateTotalWeight() {
        _totalWeight = 0.0f;
        for (const Entry& entry : _entries)
            _totalWeight += entry.weight;
    }

    float totalWeight() const { return _totalWeight; }
    const std::list<Entry>& entries() const { return _entries; }

    T operator()() { return pick(_generator(0.0, _totalWeight)); }

    // The value for a draw r between 0 and the total: the first entry, in table order,
    // whose running sum of weights reaches r. An empty table gives T().
    T pick(double r) const {
        float sum = 0.0f;
        for (const Entry& entry : _entries) {
            sum += entry.weight;
            if (sum >= r) return entry.value;
        }
        return _entries.empty() ? T() : _entries.back().value;
    }

private:
    Entry* find(const T& value) {
        auto it = std::find_if(_entries.begin(), _entries.end(),
                               [&](const Entry& entry) { return entry.value == value; });
        return it == _entries.end() ? nullptr : &*it;
    }

    std::list<Entry> _entries;
    float _totalWeight = 0.0f;
    RandGenerator _generator;
};
