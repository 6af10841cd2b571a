#include "tarvex/commandline.h"

#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <string_view>

namespace Tarvex {

namespace {

constexpr int usageFault = 2;

struct Option {
    const char* name;
    // The name of the option's value in the help ("FILE"), or null for an option without
    // one.
    const char* value;
    const char* help;
    // Applies the option; `argument` is its value, or null for an option without one.
    void (*apply)(Options& options, const char* argument, std::ostream& out);
};

const Option optionTable[] = {
    {"--help", nullptr, "show this help and quit",
     [](Options& o, const char*, std::ostream& out) {
         out << helpText();
         o.run = false;
     }},
    {"--version", nullptr, "show the version and quit",
     [](Options& o, const char*, std::ostream& out) {
         out << versionText();
         o.run = false;
     }},
    {"--record", "FILE", "record the next game started from the menu in FILE",
     [](Options& o, const char* file, std::ostream&) { o.recordFile = file; }},
    {"--replay", "FILE", "show the game recorded in FILE, then the menu",
     [](Options& o, const char* file, std::ostream&) { o.replayFile = file; }},
    {"--scores", nullptr, "print the table of records and quit",
     [](Options& o, const char*, std::ostream&) { o.scores = true; }},
    {"--shot", "FRAME:FILE", "with --replay: save frame FRAME as a PNG in FILE",
     [](Options& o, const char* shot, std::ostream&) { o.shotArguments.push_back(shot); }},
};

const char* const keysHelp = R"(Keys (steering, fire and pause can be changed in the options):
  any key                    start a game from the title menu
  Tab                        the options, from the title menu
  arrow keys                 steer
  Space, Control, Shift, Z   fire
  P                          pause; a game also pauses when the window loses
                             the focus or is minimised
  Escape                     back to the title menu; quit from the title menu
  F5, F6                     step through the screen modes: four window sizes
                             and full screen
  F12                        save a screenshot in the pictures folder

Gamepad:
  d-pad, left stick          steer
  A, B, X, right trigger     fire
  Y                          the options, from the title menu
  Start                      pause; start a game from the title menu
  Back                       back to the title menu; quit from the title menu

Options (up and down choose, left and right change, fire or Return acts):
  music and effects volume 0 to 10, the keys, full screen as a 640 x 480 mode
  or at the desktop's own resolution, vsync, defaults. They are kept in
  kestrane.conf as musicVolume, effectsVolume, keyLeft, keyRight, keyUp,
  keyDown, keyFire, keyPause (key names such as LEFT, SPACE, Z), fullScreen
  (640x480 or desktop) and vsync (on or off).

Initials, after a game that enters the table of records:
  up, down                   change the letter
  fire, Return               take the letter; the third ends the entry
  left, Backspace            back a letter
  Escape                     keep the initials shown

Left alone for 20 seconds, the title menu shows the table of records and the
replays of its games; any key but F5, F6 and F12 returns to the title.

The settings (kestrane.conf), the hiscore, the table of records
(kestrane.records) and the replays of its games (record-*.replay) are kept in
data/ beside the program where that folder can be written, else in
$XDG_DATA_HOME/kestrane, by default in ~/.local/share/kestrane. Watch a
record's game with --replay FILE; --scores names each file. Screenshots go to
XDG_PICTURES_DIR (user-dirs.dirs), else ~/Pictures, else beside the settings.
)";

const Option* findOption(std::string_view name) {
    for (const Option& option : optionTable)
        if (name == option.name) return &option;
    return nullptr;
}

// The program is to end with this status once the complaint is written.
Options ending(int exitCode) {
    Options options;
    options.run = false;
    options.exitCode = exitCode;
    return options;
}

Options usageError(std::ostream& err, const std::string& complaint) {
    err << "kestrane: " << complaint << "\nTry 'kestrane --help' for more information.\n";
    return ending(usageFault);
}

Options failure(std::ostream& err, const std::string& complaint) {
    err << "kestrane: " << complaint << "\n";
    return ending(1);
}

// The absolute path of a file to be written, or the reason it cannot be written there.
std::string writablePath(const std::string& given, std::string& reason) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file = fs::absolute(given, error);
    if (error) {
        reason = error.message();
        return "";
    }
    const fs::path folder = file.parent_path();
    if (fs::is_directory(file, error))
        reason = "it is a folder";
    else if (!fs::is_directory(folder, error) || ::access(folder.c_str(), W_OK) != 0)
        reason = "the folder " + folder.string() + " cannot be written";
    return reason.empty() ? file.string() : "";
}

