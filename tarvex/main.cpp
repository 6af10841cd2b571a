// The program's entry: reads the command line, finds the game's files, runs the game's
// main loop and reports a runtime error that escapes it.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>

#include "common_classes/folders.h"
#include "common_classes/platform/platform.h"
#include "tarvex/commandline.h"
#include "tarvex/game.h"
#include "tarvex/recordstore.h"
#include "tarvex/replay/replayer.h"
#include "tarvex/replay/replayshots.h"

namespace {

// Made on first use: the options are read before the globals of the program are built.
Tarvex::Options& options() {
    static Tarvex::Options read;
    return read;
}

// The game object is a global whose construction opens the window, so the command line is
// read before any global is built: --help and --version then work without a display, and
// a mistyped option never flashes a window. The C library hands the program's arguments to
// the start-up functions it runs, and priority 101 runs this one before every global of
// the program.
__attribute__((constructor(101))) void readOptions(int argc, char** argv, char**) {
    // The standard streams are globals too, not yet built at this point.
    static std::ios_base::Init streams;
    // Each line reaches a file or a pipe as it is printed, not when the program ends:
    // whoever reads the output (a script, a test) waits for lines such as "the game is
    // recorded in FILE".
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    // Before any window exists, so that SDL leaves these signals to the program.
    Platform::catchEndingSignals();
    options() = Tarvex::readCommandLine(argc, argv, std::cout, std::cerr);
    if (options().run && options().scores) {
        // The player's folder as the game would find it, without a window.
        const std::filesystem::path folder =
            Folders::playerData(Platform::programDirectory(), "kestrane");
        Tarvex::printRecords(folder.string(), (folder / "kestrane.dat").string(), std::cout,
                             std::cerr);
        options().run = false;
    }
    if (!options().run) {
        std::cout.flush();
        std::exit(options().exitCode);
    }
}

// Makes the folder with the pictures and sounds the working directory, so the game reads
// them by their relative names however it was started, and tells the game where the
// player's settings and hiscore are kept.
void enterGameFolders() {
    const std::filesystem::path program = Platform::programDirectory();
    if (program.empty()) return;
    std::error_code error;
    std::filesystem::current_path(Folders::assets(program, KESTRANE_DATA_FROM_PROGRAM, "bitmaps"),
                                  error);
    if (error) std::cerr << "kestrane: cannot enter the game's folder: " << error.message() << "\n";
    game.useDataFolder(Folders::playerData(program, "kestrane").string());
}

} // namespace

int main() {
    enterGameFolders();
    // A recording is written when its game ends, and also when the program ends in the
    // middle of it, by the window closing or by an error. The game records every game
    // anyway, for its table of records; --record names a file for the first.
    Tarvex::Recorder& recorder = game.recorder;
    recorder = Tarvex::Recorder(options().recordFile, true);
    std::optional<Tarvex::Replayer> replayer;
    std::optional<Tarvex::ReplayShots> shots;
    if (options().replay) {
        // Pictures are taken from a replay running as fast as it can.
        replayer.emplace(std::move(*options().replay), options().shots.empty());
        game.frameSource(&*replayer);
    }
    if (!options().shots.empty()) {
        shots.emplace(*replayer, options().shots, [](const std::string& file, std::string& error) {
            return game.savePicture(file, error);
        });
        game.frameSource(&*shots);
    }
    try {
        game.mainLoop();
        recorder.finish();
    } catch (const std::exception& e) {
        recorder.finish();
        // The display goes back to its own mode before the box shows on it.
        Platform::shutdown();
        Platform::messageBox(nullptr, e.what(), "Runtime error");
    }
    game.observer(nullptr);
    game.frameSource(nullptr);
    // Whichever way the game ended, the display is given back in its own mode.
    Platform::shutdown();
    Platform::endAsSignalled();
    if (shots && !shots->done()) {
        std::cerr << "kestrane: "
                  << (shots->error().empty() ? "the program ended before every picture was saved"
                                             : shots->error())
                  << "\n";
        return 1;
    }
    return 0;
}
