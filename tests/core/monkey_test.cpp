// The random player against the whole game: a seeded batch of games on
// every run, the checks of the random player tried on screens made to fail
// them, every odd name carried through to the messages that show it, and
// (with VENDRAL_MONKEY_GAMES set) the long run that scripts/soak.sh starts.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "../monkey/monkey.h"

namespace vendral::monkey {
namespace {

std::int64_t envNumber(const char* name, std::int64_t fallback) {
    const char* v = std::getenv(name);
    if (!v || !*v) return fallback;
    return std::strtoll(v, nullptr, 10);
}

// The story scripts beside this test: known ways deep into the story, from
// any point of which the random player sets out.
std::filesystem::path storyFolder() {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "story";
}

std::string allReports(const Figures& f) {
    std::string out;
    for (std::size_t i = 0; i < f.reports.size() && i < 8; ++i) out += f.reports[i] + "\n";
    if (f.reports.size() > 8) out += "... and " + std::to_string(f.reports.size() - 8) + " more\n";
    return out;
}

// The seeded batch: a few thousand games, checked after every action.
TEST(Monkey, ThousandsOfRandomGamesBreakNothing) {
    const auto games = envNumber("VENDRAL_MONKEY_BATCH", 25000);
    const auto seed = static_cast<std::uint64_t>(envNumber("VENDRAL_MONKEY_SEED", 20240611));
    Watchdog watchdog(std::chrono::seconds(120));
    Player player(seed);
    addStoryRoutes(player, storyFolder());
    for (std::int64_t i = 0; i < games; ++i) {
        watchdog.pet(seed + static_cast<std::uint64_t>(i));
        player.playGame(seed + static_cast<std::uint64_t>(i));
    }
    const Figures& f = player.figures;
    std::cout << "[ monkey   ] " << f.summary() << "\n";
    if (std::getenv("VENDRAL_MONKEY_VERBOSE")) std::cout << "never clicked:" << neverClicked(f) << "\n" << player.archiveText(40);
    EXPECT_EQ(f.crashes, 0) << allReports(f);
    EXPECT_EQ(f.hangs, 0) << allReports(f);
    EXPECT_EQ(f.reentries, 0) << allReports(f);
    EXPECT_EQ(f.faults, 0) << allReports(f);
    EXPECT_EQ(f.softLocks, 0) << allReports(f);
    // The batch went everywhere: every screen, both codes, endings, and
    // clicks tried behind open message boxes.
    for (const char* form : {"Form1", "Form2", "Form3", "Form4", "Form5", "Form6"})
        EXPECT_TRUE(f.screensSeen.count(form)) << form << " never reached";
    EXPECT_GT(f.castleCodes, 0);
    EXPECT_GT(f.gatesCodes, 0);
    EXPECT_GT(f.ended, games / 10);
    EXPECT_GT(f.boxClicks, 0);
    EXPECT_GT(f.controlsClicked.size(), 250u);
}

// --- The checks themselves, on screens built to fail them ---------------------

void onHideMe(Game& g) { g.screen("Trap")["door"].hide(); }
void onNothing(Game&) {}
void onSay(Game& g) { g.message("Nothing happens."); }
void onSelfTick(Game& g) {
    // A broken tick that runs itself again from inside: what the watch must catch.
    Control& t = g.screen("Trap")["clock"];
    static int depth = 0;
    if (depth++ == 0) t.onTick(g);
    --depth;
    t.stop();
}
void onLoop(Game& g) {
    for (;;) g.message("again");
}

constexpr std::array trapControls{
    button("door", "Open the door", 0, 0, 1000, 500),
    button("wall", "Push the wall", 0, 600, 1000, 500),
    label("talk", "Talk", 0, 1200, 1000, 500),
    label("deaf", "Plain words", 0, 1800, 1000, 500),
    button("exit", "Quit", 0, 2400, 1000, 500).hidden(),
    button("loop", "Loop", 0, 3000, 1000, 500).hidden(),
    timer("clock", 1000, false),
};
constexpr std::array trapClicks{ClickBinding{"door", &onHideMe}, ClickBinding{"wall", &onNothing},
                                ClickBinding{"talk", &onSay}, ClickBinding{"exit", &onNothing},
                                ClickBinding{"loop", &onLoop}};
constexpr std::array trapTicks{TickBinding{"clock", &onSelfTick}};
constexpr ScreenPart trapPart{.controls = trapControls, .clicks = trapClicks, .ticks = trapTicks};
constexpr std::array<const ScreenPart*, 1> trapParts{&trapPart};
constexpr ScreenDef trapScreen{.name = "Trap", .caption = "Trap", .width = 2000, .height = 4000, .parts = trapParts};
constexpr std::array<const ScreenDef*, 1> trapScreens{&trapScreen};

Step clickOn(const char* form, const char* control) {
    Step s;
    s.form = form;
    s.control = control;
    return s;
}
Step click(const char* control) { return clickOn("Trap", control); }

TEST(Monkey, ItsChecksCatchAStrandedPlayerAReenteredTickAndAnEndlessHandler) {
    Start start;
    start.timeInBoxes = false;
    // While the door is there, it is a way on; a click that only talks, a
    // plain label and a wall that does nothing are none.
    EXPECT_FALSE(strandedAt(start, {}, trapScreens));
    EXPECT_TRUE(strandedAt(start, {click("door")}, trapScreens));
    // With a Quit on offer, the player is never stranded.
    {
        Session s(start, false, trapScreens);
        s.play(click("door"));
        s.game->screen("Trap")["exit"].show();
        EXPECT_TRUE(choicesOf(*s.game).quit);
        s.game->screen("Trap")["exit"].hide();
        EXPECT_FALSE(choicesOf(*s.game).quit);
        // The talk is on offer to click, the plain label is not.
        std::vector<std::string> offered;
        for (const Step& c : choicesOf(*s.game).clicks) offered.push_back(c.control);
        EXPECT_EQ(offered, (std::vector<std::string>{"wall", "talk"}));
    }
    // Shortening keeps only the step that strands the player.
    const std::vector<Step> longWay{click("wall"), click("talk"), click("door"), click("wall")};
    const auto shortWay = shorten(longWay, [&](const std::vector<Step>& s) { return strandedAt(start, s, trapScreens); });
    ASSERT_EQ(shortWay.size(), 1u);
    EXPECT_EQ(shortWay[0].control, "door");
    // A tick that starts while its own run is still going is counted.
    {
        Session s(start, false, trapScreens);
        s.game->screen("Trap")["clock"].start();
        Step wait;
        wait.kind = Step::Wait;
        wait.ms = 1500;
        s.play(wait);
        EXPECT_EQ(s.platform->reentries, 1);
        ASSERT_FALSE(s.platform->faults.empty());
        EXPECT_NE(s.platform->faults[0].find("Trap.clock ticked again"), std::string::npos);
    }
    // A handler that never stops showing boxes is cut off.
    {
        Session s(start, false, trapScreens);
        s.game->screen("Trap")["loop"].show();
        EXPECT_THROW(s.play(click("loop")), Runaway);
    }
    // The fingerprint sees every kind of change but the clock.
    {
        Session s(start, false, trapScreens);
        Game& g = *s.game;
        const auto before = fingerprint(g);
        g.screen("Trap")["deaf"].setCaption("Other words");
        EXPECT_NE(fingerprint(g), before);
        g.screen("Trap")["deaf"].setCaption("Plain words");
        EXPECT_EQ(fingerprint(g), before);
        g.state.curetries += 1;
        EXPECT_NE(fingerprint(g), before);
    }
}

// --- Names of every kind, as typed ---------------------------------------------

std::vector<std::string> messagesOf(const Session& s) {
    std::vector<std::string> out;
    for (const std::string& l : s.lines)
        if (l.rfind("message: ", 0) == 0) out.push_back(l.substr(9));
    return out;
}

TEST(Monkey, EveryKindOfNameAndCodeIsKeptAndShownAsTyped) {
    for (const std::string& name : oddTexts()) {
        SCOPED_TRACE(oneLine(name.substr(0, 40)));
        const bool stranger = name.empty() || reservedName(name);
        const std::string kept = stranger ? "Stranger" : name;
        // The introduction's Quit says the name back.
        {
            Start start;
            start.name = name;
            Session s(start, true);
            EXPECT_EQ(s.game->state.playername, kept);
            ASSERT_EQ(s.play(clickOn("Form1", "cmdintroduction")), Refusal::None);
            ASSERT_EQ(s.play(clickOn("Form2", "Command2")), Refusal::None);
            EXPECT_TRUE(s.game->ended());
            ASSERT_FALSE(messagesOf(s).empty());
            EXPECT_EQ(messagesOf(s).back(),
                      oneLine("WHAT! Did you not want to play or accidently hit this button, " + kept + "?"));
            EXPECT_EQ(s.lines.back(), "end");
        }
        // The same text as a code is refused with the same words and stays in the box.
        {
            Start start;
            start.name = "Tom";
            Session s(start, true);
            ASSERT_EQ(s.play(clickOn("Form1", "cmdknight")), Refusal::None);
            Step type;
            type.kind = Step::Type;
            type.form = "Form1";
            type.control = "txtjump";
            type.text = name;
            ASSERT_EQ(s.play(type), Refusal::None);
            ASSERT_EQ(s.play(clickOn("Form1", "cmdverify")), Refusal::None);
            EXPECT_EQ(messagesOf(s).back(), "Choose a character or enter in the correct password!");
            EXPECT_EQ(s.game->screen("Form1")["txtjump"].caption(), name);
            EXPECT_TRUE(s.game->screen("Form1")["cmdverify"].visible());
        }
    }
}

// --- The long run ---------------------------------------------------------------

// Reads a child's figures and its error output to the end of both.
void drain(int out, int err, std::string& figures, std::string& errors) {
    pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
    int open = 2;
    char buf[65536];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
                continue;
            }
            (i == 0 ? figures : errors).append(buf, static_cast<std::size_t>(n));
        }
    }
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

