// vendral-replay [--seed N] [SCRIPT]: plays a script of player actions on the
// game without a window and prints what the player would have seen.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "replay/replay.h"

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seed" && i + 1 < argc) {
            try {
                seed = std::stoull(argv[++i]);
            } catch (...) {
                std::cerr << "vendral-replay: --seed takes a whole number\n";
                return 2;
            }
        } else if (arg == "--help" || arg == "-h") {
            std::cout << "usage: vendral-replay [--seed N] [SCRIPT]\n";
            return 0;
        } else if (file.empty() && (arg.empty() || arg[0] != '-')) {
            file = arg;
        } else {
            std::cerr << "usage: vendral-replay [--seed N] [SCRIPT]\n";
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
    auto driver = vendral::makeHeadlessDriver(seed);
    const int status = vendral::runScript(lines, *driver, std::cout);
    std::cout.flush();
    return status;
}
