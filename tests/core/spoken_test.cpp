// What a screen reader is handed after each step: reading order, clocks and
// rising lines left out, the choices line only when the choices change, a
// covered button never offered, nothing told twice, and the repeat key.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/game.h"
#include "core/pictures.h"
#include "core/spoken.h"
#include "replay/headless.h"
#include "replay/replay.h"
#include "screens/screens.h"

namespace vendral {
namespace {

// A platform whose clock moves only when told and which hands every step's
// announcement to the test, as a binding would.
class ListeningPlatform : public Platform {
public:
    std::optional<SpokenWatch> watch;
    std::vector<Announcement> heard;
    std::int64_t clock = 0;

    void messageBox(const std::string&) override {}
    std::optional<std::string> prompt(const std::string&, const std::string&) override { return "Ann"; }
    std::int64_t nowMs() override { return clock; }
    std::string timeText() override { return "t" + std::to_string(clock); }
    std::string dateText() override { return "d" + std::to_string(clock / 1000); }
    std::uint64_t randomSeed() override { return 1; }
    void endProgram() override {}
    void stepEnded(const Control* tick) override {
        if (watch) heard.push_back(watch->step(tick));
    }
};

// 400 × 200 pixels.
constexpr std::array boardControls{
    label("right", "Right", 3000, 0, 1500, 300),
    label("left", "Left", 0, 0, 1500, 300),
    label("story", "", 0, 450, 6000, 900),
    label("clock", "", 4500, 2700, 1500, 300),
    label("credit", "Thanks", 0, 2700, 1500, 300).hidden(),
    button("go", "Go", 0, 1500, 1500, 450),
    button("under", "Under", 1500, 1500, 1500, 450),
    button("lid", "Lid", 1500, 1500, 1500, 450),  // a later button: wholly over "under"
    image("cup", "cup", 3000, 1500, 600, 600),
    image("disc", "disc", 3600, 1500, 480, 480).draggable("Cheat"),
    button("blank", "", 4500, 1500, 900, 450).pic("start").hidden(),
    timer("tick", 1000, true).clock(),
    timer("rise", 10, false),
};

void onGo(Game& g) {
    Screen& s = g.screen("Board");
    s["story"].setCaption("You go on.");
    // Changed and changed back within one step: nothing to tell.
    s["right"].setCaption("Right?");
    s["right"].setCaption("Right");
    s["blank"].show();
}
void onLid(Game& g) {
    Screen& s = g.screen("Board");
    s["lid"].hide();
    s["rise"].start();
}
void onCup(Game& g) { g.screen("Board")["cup"].setPicture("sword"); }
void onBlank(Game& g) { g.screen("Board")["left"].move(3000, 600); }
void onTick(Game& g) { g.screen("Board")["clock"].setCaption(g.timeText()); }
void onRise(Game& g) {
    Control& c = g.screen("Board")["credit"];
    c.show();
    c.move(c.left(), c.top() - 300);
}

constexpr std::array boardClicks{
    ClickBinding{"go", &onGo},     ClickBinding{"lid", &onLid},     ClickBinding{"under", &onGo},
    ClickBinding{"cup", &onCup},   ClickBinding{"blank", &onBlank},
};
constexpr std::array boardTicks{TickBinding{"tick", &onTick}, TickBinding{"rise", &onRise}};
constexpr ScreenPart boardPart{.controls = boardControls, .clicks = boardClicks, .ticks = boardTicks};
constexpr std::array<const ScreenPart*, 1> boardParts{&boardPart};
constexpr ScreenDef boardScreen{.name = "Board", .caption = "Board", .width = 6000, .height = 3000, .parts = boardParts};
constexpr std::array<const ScreenDef*, 1> boardScreens{&boardScreen};

struct Board {
    ListeningPlatform platform;
    Game game{platform, boardScreens};
    Board() {
        platform.watch.emplace(game);
        game.start();
    }
    Screen& screen() { return game.screen("Board"); }
    const Announcement& last() { return platform.heard.back(); }
    void wait(std::int64_t ms) {
        const std::int64_t until = platform.clock + ms;
        while (auto due = game.nextDue()) {
            if (*due > until) break;
            platform.clock = std::max(platform.clock, *due);
            game.runDueTimers();
        }
        platform.clock = until;
    }
    // Every line heard since the step numbered `from`.
    std::vector<std::string> heardSince(std::size_t from) {
        std::vector<std::string> all;
        for (std::size_t i = from; i < platform.heard.size(); ++i)
            all.insert(all.end(), platform.heard[i].lines.begin(), platform.heard[i].lines.end());
        return all;
    }
};

TEST(Spoken, LabelsAreToldInReadingOrderByTheirCurrentPlaces) {
    Board b;
    Screen& s = b.screen();
    // The table lists "right" first; the player reads "left" first. The
    // empty story label and the clock with no time yet are not read.
    ASSERT_EQ(b.platform.heard.size(), 1u);
    const auto& first = b.last().lines;
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0], s["left"].caption());
    EXPECT_EQ(first[1], s["right"].caption());
    EXPECT_EQ(first[2].rfind("Choices: ", 0), 0u);
    EXPECT_EQ(b.last().readFrom, &s["left"]);