// A child's figures, as one line of numbers and then the reports.
std::string encode(const Figures& f) {
    std::ostringstream o;
    o << "F " << f.games << " " << f.resumed << " " << f.actions << " " << f.messages << " " << f.ticks << " "
      << f.boxClicks << " " << f.ended << " " << f.castleCodes << " " << f.gatesCodes << " " << f.crashes << " "
      << f.hangs << " " << f.softLocks << " " << f.reentries << " " << f.faults << "\n";
    for (const auto& s : f.screensSeen) o << "S " << s << "\n";
    for (const auto& c : f.controlsClicked) o << "C " << c << "\n";
    for (const auto& r : f.reports) o << "R " << r.size() << "\n" << r;
    return o.str();
}

void decode(const std::string& text, Figures& f, std::int64_t& gamesDone) {
    std::istringstream in(text);
    std::string tag;
    while (in >> tag) {
        if (tag == "G") {
            in >> gamesDone;
        } else if (tag == "F") {
            Figures c;
            std::int64_t crashes = 0;
            in >> c.games >> c.resumed >> c.actions >> c.messages >> c.ticks >> c.boxClicks >> c.ended >>
                c.castleCodes >> c.gatesCodes >> crashes >> c.hangs >> c.softLocks >> c.reentries >> c.faults;
            c.crashes = crashes;
            f.add(c);
        } else if (tag == "S" || tag == "C") {
            std::string v;
            in.get();
            std::getline(in, v);
            (tag == "S" ? f.screensSeen : f.controlsClicked).insert(v);
        } else if (tag == "R") {
            std::size_t n = 0;
            in >> n;
            in.get();
            std::string r(n, '\0');
            in.read(r.data(), static_cast<std::streamsize>(n));
            f.reports.push_back(r);
        }
    }
}

