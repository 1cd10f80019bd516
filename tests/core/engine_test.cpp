// The engine's own rules: empty numbers, the screen model's doors for the
// player's actions, and the timers on the game's clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/game.h"
#include "replay/headless.h"

namespace vendral {
namespace {

TEST(GameState, EmptyNumbersCountAsZeroAndPrintAsNothing) {
    GameState s;
    EXPECT_TRUE(s.curetries.empty());
    EXPECT_EQ(s.curetries.str(), "");
    EXPECT_TRUE(s.magicpotion == 0);  // a count never bought compares as 0
    s.curetries += 1;                 // the first wrong cure: empty becomes 1
    EXPECT_EQ(s.curetries.str(), "1");
    s.life = 10;
    s.life = s.life - 30;  // a blow may take life below 0; it prints as it is
    EXPECT_EQ(s.life.str(), "-20");
    s.life = 5'000'000'000'000LL;  // far past 32 bits: no overflow in a long game
    s.life += 1000;
    EXPECT_EQ(s.life.str(), "5000000001000");
    const auto dump = s.dump();
    ASSERT_EQ(dump.size(), 22u);
    EXPECT_EQ(dump.front().first, "life");
    EXPECT_EQ(dump.back().first, "jumpcode");
}

// A small test screen with two timers and a few controls, so the engine's
// rules are checked apart from the story.
struct Probe {
    static inline std::vector<std::string> log;
    static inline std::function<void(Game&)> duringSlowBox;
};

void onSlowTick(Game& g) {
    Probe::log.push_back("slow@" + std::to_string(g.now()));
    g.message("slow box");
}
void onFastTick(Game& g) { Probe::log.push_back("fast@" + std::to_string(g.now())); }
void onLoadProbe(Game& g) {
    Probe::log.push_back("load");
    g.message("loading");
}
void onButton(Game& g) {
    Probe::log.push_back("button");
    g.screen("Probe")["btn"].hide();
}
void onDropped(Game&, Control& source) {
    Probe::log.push_back("drop " + std::string(source.name()));
    source.hide();
}
bool watcherIdle(const Game& g) { return g.state.life > 0; }
void onWatch(Game& g) { Probe::log.push_back("watch@" + std::to_string(g.now())); }

// Side by side, so that none covers another's click.
constexpr std::array probeControls{
    button("btn", "Press", 0, 0, 100, 100),
    button("greyed", "Greyed", 150, 0, 100, 100).disabled(),
    label("target", "", 300, 0, 100, 100),
    label("plain", "", 450, 0, 100, 100),
    image("icon", "disc", 0, 150, 480, 480).draggable("Cheat"),
    image("still", "disc", 500, 150, 480, 480),
    textbox("box", 0, 700, 100, 100),
    timer("slow", 100, true),
    timer("fast", 30, false),
    timer("watch", 1, true),
};
constexpr std::array probeClicks{ClickBinding{"btn", &onButton}};
constexpr std::array probeDrops{DropBinding{"target", &onDropped}};
constexpr std::array probeTicks{TickBinding{"slow", &onSlowTick}, TickBinding{"fast", &onFastTick},
                                TickBinding{"watch", &onWatch, &watcherIdle}};
constexpr ScreenPart probePart{.controls = probeControls, .clicks = probeClicks, .drops = probeDrops, .ticks = probeTicks};
constexpr std::array<const ScreenPart*, 1> probeParts{&probePart};
constexpr ScreenDef probeScreen{.name = "Probe", .caption = "Probe", .width = 1000, .height = 1000,
                                .parts = probeParts, .load = &onLoadProbe};
constexpr std::array<const ScreenDef*, 1> probeScreens{&probeScreen};

// A platform whose message boxes let time pass while they are open.
class SlowPlatform : public HeadlessPlatform {
public:
    Game* game = nullptr;
    int waitInBox = 0;
    void messageBox(const std::string& text) override {
        HeadlessPlatform::messageBox(text);
        if (game && waitInBox > 0) {
            const int ms = waitInBox;
            waitInBox = 0;  // one long box, not boxes within boxes
            wait(*game, ms);
        }
    }
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        Probe::log.clear();
        platform.game = &game;
        platform.onLine = [this](const std::string& l) { lines.push_back(l); };
    }
    SlowPlatform platform;
    Game game{platform, probeScreens};
    std::vector<std::string> lines;
};

TEST_F(EngineTest, TimersCountFromTheEndOfTheLoadStepAndNeverReenter) {
    game.state.life = 1;       // the watcher has nothing to do
    platform.waitInBox = 500;  // the load step's box stays open for half a second
    game.start();
    // No tick ran while the load step was still asking: the clock moved, the timers waited.
    EXPECT_EQ(Probe::log, std::vector<std::string>{"load"});
    Screen& s = game.screen("Probe");
    s["fast"].start();
    Probe::log.clear();
    platform.waitInBox = 200;  // the first slow tick's box stays open 200 ms
    platform.wait(game, 100);
    // The slow timer ran once at 600; while its box was open the fast timer
    // kept ticking, and the slow one did not start a second run.
    std::vector<std::string> expected{"fast@530", "fast@560", "fast@590", "slow@600", "fast@620", "fast@650",
                                      "fast@680", "fast@710", "fast@740", "fast@770", "fast@800", "slow@800"};
    EXPECT_EQ(Probe::log, expected);
    Probe::log.clear();
    s["fast"].stop();
    platform.wait(game, 250);
    // It ticked once as soon as its box closed (above), not once for every
    // interval it missed, and goes on every 100 ms from there.
    EXPECT_EQ(Probe::log, (std::vector<std::string>{"slow@900", "slow@1000"}));
    EXPECT_FALSE(s["watch"].ticking);
}

TEST_F(EngineTest, AnIdleTimerCostsNothingAndActsAtOnceWhenNeeded) {
    game.state.life = 10;
    game.start();
    Probe::log.clear();
    game.screen("Probe")["slow"].stop();
    platform.wait(game, 1000);
    EXPECT_TRUE(Probe::log.empty());  // a thousand 1 ms ticks that would do nothing were skipped
    game.state.life = 0;
    platform.wait(game, 0);
    EXPECT_EQ(Probe::log, std::vector<std::string>{"watch@1000"});
    ASSERT_TRUE(game.nextDue().has_value());
    EXPECT_EQ(*game.nextDue(), 1001);
}

TEST_F(EngineTest, OnlyVisibleEnabledControlsOfAVisibleScreenTakeClicks) {
    EXPECT_EQ(game.click("Probe", "btn"), Refusal::NotLoaded);
    EXPECT_EQ(game.click("Nowhere", "btn"), Refusal::UnknownScreen);
    game.start();
    EXPECT_EQ(game.click("Probe", "nothing"), Refusal::UnknownControl);
    EXPECT_EQ(game.click("Probe", "greyed"), Refusal::ControlDisabled);
    EXPECT_EQ(game.click("Probe", "box"), Refusal::NotClickable);
    EXPECT_EQ(game.click("Probe", "slow"), Refusal::NotClickable);
    EXPECT_EQ(game.click("Probe", "plain"), Refusal::None);  // a label without a handler: nothing happens
    EXPECT_EQ(game.click("Probe", "btn"), Refusal::None);
    EXPECT_EQ(game.click("Probe", "btn"), Refusal::ControlHidden);
    game.hide("Probe");
    EXPECT_EQ(game.click("Probe", "plain"), Refusal::ScreenHidden);
    EXPECT_EQ(Probe::log, (std::vector<std::string>{"load", "button"}));
    // A button shown again keeps the caption and enabled state it had.
    Screen& s = game.screen("Probe");
    s["btn"].setCaption("Again");
    s["btn"].disable();
    s["btn"].show();
    EXPECT_EQ(s["btn"].caption(), "Again");
    EXPECT_FALSE(s["btn"].enabled());
}

TEST_F(EngineTest, OnlyADraggableImageDroppedOnALabelWithADropHandlerActs) {
    game.start();
    Screen& s = game.screen("Probe");
    EXPECT_EQ(game.drag("Probe", "still", "Probe", "target"), Refusal::NotDraggable);
    EXPECT_EQ(game.drag("Probe", "icon", "Probe", "plain"), Refusal::None);  // dropped where nothing reacts
    EXPECT_TRUE(s["icon"].visible());
    EXPECT_EQ(game.drag("Probe", "icon", "Probe", "target"), Refusal::None);
    EXPECT_FALSE(s["icon"].visible());
    EXPECT_EQ(game.drag("Probe", "icon", "Probe", "target"), Refusal::ControlHidden);
    EXPECT_EQ(Probe::log, (std::vector<std::string>{"load", "drop icon"}));
    EXPECT_EQ(game.type("Probe", "box", "any text <b>&</b>"), Refusal::None);
    EXPECT_EQ(s["box"].caption(), "any text <b>&</b>");
    EXPECT_EQ(game.type("Probe", "btn", "x"), Refusal::NotTextBox);
}

TEST_F(EngineTest, NothingRunsOrShowsAfterTheEnd) {
    game.start();
    game.end();
    game.end();
    game.message("after the end");
    EXPECT_EQ(game.click("Probe", "btn"), Refusal::Ended);
    EXPECT_FALSE(game.nextDue().has_value());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "end"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "message: after the end"), 0);
}

