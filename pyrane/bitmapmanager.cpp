#include "pyrane/bitmapmanager.h"

namespace Pyrane {

BitmapManager::BitmapManager() {
    addPictureFolders();
}

BitmapManager::BitmapManager(Renderer2D& renderer) : _renderer(&renderer) {
    addPictureFolders();
}

void BitmapManager::addPictureFolders() {
    for (const char* dir :
         {"images", "bitmaps", "resources", "resources/images", "resources/bitmaps"})
        addPath(dir);
}

Bitmap* BitmapManager::createObject(const std::string& fullPath) {
    if (_renderer == nullptr) return nullptr;
    return new Bitmap(fullPath, *_renderer, false);
}

void BitmapManager::activateAll() {
    for (const auto& [name, entry] : entries())
        if (entry->_object) entry->_object->activate();
}

} // namespace Pyrane
