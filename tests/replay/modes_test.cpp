// The same script gives the same transcript headless and through the window.
// Fixed cases and seeded random games of the random player are each played
// by `vendral-replay` and `vendral-replay --window` (under Qt's offscreen
// platform) and their transcripts compared line for line; a difference
// prints the script that shows it.
//
// Usage: modes_test REPLAY   (the vendral-replay of the build). Set
// VENDRAL_MODES_GAMES for more random games, VENDRAL_MODES_SEED for others.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../monkey/monkey.h"

namespace vendral::monkey {
namespace {

std::string replayProgram;

std::filesystem::path storyFolder() { return std::filesystem::path(__FILE__).parent_path().parent_path() / "story"; }

struct Transcript {
    int status = -1;
    std::string text;
};

Transcript play(const std::string& script, std::uint64_t seed, bool window) {
    char path[] = "/tmp/vendral-modes-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return {};
    const bool written = write(fd, script.data(), script.size()) == static_cast<ssize_t>(script.size());
    close(fd);
    Transcript t;
    if (written) {
        const std::string command = "'" + replayProgram + "'" + (window ? " --window" : "") + " --seed " +
                                    std::to_string(seed) + " " + path + " 2>/dev/null";
        if (FILE* out = popen(command.c_str(), "r")) {
            char buf[4096];
            std::size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, out)) > 0) t.text.append(buf, n);
            const int status = pclose(out);
            t.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    unlink(path);
    return t;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

// Plays the script both ways; on a difference, says where and shows the script.
::testing::AssertionResult sameBothWays(const std::string& script, std::uint64_t seed, Transcript* headlessOut = nullptr) {
    const Transcript headless = play(script, seed, false), window = play(script, seed, true);
    if (headlessOut) *headlessOut = headless;
    const auto a = linesOf(headless.text), b = linesOf(window.text);
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    if (i == a.size() && i == b.size() && headless.status == window.status) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    failure << "headless (exit " << headless.status << ") and --window (exit " << window.status << ") part at line "
            << i + 1 << ":\n  headless: " << (i < a.size() ? a[i] : "(end)")
            << "\n  window:   " << (i < b.size() ? b[i] : "(end)") << "\nseed " << seed << ", script:\n"
            << script;
    return failure;
}

// The knight's way to Stormer: the story script up to his showing himself.
std::string toStormer() {
    std::ifstream in(storyFolder() / "stormer" / "death_and_win.script");
    std::string script;
    for (std::string line; std::getline(in, line);) {
        script += line + "\n";
        if (line == "click Form1.Command55") return script;
    }
    return {};
}

// Stormer's picture has no click handler and the "Use special swing" button
// lies over its centre: a click on the picture lands beside the button and
// does nothing, in both players. So does a click on any other control there
// that takes no clicks, and every button does what it does in both.
TEST(Modes, EveryControlBesideStormerClicksAlike) {
    const std::string prefix = toStormer();
    ASSERT_FALSE(prefix.empty()) << "the stormer story no longer shows Stormer with Command55";
    Transcript shown, clicked;
    ASSERT_TRUE(sameBothWays(prefix + "state\nscreen Form1\n", 1, &shown));
    ASSERT_NE(shown.text.find("Command59 kind=button caption=\"Use special swing\""), std::string::npos);
    ASSERT_NE(shown.text.find("Image1 kind=image"), std::string::npos);
    EXPECT_TRUE(sameBothWays(prefix + "click Form1.Image1\nstate\nscreen Form1\n", 1, &clicked));
    EXPECT_EQ(clicked.status, 0);
    EXPECT_EQ(clicked.text, shown.text);  // nothing happened
    // Every control on show there.
    int controls = 0;
    for (const std::string& line : linesOf(shown.text)) {
        if (line.rfind("  ", 0) != 0 || line.find(" kind=textbox") != std::string::npos) continue;
        const std::string name = line.substr(2, line.find(' ', 2) - 2);
        EXPECT_TRUE(sameBothWays(prefix + "click Form1." + name + "\nstate\nscreen Form1\n", 1)) << name;
        ++controls;
    }
    EXPECT_GT(controls, 5);
}

// Random games: from the start, or from any point along a story script, a
// few dozen steps of the random player's kinds (legal clicks, clicks on any
// control on show, drops, codes typed, waits, rolls), then every screen.
class Games {
public:
    explicit Games(std::uint64_t seed) : rng_(seed), routes_(storyRoutes(storyFolder())) {}

