// The ending screen (the wizard's promotion and comment, the knight's swords,
// the cheater's ending, the rising credits, "Quit"), the life cheat that
// decides which ending a player gets, and the clocks beside the story.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/game.h"
#include "replay/headless.h"
#include "screens/screens.h"

namespace vendral {
namespace {

const char* const kLines[] = {"lbla", "lblb", "lblc", "lbld", "lble", "lblf"};

// A game started as Tom; `see` keeps every message, `at` decides what else
// is noted while each message box is up.
struct Play {
    HeadlessPlatform platform;
    Game game{platform, allScreens()};
    std::vector<std::string> seen;
    std::function<std::string()> at;

    Play() {
        platform.onLine = [this](const std::string& l) { seen.push_back(at && l != "end" ? at() : l); };
        platform.queueName("Tom");
        game.start();
        seen.clear();
    }
    void click(const char* f, const char* c) { ASSERT_EQ(game.click(f, c), Refusal::None) << f << "." << c; }
    std::vector<std::string> take() { return std::exchange(seen, {}); }
};

// Taken straight to the ending with the given class, name and wrong cures.
struct Ending : Play {
    explicit Ending(const char* hero, const char* name = "Tom", std::optional<std::int64_t> cures = {}) {
        game.state.heroclass = hero;
        game.state.playername = name;
        if (cures) game.state.curetries = *cures;
        game.show("Form6");
    }
    Screen& f() { return game.screen("Form6"); }
    bool shown(const char* c) { return f()[c].visible(); }
    void click(const char* c) { Play::click("Form6", c); }
};

bool startsWith(const std::string& s, const std::string& prefix) { return s.rfind("message: " + prefix, 0) == 0; }

const std::string kClosing = "Thanks for playing my game! If I feel like it, I might make a game called The Duskmere";

TEST(Ending, WizardIsPromotedWithTheCommentHisWrongCuresEarned) {
    const std::pair<std::optional<std::int64_t>, const char*> cases[] = {
        {std::nullopt, "Ah, I see you know how"}, {0, "Ah, I see you know how"}, {1, "You need to practice"},
        {2, "Perhaps you should go see"},         {3, "Ah, you were getting close"}, {4, "I have enrolled you"},
        {5, nullptr},                             {6, "Ah, you have jumped."},       {7, nullptr}};
    for (const auto& [cures, comment] : cases) {
        SCOPED_TRACE(cures ? std::to_string(*cures) : "empty");
        Ending e("Wizard", "Ann", cures);
        EXPECT_NE(e.f()["lbltext"].caption().find("and you, Ann, are promoted to Supreme Wizard."), std::string::npos);
        EXPECT_TRUE(e.shown("suprwizard") && e.shown("lblclick"));
        EXPECT_FALSE(e.shown("swrd") || e.shown("lblenergize") || e.shown("cmdquit"));
        e.click("suprwizard");
        const auto seen = e.take();
        ASSERT_EQ(seen.size(), comment ? 2u : 1u);
        EXPECT_EQ(seen[0], "message: You are now Ann, the Supreme Wizard!");
        if (comment) {
            EXPECT_TRUE(startsWith(seen[1], comment)) << seen[1];
        }
        EXPECT_FALSE(e.shown("suprwizard") || e.shown("lblclick"));
        EXPECT_EQ(e.f()["lbltext"].caption().rfind(kClosing, 0), 0u);
        EXPECT_TRUE(e.shown("cmdquit") && e.f()["tmrstart"].running());
    }
}

TEST(Ending, KnightCyclesTheSwordsAndTakesTheOneOnDisplay) {
    const char* const pictures[] = {"sword_gladonthard", "sword_uthler", "sword_valrath"};
    const char* const names[] = {"Gladonthard", "Uthler", "Valrath"};
    const char* const words[] = {"Brovika.", "Telmun.", "Olvek."};
    for (int clicks = 1; clicks <= 4; ++clicks) {
        SCOPED_TRACE(clicks);
        Ending e("Knight");
        EXPECT_NE(e.f()["lbltext"].caption().find("We can only thank you, Tom, for your courage"), std::string::npos);
        EXPECT_TRUE(e.shown("swrd") && e.shown("lblenergize"));
        EXPECT_FALSE(e.shown("suprwizard") || e.shown("cmdquit"));
        EXPECT_EQ(e.game.click("Form6", "cmdselect"), Refusal::ControlHidden);
        for (int i = 0; i < clicks; ++i) {
            e.click("swrd");
            EXPECT_EQ(e.f()["swrd"].picture(), pictures[i % 3]);
            const auto seen = e.take();
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_TRUE(startsWith(seen[0], "This sword is " + std::string(names[i % 3]) + ", once used by"));
            EXPECT_TRUE(e.shown("cmdselect"));
        }
        e.click("cmdselect");
        const auto seen = e.take();
        ASSERT_EQ(seen.size(), 2u);
        const int n = (clicks - 1) % 3;
        EXPECT_TRUE(startsWith(seen[0], "Your sword is " + std::string(names[n]) + ". You must develop"));
        EXPECT_EQ(seen[1], "message: Remember this word. " + std::string(words[n]));
        EXPECT_FALSE(e.shown("swrd") || e.shown("cmdselect") || e.shown("lblenergize"));
        EXPECT_TRUE(e.shown("cmdquit") && e.f()["tmrstart"].running());
        const std::string& text = e.f()["lbltext"].caption();
        EXPECT_EQ(text.rfind(kClosing, 0), 0u);
        EXPECT_NE(text.find("Wizard. Remember the word you were told, since"), std::string::npos);
    }
}

TEST(Ending, CheaterGetsOnlyTheReasonAndQuit) {
    for (const char* hero : {"Wizard", "Knight"}) {
        SCOPED_TRACE(hero);
        Ending e(hero, "Cheater", 0);
        EXPECT_EQ(e.f()["lbltext"].caption().rfind("You have cheated, or used a bug in the program.", 0), 0u);
        for (const char* c : {"suprwizard", "lblclick", "swrd", "lblenergize", "cmdselect"}) EXPECT_FALSE(e.shown(c));
        e.platform.wait(e.game, 30000);  // no credits ever start
        for (const char* l : kLines) EXPECT_FALSE(e.shown(l));
        EXPECT_FALSE(e.f()["tmrstart"].running());
        e.click("cmdquit");
        EXPECT_EQ(e.take(), (std::vector<std::string>{"message: Hoped you enjoyed the game. Goodbye, Cheater!",
                                                      "message: The Credits aren't very good, but oh well.", "end"}));
    }
}

TEST(Ending, CreditsStartOneAfterAnotherAndRiseForever) {
    Ending e("Wizard");
    e.click("suprwizard");
    e.take();
    const int startTop[] = {5520, 5760, 5640, 5640, 5640, 5640};
    std::int64_t firstSeen[6] = {-1, -1, -1, -1, -1, -1};
    for (int ms = 1; ms <= 10000; ++ms) {
        e.platform.wait(e.game, 1);
        for (int i = 0; i < 6; ++i)
            if (firstSeen[i] < 0 && e.shown(kLines[i])) firstSeen[i] = ms;
    }
    // Line i starts with the (i+1)th tick of 1.5 s and shows at its own
    // first tick, 4 to 9 ms later; 30 s on it has risen 15 twips a tick,
    // long past the top, the fastest highest.
    e.platform.wait(e.game, 20000);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(kLines[i]);
        EXPECT_EQ(firstSeen[i], 1500 * (i + 1) + 4 + i);
        const Control& line = e.f()[kLines[i]];
        EXPECT_EQ(line.top(), startTop[i] - 15 * ((30000 - 1500 * (i + 1)) / (4 + i)));
        EXPECT_EQ(line.left(), 3720);
        EXPECT_TRUE(line.visible());
        if (i > 0) {
            EXPECT_GT(line.top(), e.f()[kLines[i - 1]].top());
        }
    }
    EXPECT_TRUE(e.take().empty());
    e.click("cmdquit");
    EXPECT_EQ(e.take(), (std::vector<std::string>{"message: Hoped you enjoyed the game. Goodbye, Tom!",
                                                  "message: The Credits aren't very good, but oh well.", "end"}));
}

TEST(Ending, ALineFarAboveTheScreenNeverRunsOutOfRoom) {
    Ending e("Wizard");
    e.click("suprwizard");
    e.platform.wait(e.game, 1504);
    Control& line = e.f()["lbla"];
    // Where a line gets after days of rising, and the very edge of what a
    // position holds: it keeps rising and never wraps round into sight.
    for (int start : {-999'999'000, INT_MIN + 7}) {
        SCOPED_TRACE(start);
        line.move(3720, start);
        int steps = 0;
        for (int tick = 0; tick < 400; ++tick) {
            const int before = line.top();
            e.platform.wait(e.game, 4);
            steps += line.top() == static_cast<std::int64_t>(before) - 15;
            EXPECT_LT(line.top() + line.def().height, -1'000'000);
        }
        EXPECT_GE(steps, 390);
        EXPECT_LT(steps, 400);
    }
}

// Each drop has its own order around its message box: the name, labels and
// disc as they stood while the box was up tell the orders apart.
struct Cheat : Play {
    const char* form = "";
    std::vector<const char*> watched;
    std::string now() {
        std::string snap = game.state.playername;
        for (const char* c : watched) {
            const Control& ctl = game.screen(form)[c];
            snap += "|" + (ctl.kind() == Kind::Image ? std::string(ctl.visible() ? "disc" : "-") : ctl.caption());
        }
        return snap;
    }
    void jump(const char* hero, const char* code) {
        click("Form1", hero);
        ASSERT_EQ(game.type("Form1", "txtjump", code), Refusal::None);
        click("Form1", "cmdverify");
        click("Form1", "Command138");
    }
    // Reveal the disc, drop it; what stood at the message, then after.
    std::vector<std::string> cheat(const char* disc, const char* target) {
        click(form, "lblelife");
        take();
        at = [this] { return now(); };
        EXPECT_EQ(game.drag(form, disc, form, target), Refusal::None);
        at = nullptr;
        auto out = take();
        out.push_back(now());
        return out;
    }
};

TEST(LifeCheat, EachDropKeepsItsOwnOrder) {
    Cheat one;
    for (const char* b : {"cmdknight", "cmdstart", "Command3", "Command6", "Command10", "Command13", "cmdno",
                          "Command14", "Command19", "Command21", "Command26", "Command27"})
        one.click("Form1", b);
    one.form = "Form1";
    one.watched = {"lbllife", "Image2"};
    EXPECT_EQ(one.cheat("Image2", "Label1"), (std::vector<std::string>{"Tom|Life:100|-", "Cheater|Life:1100|-"}));

    Cheat three;
    three.jump("cmdwizard", "ZKWQXRVMBLA");
    for (const char* b : {"cmdstart", "Image2", "Command1"}) three.click("Form3", b);
    three.form = "Form3";
    three.watched = {"lbllife", "Image8"};
    EXPECT_EQ(three.cheat("Image8", "Label1"), (std::vector<std::string>{"Cheater|Life:500|-", "Cheater|Life:1500|-"}));

    // The knight in the Final Battle: his hidden magic label is written too.
    Cheat four;
    four.jump("cmdknight", "TEKAVURM");
    four.click("Form3", "Command53");
    four.form = "Form4";
    four.watched = {"lblmlife", "lblmmagic", "lblflife", "lblfmagic", "imgcheat"};
    EXPECT_EQ(four.cheat("imgcheat", "Label1"),
              (std::vector<std::string>{"Tom|Your life:2000|Your Magic:2000|Flamel's life:1500|Flamel's Magic:1000|-",
                                        "Cheater|Your life:2000|Your Magic:2000|Flamel's life:1500|Flamel's Magic:1000|-"}));
    four.game.state.playername = "Tom";
    EXPECT_EQ(four.cheat("imgcheat", "lblelife"),
              (std::vector<std::string>{"Tom|Your life:3000|Your magic:1000|Flamel's Life:2500|Flamel's Magic:2000|-",
                                        "Cheater|Your life:3000|Your magic:1000|Flamel's Life:2500|Flamel's Magic:2000|-"}));
    EXPECT_FALSE(four.game.screen("Form4")["lblmmagic"].visible());
}

// The title screen's clock writes the time and the date every second, the
// date even while its label is hidden and the clock while the screen is
// away; the Final Battle's clock writes only the time, and goes on after
// the battle is won.
TEST(Clock, TicksEverySecondOnBothScreensWhateverIsShown) {
    Cheat p;
    Screen& title = p.game.screen("Form1");
    auto cap = [](Screen& s, const char* c) { return s[c].caption(); };
    p.platform.wait(p.game, 999);
    EXPECT_EQ(cap(title, "lbltime"), "");  // empty until the first tick
    EXPECT_EQ(cap(title, "lbldate"), "");
    p.platform.wait(p.game, 1);
    EXPECT_EQ(cap(title, "lbltime"), "09:00:01");
    EXPECT_EQ(cap(title, "lbldate"), "2000-01-01");
    EXPECT_FALSE(title["lbldate"].visible());
    EXPECT_EQ(p.game.click("Form1", "lbldate"), Refusal::ControlHidden);
    p.click("Form1", "lbltime");
    EXPECT_EQ(p.take(), std::vector<std::string>{"message: WOW! THIS IS THE TIME!"});

    // Behind the introduction the title screen's clock runs on, past midnight.
    p.click("Form1", "cmdintroduction");
    p.platform.wait(p.game, 15 * 3600 * 1000 - 1000);
    EXPECT_FALSE(title.visible());
    EXPECT_EQ(cap(title, "lbltime"), "00:00:00");
    EXPECT_EQ(cap(title, "lbldate"), "2000-01-02");
    p.click("Form2", "Command1");
    p.click("Form1", "cmdknight");
    p.click("Form1", "cmdstart");
    p.take();
    p.click("Form1", "lbldate");
    EXPECT_EQ(p.take(), std::vector<std::string>{"message: WOW! THIS IS THE DATE!"});

    // Straight to the Final Battle: its clock counts from the end of its load.
    Cheat q;
    q.jump("cmdknight", "TEKAVURM");
    q.platform.wait(q.game, 1500);
    q.click("Form3", "Command53");
    Screen& battle = q.game.screen("Form4");
    q.platform.wait(q.game, 999);
    EXPECT_EQ(cap(battle, "lbltime"), "");
    q.platform.wait(q.game, 1);
    EXPECT_EQ(cap(battle, "lbltime"), "09:00:02");
    EXPECT_EQ(cap(q.game.screen("Form1"), "lbltime"), "09:00:02");
    q.click("Form4", "lblactivate");
    q.click("Form4", "cmdfury");
    EXPECT_FALSE(battle.visible());
    q.platform.wait(q.game, 60000);
    EXPECT_EQ(cap(battle, "lbltime"), "09:01:02");
}

}  // namespace
}  // namespace vendral
