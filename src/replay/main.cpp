// vendral-replay [--window] [--seed N] [SCRIPT]: plays a script of player
// actions on the game and prints what the player would have seen; without a
// window, or with --window through the real one.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "replay/replay.h"
#ifdef VENDRAL_WITH_WINDOW
#include "ui/window_driver.h"
#endif

namespace {

#ifdef VENDRAL_WITH_WINDOW
constexpr const char* kUsage = "usage: vendral-replay [--window] [--seed N] [SCRIPT]\n";
#else
constexpr const char* kUsage = "usage: vendral-replay [--seed N] [SCRIPT]\n";
#endif

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    std::string file;
    [[maybe_unused]] bool window = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seed" && i + 1 < argc) {
            try {
                seed = std::stoull(argv[++i]);
            } catch (...) {
                std::cerr << "vendral-replay: --seed takes a whole number\n";
                return 2;
            }
        } else if (arg == "--window") {
#ifdef VENDRAL_WITH_WINDOW
            window = true;
#else
            std::cerr << "vendral-replay: built without the window\n";
            return 2;
#endif
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (file.empty() && (arg.empty() || arg[0] != '-')) {
            file = arg;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    std::vector<vendral::ScriptLine> lines;
    if (file.empty()) {
        lines = vendral::parseScript(std::cin);
    } else {
        std::ifstream in(file);
        if (!in) {
            std::cerr << "vendral-replay: cannot read " << file << "\n";
            return 2;
        }
        lines = vendral::parseScript(in);
    }
#ifdef VENDRAL_WITH_WINDOW
    if (window) {
        // Qt sees only the program's name: the script is the player's, not Qt's.
        const int status = vendral::replayInWindow(1, argv, lines, seed, std::cout);
        std::cout.flush();
        return status;
    }
#endif
    auto driver = vendral::makeHeadlessDriver(seed);
    const int status = vendral::runScript(lines, *driver, std::cout);
    std::cout.flush();
    return status;
}