// Two clocks of the time of day and a plain one-second timer, none running
// until the test starts them.
void onClockA(Game& g) { Probe::log.push_back("A@" + std::to_string(g.now())); }
void onClockB(Game& g) { Probe::log.push_back("B@" + std::to_string(g.now())); }
void onPlain(Game& g) { Probe::log.push_back("plain@" + std::to_string(g.now())); }
constexpr std::array clockControls{timer("a", 1000, false).clock(), timer("b", 2000, false).clock(),
                                   timer("plain", 1000, false)};
constexpr std::array clockTicks{TickBinding{"a", &onClockA}, TickBinding{"b", &onClockB},
                                TickBinding{"plain", &onPlain}};
constexpr ScreenPart clockPart{.controls = clockControls, .ticks = clockTicks};
constexpr std::array<const ScreenPart*, 1> clockParts{&clockPart};
constexpr ScreenDef clockScreen{.name = "Probe", .caption = "Clocks", .width = 100, .height = 100,
                                .parts = clockParts};
constexpr std::array<const ScreenDef*, 1> clockScreens{&clockScreen};

// A real clock: the wall clock reads game time plus `offset`.
class WallPlatform : public HeadlessPlatform {
public:
    std::optional<std::int64_t> offset;
    std::optional<std::int64_t> wallClockOffset() override { return offset; }
};

