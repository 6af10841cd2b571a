#pragma once
// A keyframed track that drives one variable elsewhere by linear interpolation
// between its keys, once or in a loop. Used for flashes and blinks.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace Pyrane {

template <typename T> class Timeline {
public:
    enum vType { RELATIVE = 0, ABSOLUTE = 1 };

    struct Keyframe {
        Keyframe(double time, const T& value, vType type) : time(time), value(value), type(type) {}
        bool operator<(const Keyframe& other) const { return time < other.time; }

        double time;
        T value;
        vType type;
    };

    Timeline() = default;

    // A copy drives the same variable with the same keys but starts from the beginning.
    Timeline(const Timeline& other)
        : _target(other._target), _keys(other._keys), _loop(other._loop) {}
    Timeline& operator=(const Timeline& other) {
        if (this != &other) {
            _target = other._target;
            _keys = other._keys;
            _loop = other._loop;
            _baseValue = T();
            rewind();
        }
        return *this;
    }
    // Moving (as a vector of timelines does when it grows) keeps the progress.
    Timeline(Timeline&&) = default;
    Timeline& operator=(Timeline&&) = default;

    void targetObject(T& variable) { _target = &variable; }
    T* target() const { return _target; }

    // Keys of equal time keep the order in which they were added; the track restarts.
    void addKey(const Keyframe& key) {
        _keys.push_back(key);
        std::stable_sort(_keys.begin(), _keys.end());
        _nextKey = 0;
        _lastKey = noKey();
        _time = 0;
    }
    const std::vector<Keyframe>& keys() const { return _keys; }

    void loop(bool on) { _loop = on; }
    bool loop() const { return _loop; }
    double time() const { return _time; }

    void rewind() {
        _time = 0;
        _baseValue = T();
        _nextKey = 0;
        _lastKey = noKey();
    }

    void animate(double dt) {
        if (!_target || finished()) return;
        _time += dt;
        if (_keys.empty()) return;
        if (_lastKey == noKey()) _baseValue = *_target;

        while (_nextKey < _keys.size() && _keys[_nextKey].time <= _time) {
            const Keyframe& key = _keys[_nextKey];
            if (key.type == ABSOLUTE)
                _baseValue = key.value;
            else
                _baseValue += key.value;
            _lastKey = _nextKey++;
        }

        if (_nextKey == _keys.size()) {
            if (!_loop) {
                // The level reached: the last key's value for an absolute key, the sum
                // of the changes for a relative one.
                *_target = _baseValue;
                return;
            }
            // Wrap around and leave the variable as it is; the next update takes it
            // as the new base.
            _time -= _keys.back().time;
            _nextKey = 0;
            _lastKey = noKey();
            return;
        }

        // Before the first key there is nothing to interpolate from: the variable holds.
        if (_lastKey == noKey()) return;
        const Keyframe& prev = _keys[_nextKey - 1];
        const Keyframe& next = _keys[_nextKey];
        double f = (_time - prev.time) / (next.time - prev.time);
        T delta = next.type == ABSOLUTE ? T(next.value - _baseValue) : next.value;
        *_target = T(_baseValue + delta * f);
    }

private:
    static constexpr std::size_t noKey() { return static_cast<std::size_t>(-1); }
    // Every key passed on a track that does not loop.
    bool finished() const { return !_loop && !_keys.empty() && _nextKey == _keys.size(); }

    T* _target = nullptr;
    std::vector<Keyframe> _keys;
    double _time = 0;
    std::size_t _nextKey = 0;       // index of the next key to be reached
    std::size_t _lastKey = noKey(); // index of the key last passed; noKey() since the start
    T _baseValue = T();
    bool _loop = true;
};

} // namespace Pyrane
