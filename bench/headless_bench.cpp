// bench-headless [--seconds S] [--skip-waits] SCRIPT...
//
// Whole games on the headless platform, counted inside one process: each
// script is a playthrough from the name prompt to the ending's "Quit". The
// scripted player's views (`screen`, `state`) are left out, so what is timed
// is the game itself: the screens, their handlers and their timers. With
// --skip-waits the player also clicks straight on instead of letting time
// pass (watching the credits rise costs a tick every few milliseconds of
// the game's clock, about ten thousand ticks for ten seconds). Every
// playthrough's transcript must end with "end" and match the first one of
// its script; the program prints playthroughs_per_s.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "replay/replay.h"

namespace {

struct Playthrough {
    std::string file;
    std::vector<vendral::ScriptLine> lines;
    std::string transcript;  // of the first run
};

bool play(const Playthrough& p, std::string& transcript) {
    auto driver = vendral::makeHeadlessDriver(1);
    std::ostringstream out;
    const int status = vendral::runScript(p.lines, *driver, out);
    transcript = out.str();
    const std::string last = "\nend\n";
    return status == 0 && transcript.size() >= last.size() &&
           transcript.compare(transcript.size() - last.size(), last.size(), last) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 1.0;
    bool skipWaits = false;
    std::vector<Playthrough> games;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
            continue;
        }
        if (arg == "--skip-waits") {
            skipWaits = true;
            continue;
        }
        std::ifstream in(arg);
        if (!in) {
            std::fprintf(stderr, "bench-headless: cannot read %s\n", arg.c_str());
            return 2;
        }
        Playthrough p;
        p.file = arg;
        for (auto& line : vendral::parseScript(in))
            if (line.command != "screen" && line.command != "state" && !(skipWaits && line.command == "wait"))
                p.lines.push_back(std::move(line));
        games.push_back(std::move(p));
    }
    if (games.empty()) {
        std::fprintf(stderr, "usage: bench-headless [--seconds S] [--skip-waits] SCRIPT...\n");
        return 2;
    }
    for (Playthrough& p : games) {
        if (!play(p, p.transcript)) {
            std::fprintf(stderr, "bench-headless: %s does not play to the end:\n%s", p.file.c_str(),
                         p.transcript.c_str());
            return 3;
        }
    }
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto stop = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    long count = 0;
    std::string transcript;
    auto now = start;
    do {
        for (const Playthrough& p : games) {
            if (!play(p, transcript) || transcript != p.transcript) {
                std::fprintf(stderr, "bench-headless: %s played differently on run %ld\n", p.file.c_str(), count);
                return 3;
            }
            ++count;
        }
        now = Clock::now();
    } while (now < stop);
    const double elapsed = std::chrono::duration<double>(now - start).count();
    std::printf("playthroughs_per_s=%.1f\n", static_cast<double>(count) / elapsed);
    return 0;
}