    // Moved below the story, "left" now reads after it.
    s["left"].move(0, 600);
    s["left"].setCaption("Later");
    ASSERT_EQ(b.game.click("Board", "go"), Refusal::None);
    const auto& lines = b.last().lines;
    ASSERT_EQ(lines.size(), 3u);  // and the picture button shown: the choices
    EXPECT_EQ(lines[0], s["story"].caption());
    EXPECT_EQ(lines[1], "Later");
}

TEST(Spoken, ClocksAndRisingLinesAreNotToldOnTheirOwn) {
    Board b;
    Screen& s = b.screen();
    const std::size_t before = b.platform.heard.size();
    b.wait(3000);
    // The clock ticked three times and its label reads the time, but no
    // step had anything to tell.
    EXPECT_EQ(s["clock"].caption(), b.platform.timeText());
    EXPECT_TRUE(b.game.showsClock(s["clock"]));
    EXPECT_FALSE(b.game.showsClock(s["left"]));
    for (std::size_t i = before; i < b.platform.heard.size(); ++i) EXPECT_TRUE(b.platform.heard[i].empty());

    // The line rises every 10 ms: told once when it shows, never as it moves
    // on the screen or out of it; brought back into the screen it is news again.
    const std::size_t fromLid = b.platform.heard.size();
    ASSERT_EQ(b.game.click("Board", "lid"), Refusal::None);
    b.wait(200);
    const auto lines = b.heardSince(fromLid);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), s["credit"].caption()), 1);
    EXPECT_LT(s["credit"].top(), 0);
    const std::size_t gone = b.platform.heard.size();
    s["rise"].stop();
    s["credit"].move(0, 2700);
    ASSERT_EQ(b.game.click("Board", "go"), Refusal::None);
    const auto back = b.heardSince(gone);
    EXPECT_EQ(std::count(back.begin(), back.end(), s["credit"].caption()), 1);
    EXPECT_EQ(std::count(back.begin(), back.end(), std::string("Right")), 0);  // changed and back in one step
}

