// vendral-replay [--window] [--spoken] [--seed N] [SCRIPT]: plays a script of
// player actions on the game and prints what the player would have seen (and
// with --spoken what a screen reader is handed); without a window, or with
// --window through the real one.
//
// This program holds the game logic alone, so that the many headless runs of
// tests, bug reports and the random player load no window toolkit. With
// --window it becomes vendral-replay-window, the same player built with the
// window, found beside this program.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <iostream>
#include <string>

#include "replay/replay.h"

namespace {

// Runs vendral-replay-window from this program's folder with the same
// arguments; returns only when it cannot.
int runInWindow(char** argv) {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
    path = path.substr(0, path.rfind('/') + 1) + "vendral-replay-window";
    argv[0] = path.data();
    execv(path.c_str(), argv);
    const int why = errno;
    if (why == ENOENT)
        std::cerr << "vendral-replay: built without the window (no " << path << ")\n";
    else
        std::cerr << "vendral-replay: cannot run " << path << ": " << std::strerror(why) << "\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--window") return runInWindow(argv);
    const auto playWith = [](bool spoken) {
        return [spoken](const std::vector<vendral::ScriptLine>& lines, std::uint64_t seed, std::ostream& out) {
            auto driver = vendral::makeHeadlessDriver(seed, vendral::allScreens(), spoken);
            return vendral::runScript(lines, *driver, out);
        };
    };
    return vendral::replayMain(argc, argv, playWith(false), playWith(true));
}