// VENDRAL_MONKEY_GAMES games, in batches each played by a child process,
// so that a crash, a sanitizer's report or a handler that never returns is
// counted and the run goes on with the next batch.
TEST(Monkey, LongRun) {
    const auto games = envNumber("VENDRAL_MONKEY_GAMES", 0);
    if (games <= 0) GTEST_SKIP() << "set VENDRAL_MONKEY_GAMES to play the long run";
    const auto seed = static_cast<std::uint64_t>(envNumber("VENDRAL_MONKEY_SEED", 1));
    const std::int64_t batch = std::max<std::int64_t>(1, envNumber("VENDRAL_MONKEY_PER_CHILD", 500));
    Figures total;
    const auto started = std::chrono::steady_clock::now();
    for (std::int64_t first = 0; first < games;) {
        const std::int64_t count = std::min(batch, games - first);
        int out[2], err[2];
        ASSERT_EQ(pipe(out), 0);
        ASSERT_EQ(pipe(err), 0);
        std::cout.flush();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(out[0]);
            close(err[0]);
            dup2(err[1], 2);
            Watchdog watchdog(std::chrono::seconds(300));
            Player player(seed * 1000003u + static_cast<std::uint64_t>(first));
            addStoryRoutes(player, storyFolder());
            for (std::int64_t i = 0; i < count; ++i) {
                const auto gameSeed = seed + static_cast<std::uint64_t>(first + i);
                watchdog.pet(gameSeed);
                writeAll(out[1], "G " + std::to_string(i) + "\n");
                player.playGame(gameSeed);
            }
            writeAll(out[1], "G " + std::to_string(count) + "\n" + encode(player.figures));
            close(out[1]);
            std::_Exit(0);
        }
        close(out[1]);
        close(err[1]);
        std::string figures, errors;
        drain(out[0], err[0], figures, errors);
        int status = 0;
        waitpid(child, &status, 0);
        std::int64_t done = 0;
        decode(figures, total, done);
        const bool clean = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (!clean) {
            // The game that was being played when the child died is counted,
            // and the next batch goes on after it.
            const bool sanitizer = errors.find("Sanitizer") != std::string::npos ||
                                   errors.find("runtime error:") != std::string::npos;
            const bool hung = WIFEXITED(status) && WEXITSTATUS(status) == 3;
            if (sanitizer) ++total.sanitizerReports;
            if (hung)
                ++total.hangs;
            else
                ++total.crashes;
            total.games += done + 1;
            total.reports.push_back("child for games " + std::to_string(first) + "+" + std::to_string(done) +
                                    " (seed " + std::to_string(seed + static_cast<std::uint64_t>(first + done)) +
                                    ") died:\n" + errors.substr(0, 20000));
            first += done + 1;
        } else {
            first += count;
        }
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::cout << "[ monkey   ] " << first << "/" << games << " games, " << static_cast<int>(secs) << " s\n";
    }
    std::cout << "[ monkey   ] " << total.summary() << "\n";
    std::cout << "[ monkey   ] screens reached:";
    for (const auto& s : total.screensSeen) std::cout << " " << s;
    std::cout << "\n";
    for (const auto& r : total.reports) std::cout << "----\n" << r << "\n";
    EXPECT_EQ(total.crashes + total.sanitizerReports + total.hangs + total.softLocks + total.reentries + total.faults, 0);
}

}  // namespace
}  // namespace vendral::monkey