TEST(Spoken, TheChoicesAreNamedOnlyWhenTheyChange) {
    Board b;
    Screen& s = b.screen();
    // "under" lies wholly beneath "lid" and the disc can only be dragged.
    const auto offered = choicesOnOffer(b.game);
    const std::vector<const Control*> expected{&s["go"], &s["lid"], &s["cup"]};
    EXPECT_EQ(offered, expected);
    EXPECT_EQ(choicesLine(offered), "Choices: " + s["go"].caption() + ", " + s["lid"].caption() + ", " +
                                        std::string(pictureWords("cup")));

    // A click that changes no choice names none.
    ASSERT_EQ(b.game.click("Board", "go"), Refusal::None);
    const std::size_t afterGo = b.platform.heard.size();
    ASSERT_EQ(b.game.click("Board", "blank"), Refusal::None);  // moves a label only
    EXPECT_TRUE(b.last().empty());

    // The picture button with no caption is named by its picture; the
    // clicked picture by its new picture; the uncovered button comes on offer.
    ASSERT_EQ(b.game.click("Board", "cup"), Refusal::None);
    EXPECT_EQ(b.last().lines.back(), choicesLine(choicesOnOffer(b.game)));
    EXPECT_NE(b.last().lines.back().find(std::string(pictureWords("sword"))), std::string::npos);
    EXPECT_NE(b.last().lines.back().find(std::string(pictureWords("start"))), std::string::npos);
    ASSERT_EQ(b.game.click("Board", "lid"), Refusal::None);
    const auto now = choicesOnOffer(b.game);
    EXPECT_NE(std::find(now.begin(), now.end(), &s["under"]), now.end());
    EXPECT_EQ(std::find(now.begin(), now.end(), &s["lid"]), now.end());
    EXPECT_GT(b.platform.heard.size(), afterGo);

    // Once nothing is left to press, the player hears so.
    s.disable({"go", "under", "blank"});
    s["cup"].hide();
    ASSERT_EQ(b.game.click("Board", "disc"), Refusal::None);  // lands on the disc, which takes no click
    EXPECT_EQ(b.last().lines.back(), "Choices: none");
}

TEST(Spoken, ReadingRestartsAtTheNewsNeverAtAChoice) {
    Board b;
    Screen& s = b.screen();
    ASSERT_EQ(b.game.click("Board", "go"), Refusal::None);
    EXPECT_EQ(b.last().readFrom, &s["story"]);
    // Nothing new to read: reading starts at the situation, the largest label.
    ASSERT_EQ(b.game.click("Board", "lid"), Refusal::None);
    EXPECT_EQ(b.last().readFrom, situationLabel(s));
    EXPECT_EQ(situationLabel(s), &s["story"]);
    ASSERT_NE(b.last().readFrom, nullptr);
    EXPECT_EQ(b.last().readFrom->kind(), Kind::Label);
}

TEST(Spoken, TheRepeatKeyTellsTheSituationTheStatusAndTheChoices) {
    HeadlessPlatform platform;
    platform.queueName("Ann");
    Game game(platform, allScreens());
    game.start();
    ASSERT_EQ(game.click("Form1", "cmdwizard"), Refusal::None);
    ASSERT_EQ(game.click("Form1", "cmdstart"), Refusal::None);
    Screen& f = game.screen("Form1");
    const Announcement a = repeatAnnouncement(game);
    ASSERT_EQ(a.lines.size(), 6u);
    EXPECT_EQ(a.readFrom, &f["Label2"]);
    EXPECT_EQ(a.lines[0], f["Label2"].caption());
    // The status labels in reading order: the class and life and magic on
    // the top row, then the money.
    EXPECT_EQ(a.lines[1], f["Label1"].caption());
    EXPECT_EQ(a.lines[2], f["lbllife"].caption());
    EXPECT_EQ(a.lines[3], f["lblmagic"].caption());
    EXPECT_EQ(a.lines[4], f["Label3"].caption());
    EXPECT_EQ(a.lines[5], choicesLine(choicesOnOffer(game)));
    // No internal name is ever read.
    for (const std::string& line : a.lines)
        for (const Control& c : f.controls()) EXPECT_EQ(line.find(std::string(c.name())), std::string::npos) << line;

    // With no screen on show (the game has not started) only the choices remain.
    HeadlessPlatform idle;
    Game unstarted(idle, allScreens());
    EXPECT_EQ(repeatAnnouncement(unstarted).lines, std::vector<std::string>{"Choices: none"});
}

