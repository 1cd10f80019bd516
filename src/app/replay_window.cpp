// vendral-replay-window [--window] [--seed N] [SCRIPT]: the scripted player
// through the real window. vendral-replay runs it for --window, so that its
// own headless runs never load the toolkit.
#include "replay/replay.h"
#include "ui/window_driver.h"

int main(int argc, char** argv) {
    return vendral::replayMain(argc, argv, [argv](const std::vector<vendral::ScriptLine>& lines, std::uint64_t seed,
                                                  std::ostream& out) {
        // Qt sees only the program's name: the script is the player's, not Qt's.
        return vendral::replayInWindow(1, argv, lines, seed, out);
    });
}
