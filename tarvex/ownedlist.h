#pragma once
// The play state's lists own what they point to: an object leaves a list only to be
// destroyed. These walk such lists.
#include <list>

namespace Tarvex {

// Calls done(object) for each object in list order; each object for which it returns
// true is destroyed and removed, and the walk goes on with the one that followed it.
template <typename T, typename Done> void removeOwnedIf(std::list<T*>& list, Done done) {
    for (auto it = list.begin(); it != list.end();) {
        if (done(*it)) {
            delete *it;
            it = list.erase(it);
        } else {
            ++it;
        }
    }
}

// Draws every object in list order.
template <typename T> void drawOwned(const std::list<T*>& list) {
    for (T* object : list)
        object->draw();
}

// Destroys every object of the list and empties it.
template <typename T> void clearOwned(std::list<T*>& list) {
    for (T* object : list)
        delete object;
    list.clear();
}

} // namespace Tarvex