// FRAME:FILE, FRAME a frame number from 0.
std::optional<ReplayShot> readShot(const std::string& argument) {
    const std::size_t colon = argument.find(':');
    if (colon == 0 || colon == std::string::npos || colon + 1 == argument.size()) return {};
    ReplayShot shot;
    const char* first = argument.data();
    const auto [end, error] = std::from_chars(first, first + colon, shot.frame);
    if (error != std::errc() || end != first + colon || shot.frame < 0) return {};
    shot.file = argument.substr(colon + 1);
    return shot;
}

// Reads the replay and checks that the recording and the pictures can be saved, before the
// window opens: a game played to the end must not be lost for want of a folder.
Options prepareReplays(Options options, std::ostream& err) {
    if (!options.recordFile.empty() && !options.replayFile.empty())
        return usageError(err, "--record and --replay cannot be used together");
    if (options.scores && (!options.recordFile.empty() || !options.replayFile.empty()))
        return usageError(err, "--scores cannot be used with --record or --replay");
    if (!options.shotArguments.empty() && options.replayFile.empty())
        return usageError(err, "--shot needs --replay");
    for (const std::string& argument : options.shotArguments) {
        std::optional<ReplayShot> shot = readShot(argument);
        if (!shot) return usageError(err, "--shot needs FRAME:FILE, not '" + argument + "'");
        std::string reason;
        const std::string given = shot->file;
        shot->file = writablePath(given, reason);
        if (!reason.empty())
            return failure(err, "cannot save frame " + std::to_string(shot->frame) + " in " +
                                    given + ": " + reason);
        options.shots.push_back(*shot);
    }
    if (!options.replayFile.empty()) {
        ReplayReading reading = loadReplayFile(options.replayFile);
        if (!reading.ok()) return failure(err, reading.error);
        options.replay = std::move(reading.replay);
    }
    if (!options.recordFile.empty()) {
        std::string reason;
        const std::string file = writablePath(options.recordFile, reason);
        if (!reason.empty())
            return failure(err, "cannot record in " + options.recordFile + ": " + reason);
        options.recordFile = file;
    }
    return options;
}

} // namespace

std::string helpText() {
    std::ostringstream text;
    text << "Usage: kestrane [OPTION]...\n"
            "Kestrane, an arcade shoot-'em-up: steer a small ship and shoot down the enemies\n"
            "that come down from the top.\n\nOptions:\n";
    for (const Option& option : optionTable) {
        std::string name = option.name;
        if (option.value) name += std::string(" ") + option.value;
        text << "  " << std::left << std::setw(25) << name << "  " << option.help << "\n";
    }
    text << "\n" << keysHelp;
    return text.str();
}

std::string versionText() {
    return "kestrane " KESTRANE_VERSION "\n";
}

Options readCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    Options options;
    for (int i = 1; i < argc && options.run; ++i) {
        std::string_view word = argv[i];
        const Option* option = findOption(word);
        if (!option) {
            if (word.size() > 1 && word[0] == '-')
                return usageError(err, "unknown option '" + std::string(word) + "'");
            return usageError(err, "unexpected argument '" + std::string(word) + "'");
        }
        const char* argument = nullptr;
        if (option->value) {
            if (i + 1 >= argc)
                return usageError(err, std::string("option '") + option->name + "' needs " +
                                           option->value);
            argument = argv[++i];
        }
        option->apply(options, argument, out);
    }
    return options.run ? prepareReplays(std::move(options), err) : options;
}

} // namespace Tarvex
