#include "tarvex/playeroptions.h"

#include <algorithm>
#include <cstdio>

#include "common_classes/keynames.h"
#include "common_classes/platform/win32defs.h"
#include "common_classes/settings/settings.h"

namespace Tarvex {

const std::array<unsigned int, PlayerOptions::actionCount> PlayerOptions::ownKeys = {
    VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_SPACE, 'P'};
const std::array<const char*, PlayerOptions::actionCount> PlayerOptions::settingsKeys = {
    "keyLeft", "keyRight", "keyUp", "keyDown", "keyFire", "keyPause"};

namespace {

const char* const musicKey = "musicVolume";
const char* const effectsKey = "effectsVolume";
const char* const fullScreenKey = "fullScreen";
const char* const vsyncKey = "vsync";
const char* const modeChange = "640x480";
const char* const desktop = "desktop";

void refuse(const char* key, const std::string& text, const std::string& fallback) {
    std::fprintf(stderr, "kestrane: the setting %s \"%s\" is not usable; %s is used\n", key,
                 text.c_str(), fallback.c_str());
}

// The text of a key present in the settings, or nothing.
std::optional<std::string> textOf(Settings& settings, const char* key) {
    if (!settings.exists(key)) return std::nullopt;
    return settings[key].stringValue;
}

void readVolume(Settings& settings, const char* key, int& volume) {
    const std::optional<std::string> text = textOf(settings, key);
    if (!text) return;
    const bool digits = !text->empty() && text->size() <= 2 &&
                        std::all_of(text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; });
    const int value = digits ? std::stoi(*text) : -1;
    if (value >= 0 && value <= PlayerOptions::maxVolume)
        volume = value;
    else
        refuse(key, *text, std::to_string(volume));
}

void readChoice(Settings& settings, const char* key, const char* yes, const char* no, bool& on) {
    const std::optional<std::string> text = textOf(settings, key);
    if (!text) return;
    if (*text == yes || *text == no)
        on = *text == yes;
    else
        refuse(key, *text, on ? yes : no);
}

} // namespace

bool PlayerOptions::bindable(unsigned int key) {
    return key != VK_F5 && key != VK_F6 && key != VK_F12 && key != VK_ESCAPE && key != 0;
}

bool PlayerOptions::bind(Action action, unsigned int key) {
    if (!bindable(key)) return false;
    for (unsigned int& other : keys)
        if (other == key) other = keys[action];
    keys[action] = key;
    return true;
}

std::optional<unsigned int> PlayerOptions::playKey(unsigned int key, long lParam) const {
    if (lParam & KEY_FROM_PAD) return key;
    for (int a = 0; a < actionCount; ++a)
        if (keys[a] == key) return ownKeys[a];
    if (std::find(ownKeys.begin(), ownKeys.end(), key) != ownKeys.end()) return std::nullopt;
    return key;
}

void PlayerOptions::read(Settings& settings) {
    *this = PlayerOptions();
    readVolume(settings, musicKey, musicVolume);
    readVolume(settings, effectsKey, effectsVolume);
    for (int a = 0; a < actionCount; ++a) {
        const std::optional<std::string> text = textOf(settings, settingsKeys[a]);
        if (!text) continue;
        const std::optional<unsigned int> key = keyFromName(*text);
        if (key && bindable(*key))
            keys[a] = *key;
        else
            refuse(settingsKeys[a], *text, keyName(keys[a]));
    }
    // One key for two actions would leave one of them without a key.
    for (int a = 0; a < actionCount; ++a)
        if (std::count(keys.begin(), keys.end(), keys[a]) > 1) {
            refuse(settingsKeys[a], keyName(keys[a]), "every default key");
            keys = ownKeys;
            break;
        }
    readChoice(settings, fullScreenKey, desktop, modeChange, desktopFullScreen);
    readChoice(settings, vsyncKey, "on", "off", vsync);
}

void PlayerOptions::write(Settings& settings) const {
    settings[musicKey] = musicVolume;
    settings[effectsKey] = effectsVolume;
    for (int a = 0; a < actionCount; ++a)
        settings[settingsKeys[a]] = keyName(keys[a]);
    settings[fullScreenKey] = std::string(desktopFullScreen ? desktop : modeChange);
    settings[vsyncKey] = std::string(vsync ? "on" : "off");
}

} // namespace Tarvex