TEST(Spoken, TheScriptedPlayerTellsAfterTheMessagesAndRepeatsOnlyWhenSpoken) {
    const std::string script = "name Ann\nclick Form1.cmdwizard\nrepeat\n";
    std::string plain, spoken;
    EXPECT_EQ(replayHeadless(script, plain), 2);
    EXPECT_NE(plain.find("error: line 3: repeat: repeat is played only with --spoken"), std::string::npos);
    EXPECT_EQ(plain.find("spoken:"), std::string::npos);
    ASSERT_EQ(replayHeadless(script, spoken, 1, allScreens(), true), 0) << spoken;
    // The hero's message box comes before what changed on the screen.
    const auto box = spoken.find("message: You are Master Wizard!");
    const auto told = spoken.find("spoken: Wizard\n");
    ASSERT_NE(box, std::string::npos);
    ASSERT_NE(told, std::string::npos);
    EXPECT_LT(box, told);
    EXPECT_NE(spoken.find("repeat: Choices: "), std::string::npos);
    // Without the repeat the spoken transcript is the plain one with lines added.
    std::string plainNoRepeat, spokenNoRepeat;
    ASSERT_EQ(replayHeadless("name Ann\nclick Form1.cmdwizard\n", plainNoRepeat), 0);
    ASSERT_EQ(replayHeadless("name Ann\nclick Form1.cmdwizard\n", spokenNoRepeat, 1, allScreens(), true), 0);
    std::string stripped;
    for (std::size_t at = 0, end; at < spokenNoRepeat.size(); at = end + 1) {
        end = spokenNoRepeat.find('\n', at);
        const std::string line = spokenNoRepeat.substr(at, end - at);
        if (line.rfind("spoken: ", 0) != 0) stripped += line + "\n";
    }
    EXPECT_EQ(stripped, plainNoRepeat);
}

TEST(Spoken, ABleedingStatusWaitsForOtherNews) {
    // A knight stunned in the Final Battle bleeds a life a second. Those
    // ticks tell nothing; the player's next action tells the life once, as
    // it is then, and the stun's end tells it with the actions given back.
    const std::string stunned =
        "name Tom\nclick Form1.cmdknight\ntype Form1.txtjump TEKAVURM\nclick Form1.cmdverify\n"
        "click Form1.Command138\nroll 6\nclick Form3.Command53\nroll 5\nclick Form4.knightba\n";
    std::string bled, acted;
    ASSERT_EQ(replayHeadless(stunned + "wait 5000\nstate\n", bled, 1, allScreens(), true), 0) << bled;
    const auto stun = bled.find("you are stunned.");
    ASSERT_NE(stun, std::string::npos);
    const std::string afterStun = bled.substr(bled.find('\n', bled.find("spoken: Choices:", stun)) + 1);
    EXPECT_EQ(afterStun.find("spoken:"), std::string::npos) << afterStun;
    const auto life = afterStun.find("state life=");
    ASSERT_NE(life, std::string::npos);
    const std::string lifeNow = afterStun.substr(life + 11, afterStun.find('\n', life) - life - 11);

    ASSERT_EQ(replayHeadless(stunned + "wait 5000\nclick Form4.UFLM\n", acted, 1, allScreens(), true), 0);
    const std::string told = "spoken: Your Life:" + lifeNow + "\n";
    EXPECT_NE(lifeNow, "1000");
    EXPECT_EQ(acted.substr(acted.find("message: Magic refilled")), "message: Magic refilled\n" + told);

    std::string woreOff;
    ASSERT_EQ(replayHeadless(stunned + "wait 301000\n", woreOff, 1, allScreens(), true), 0);
    const auto end = woreOff.find("message: The Stun spell wears off.");
    ASSERT_NE(end, std::string::npos);
    const auto stunTold = woreOff.find('\n', woreOff.find("spoken: Choices:", stun));
    EXPECT_EQ(woreOff.substr(stunTold, end - stunTold).find("spoken:"), std::string::npos);  // 300 s of bleeding
    const std::string tail = woreOff.substr(end);
    EXPECT_EQ(std::count(tail.begin(), tail.end(), '\n'), 3) << tail;  // the box, the life, the choices
    EXPECT_NE(tail.find("spoken: Your Life:"), std::string::npos);
}

}  // namespace
}  // namespace vendral