    // A game's script, as far as the headless game took it, and its seed.
    std::pair<std::string, std::uint64_t> next() {
        Start start;
        start.timeInBoxes = false;  // a script cannot let time pass inside a box
        std::vector<Step> prefix;
        if (!routes_.empty() && pick(2) == 0) {
            const Route& r = routes_[pick(routes_.size())];
            start = r.start;
            prefix.assign(r.steps.begin(), r.steps.begin() + static_cast<std::ptrdiff_t>(pick(r.steps.size() + 1)));
        } else {
            static const char* const names[] = {"Tom", "", " ", "Cheater", "<b>Tom</b> & A&B %s", "\xd7\xa9\xd7\x9c"};
            start.seed = rng_();
            start.name = pick(10) == 0 ? NameAnswer() : NameAnswer(names[pick(std::size(names))]);
        }
        Session s(start);
        try {
            for (const Step& st : prefix)
                if (!s.game->ended()) s.play(st);
            for (int n = 0; n < 40 && !s.game->ended(); ++n) s.play(randomStep(*s.game));
        } catch (...) {
            // A runaway is the random player's to report; the steps so far still make a game.
        }
        std::string script = scriptOf(start, s.steps);
        if (!s.game->ended()) {
            script += "state\n";
            for (const Screen* sc : s.game->loadedScreens()) script += "screen " + std::string(sc->name()) + "\n";
        }
        return {script, start.seed};
    }

private:
    std::size_t pick(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng_() % n); }

    Step randomStep(Game& g) {
        const Choices ch = choicesOf(g);
        Step st;
        st.boxSeed = rng_();
        const std::size_t r = pick(100);
        std::vector<Control*> shown;
        for (Screen* sc : g.loadedScreens())
            if (sc->visible())
                for (Control& c : sc->controls())
                    if (c.visible() && c.kind() != Kind::Timer && c.kind() != Kind::TextBox) shown.push_back(&c);
        if (r < 15 && !shown.empty()) {
            const Control* c = shown[pick(shown.size())];
            st.form = std::string(c->screen().name());
            st.control = std::string(c->name());
        } else if (r < 22 && !ch.draggables.empty() && !shown.empty()) {
            st.kind = Step::Drag;
            const Control* img = ch.draggables[pick(ch.draggables.size())];
            const Control* to = !ch.drops.empty() && pick(2) ? nullptr : shown[pick(shown.size())];
            const Step* drop = to ? nullptr : &ch.drops[pick(ch.drops.size())];
            st.form = std::string(img->screen().name());
            st.control = std::string(img->name());
            st.toForm = to ? std::string(to->screen().name()) : drop->toForm;
            st.target = to ? std::string(to->name()) : drop->target;
        } else if (r < 27 && !ch.textBoxes.empty()) {
            st.kind = Step::Type;
            const Control* box = ch.textBoxes[pick(ch.textBoxes.size())];
            st.form = std::string(box->screen().name());
            st.control = std::string(box->name());
            st.text = pick(3) == 0 ? "hello" : pick(2) ? kCastleCode : kGatesCode;
        } else if (r < 35 || ch.clicks.empty()) {
            st.kind = Step::Wait;
            st.ms = pick(8) == 0 ? 2000 + static_cast<std::int64_t>(pick(20000)) : 1 + static_cast<std::int64_t>(pick(2000));
        } else if (r < 39) {
            st.kind = Step::Roll;
            st.roll = static_cast<int>(pick(10));
        } else {
            st = ch.clicks[pick(ch.clicks.size())];
        }
        return st;
    }

    std::mt19937_64 rng_;
    std::vector<Route> routes_;
};

TEST(Modes, RandomGamesGiveTheSameTranscriptBothWays) {
    const char* games = std::getenv("VENDRAL_MODES_GAMES");
    const char* seed = std::getenv("VENDRAL_MODES_SEED");
    const int count = games && *games ? std::atoi(games) : 80;
    Games g(seed && *seed ? std::strtoull(seed, nullptr, 10) : 20261210);
    int differing = 0;
    for (int i = 0; i < count && differing < 3; ++i) {
        const auto [script, gameSeed] = g.next();
        const auto same = sameBothWays(script, gameSeed);
        EXPECT_TRUE(same) << "game " << i;
        if (!same) ++differing;
    }
}

}  // namespace
}  // namespace vendral::monkey

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: modes_test REPLAY\n");
        return 2;
    }
    vendral::monkey::replayProgram = argv[1];
    return RUN_ALL_TESTS();
}