std::vector<std::string> clockTicksOver(std::optional<std::int64_t> offset) {
    WallPlatform platform;
    platform.offset = offset;
    Game game{platform, clockScreens};
    game.start();
    Probe::log.clear();
    Screen& s = game.screen("Probe");
    platform.wait(game, 100);
    s["a"].start();
    s["plain"].start();
    platform.wait(game, 200);
    s["b"].start();
    platform.wait(game, 3000);
    return Probe::log;
}

TEST(Clocks, OnARealClockEveryClockTurnsWithTheWallClocksSecond) {
    // The wall clock's second turns at game times 750, 1750, ...: both clocks
    // tick then, whenever they were started; the plain timer keeps its own
    // phase, and so does everything on a scripted clock.
    const std::int64_t offset = 1'765'000'000'250;
    EXPECT_EQ(clockTicksOver(offset),
              (std::vector<std::string>{"A@750", "plain@1100", "A@1750", "B@1750", "plain@2100", "A@2750",
                                        "plain@3100"}));
    EXPECT_EQ(clockTicksOver(std::nullopt),
              (std::vector<std::string>{"A@1100", "plain@1100", "A@2100", "plain@2100", "B@2300", "A@3100",
                                        "plain@3100"}));
}

// A clock that sits idle while life is above 0, and one whose first tick
// opens a message box the player leaves open for 2.5 seconds.
bool idleWhileAlive(const Game& g) { return g.state.life > 0; }
void onIdleClock(Game& g) { Probe::log.push_back("idle@" + std::to_string(g.now())); }
void onBoxedClock(Game& g) {
    Probe::log.push_back("boxed@" + std::to_string(g.now()));
    if (g.state.money == 0) {
        g.state.money = 1;
        g.message("a long look");
    }
}
constexpr std::array stretchControls{timer("idle", 1000, false).clock(), timer("boxed", 1000, false).clock()};
constexpr std::array stretchTicks{TickBinding{"idle", &onIdleClock, &idleWhileAlive},
                                  TickBinding{"boxed", &onBoxedClock}};
