// The game on its real Qt binding, set up exactly as the game binary sets
// itself up, driven by a player who answers every box, to the moments the
// benchmarks measure:
//
//   bench-game-ui memory    all six screens loaded and shown once (title,
//                           introduction, second journey, Final Battle, the
//                           quit question, the ending); prints peak_rss_kb
//   bench-game-ui battle    the Final Battle after Nilrem has revealed
//                           himself; prints its CPU over 10 s of idling
//   bench-game-ui credits   the ending with all six credits lines rising;
//                           prints its CPU over 10 s, and how far the first
//                           line rose against how far its timer should move it
#include <QApplication>
#include <QIcon>
#include <cstring>
#include <string>

#include "core/game.h"
#include "qt_bench.h"
#include "screens/screens.h"
#include "ui/qt_platform.h"

namespace {

using vendral::Game;
using vendral::QtPlatform;
using vendral::Refusal;

void click(Game& g, const char* form, const char* control) {
    const Refusal r = g.click(form, control);
    if (r != Refusal::None)
        bench::fail(std::string("click ") + form + "." + control + ": " + std::string(vendral::refusalText(r)));
}

bool shown(QtPlatform& p, const char* form) {
    vendral::ScreenWindow* w = p.window(form);
    return w && w->isVisible();
}

// A knight who knows the second jump-ahead code goes straight to the Gates
// and into the Final Battle.
void toBattle(Game& g, QtPlatform& p, int settleMs) {
    click(g, "Form1", "cmdknight");
    if (g.type("Form1", "txtjump", "TEKAVURM") != Refusal::None) bench::fail("cannot type the code");
    click(g, "Form1", "cmdverify");
    click(g, "Form1", "Command138");
    bench::pump(settleMs);
    if (!shown(p, "Form3")) bench::fail("the second journey is not shown");
    click(g, "Form3", "Command53");
    bench::pump(settleMs);
    if (!shown(p, "Form4")) bench::fail("the Final Battle is not shown");
}

// FURY wins the battle at once; the knight takes the sword on display and
// the credits start.
void toCredits(Game& g, QtPlatform& p, int settleMs) {
    click(g, "Form4", "lblactivate");
    click(g, "Form4", "cmdfury");
    bench::pump(settleMs);
    if (!shown(p, "Form6")) bench::fail("the ending is not shown");
    click(g, "Form6", "swrd");
    click(g, "Form6", "cmdselect");
}

int runMemory(Game& g, QtPlatform& p) {
    const int settle = 300;
    bench::pump(settle);
    bench::trace("title shown");
    click(g, "Form1", "cmdintroduction");
    bench::pump(settle);
    if (!shown(p, "Form2")) bench::fail("the introduction is not shown");
    bench::trace("introduction shown");
    click(g, "Form2", "Command1");
    bench::pump(settle);
    toBattle(g, p, settle);
    bench::trace("Final Battle shown");
    click(g, "Form4", "cmdlose");
    bench::pump(settle);
    if (!shown(p, "Form5")) bench::fail("the quit question is not shown");
    bench::trace("quit question shown");
    click(g, "Form5", "Command2");
    bench::pump(settle);
    toCredits(g, p, settle);
    bench::pump(settle);
    bench::trace("ending shown");
    for (const char* form : {"Form1", "Form2", "Form3", "Form4", "Form5", "Form6"})
        if (!p.window(form) || !p.window(form)->shownOnce) bench::fail(std::string(form) + " was never shown");
    bench::pump(1000);
    bench::report("peak_rss_kb", static_cast<double>(bench::peakRssKb()));
    return 0;
}

int runBattle(Game& g, QtPlatform& p, const bench::AutoAnswer& answers) {
    toBattle(g, p, 100);
    // Nilrem shows himself 15 s after the battle screen loaded.
    if (!bench::pumpUntil([&] { return g.screen("Form4")["Image2"].visible(); }, 20000))
        bench::fail("Nilrem never revealed himself");
    if (answers.messages.empty() || answers.messages.back() != QLatin1String("Nilrem reveals himself."))
        bench::fail("the reveal came without its message");
    bench::pump(500);
    const std::string clockBefore = g.screen("Form4")["lbltime"].caption();
    const bench::Load load = bench::measure(10000);
    if (g.screen("Form4")["lbltime"].caption() == clockBefore) bench::fail("the battle clock stood still");
    bench::report("cpu_percent", load.cpuPercent);
    bench::report("wakeups_per_s", load.wakeupsPerSecond);
    bench::report("main_wakeups_per_s", load.mainWakeupsPerSecond);
    return 0;
}

int runCredits(Game& g, QtPlatform& p) {
    toBattle(g, p, 100);
    toCredits(g, p, 100);
    vendral::Screen& f = g.screen("Form6");
    // One more line starts every 1.5 s; the sixth after 9 s.
    if (!bench::pumpUntil([&] { return f["tmrf"].running(); }, 15000)) bench::fail("the credits never all started");
    bench::pump(200);
    const int before = f["lbla"].top();
    const bench::Load load = bench::measure(10000);
    const int steps = (before - f["lbla"].top()) / 15;
    bench::report("cpu_percent", load.cpuPercent);
    bench::report("wakeups_per_s", load.wakeupsPerSecond);
    bench::report("main_wakeups_per_s", load.mainWakeupsPerSecond);
    // Every 4 ms tick of the first line moves it one step, however the
    // ticks are gathered into wake-ups.
    bench::report("first_line_steps", steps);
    if (steps < 2400 || steps > 2600) bench::fail("the first credits line lost or gained ticks");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "memory") && std::strcmp(mode, "battle") && std::strcmp(mode, "credits")) {
        std::fprintf(stderr, "usage: bench-game-ui memory|battle|credits\n");
        return 2;
    }
    // As the game binary does it.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vendral"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vendral"));
    QApplication::setOrganizationDomain(QStringLiteral("vendral.example.org"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Vendral"));
    QApplication::setQuitOnLastWindowClosed(false);
    bench::trace("application made");
    bench::AutoAnswer answers(QStringLiteral("Tom"));
    QtPlatform platform;
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/icon.svg")));
    Game game(platform, vendral::allScreens());
    platform.attach(game);
    game.start();
    bench::trace("name prompt answered");
    if (answers.prompts != 1 || game.state.playername != "Tom") bench::fail("the name prompt was not answered");
    if (!std::strcmp(mode, "memory")) return runMemory(game, platform);
    if (!std::strcmp(mode, "battle")) return runBattle(game, platform, answers);
    return runCredits(game, platform);
}