constexpr ScreenPart stretchPart{.controls = stretchControls, .ticks = stretchTicks};
constexpr std::array<const ScreenPart*, 1> stretchParts{&stretchPart};
constexpr ScreenDef stretchScreen{.name = "Probe", .caption = "Stretches", .width = 100, .height = 100,
                                  .parts = stretchParts};
constexpr std::array<const ScreenDef*, 1> stretchScreens{&stretchScreen};

// A real clock whose message boxes stay open for 2.5 seconds of it.
class WallBoxPlatform : public WallPlatform {
public:
    Game* game = nullptr;
    void messageBox(const std::string& text) override {
        HeadlessPlatform::messageBox(text);
        if (game) wait(*game, 2500);
    }
};

// The ticks of one clock ("idle" or "boxed") started at 100 ms: the idle
// clock stands idle until 3 s and is watched to 5.5 s; the boxed one's box
// holds the clock 2.5 s longer.
std::vector<std::string> ticksAfterStretch(std::optional<std::int64_t> offset, const char* clock) {
    WallBoxPlatform platform;
    platform.offset = offset;
    Game game{platform, stretchScreens};
    platform.game = &game;
    game.start();
    Probe::log.clear();
    game.state.life = 1;
    platform.wait(game, 100);
    game.screen("Probe")[clock].start();
    platform.wait(game, 2900);
    game.state.life = 0;
    platform.wait(game, 2500);
    return Probe::log;
}

TEST(Clocks, AfterAnIdleStretchOrALongBoxAClockKeepsTheWallClocksSecond) {
    // The wall second turns at game times 750, 1750, ...: the clock acts
    // at once when its stretch ends, then ticks on the wall second again.
    const std::int64_t offset = 1'765'000'000'250;
    EXPECT_EQ(ticksAfterStretch(offset, "idle"), (std::vector<std::string>{"idle@3000", "idle@3750", "idle@4750"}));
    EXPECT_EQ(ticksAfterStretch(offset, "boxed"),
              (std::vector<std::string>{"boxed@750", "boxed@3250", "boxed@3750", "boxed@4750", "boxed@5750"}));
    // A scripted clock has no wall second: a whole interval after the stretch.
    EXPECT_EQ(ticksAfterStretch(std::nullopt, "idle"),
              (std::vector<std::string>{"idle@3000", "idle@4000", "idle@5000"}));
    EXPECT_EQ(ticksAfterStretch(std::nullopt, "boxed"),
              (std::vector<std::string>{"boxed@1100", "boxed@3600", "boxed@4600", "boxed@5600"}));
}

TEST(RandomSource, DrawsWholeNumbersZeroToNineAndRepeatsBySeed) {
    RandomSource a, b;
    a.seed(42);
    b.seed(42);
    std::array<int, 10> seen{};
    for (int i = 0; i < 10000; ++i) {
        const int d = a.digit();
        ASSERT_GE(d, 0);
        ASSERT_LE(d, 9);
        ASSERT_EQ(d, b.digit());
        ++seen[static_cast<std::size_t>(d)];
    }
    for (int n : seen) EXPECT_GT(n, 800);  // every digit comes, roughly evenly
}

}  // namespace
}  // namespace vendral
