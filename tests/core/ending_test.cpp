// The ending screen: the wizard's promotion and its comment, the knight's
// swords, the cheater's ending, the rising credits and "Quit".
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "core/game.h"
#include "replay/headless.h"
#include "screens/screens.h"

namespace vendral {
namespace {

constexpr std::array<const char*, 6> kLines{"lbla", "lblb", "lblc", "lbld", "lble", "lblf"};
constexpr std::array<const char*, 6> kTimers{"tmra", "tmrb", "tmrc", "tmrd", "tmre", "tmrf"};

const std::string kClosing =
    "Thanks for playing my game! If I feel like it, I might make a game called The Duskmere, where you will go "
    "slay the High Dark Wizard, Polyform and become a High Knight or Wizard. Maybe, though, I will have different "
    "journeys, so if you're a knight, you have to slay the High Dark Knight, and if you're a Wizard, you have to "
    "slay the High Dark Wizard.";

// A game started with the name Tom, then taken straight to the ending.
struct Ending {
    HeadlessPlatform platform;
    Game game{platform, allScreens()};
    std::vector<std::string> seen;

    Ending(const std::string& heroclass, const std::string& name = "Tom", std::optional<std::int64_t> curetries = {}) {
        platform.onLine = [this](const std::string& l) { seen.push_back(l); };
        platform.queueName("Tom");
        game.start();
        game.state.heroclass = heroclass;
        game.state.playername = name;
        if (curetries) game.state.curetries = *curetries;
        game.show("Form6");
        seen.clear();
    }
    Screen& f() { return game.screen("Form6"); }
    bool shown(const char* c) { return f()[c].visible(); }
    void click(const char* c) { ASSERT_EQ(game.click("Form6", c), Refusal::None) << c; }
    // The lines seen since the last call.
    std::vector<std::string> take() {
        auto out = seen;
        seen.clear();
        return out;
    }
    bool anyCreditsShown() {
        for (const char* l : kLines)
            if (shown(l)) return true;
        return false;
    }
    bool anyCreditsTimer() {
        for (const char* t : kTimers)
            if (f()[t].running()) return true;
        return false;
    }
};

std::string msg(const std::string& text) { return "message: " + text; }

TEST(Ending, WizardIsPromotedThenTheClosingTextAndQuit) {
    Ending e("Wizard");
    EXPECT_NE(e.f()["lbltext"].caption().find("Flamel is promoted to Master Wizard, skipping the stage of Wizard, "
                                              "and you, Tom, are promoted to Supreme Wizard."),
              std::string::npos);
    EXPECT_TRUE(e.shown("suprwizard"));
    EXPECT_TRUE(e.shown("lblclick"));
    EXPECT_FALSE(e.shown("swrd"));
    EXPECT_FALSE(e.shown("lblenergize"));
    EXPECT_FALSE(e.shown("cmdquit"));
    EXPECT_FALSE(e.f()["tmrstart"].running());
    EXPECT_TRUE(e.take().empty());  // the load step shows no message

    e.click("suprwizard");
    auto seen = e.take();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], msg("You are now Tom, the Supreme Wizard!"));
    EXPECT_FALSE(e.shown("suprwizard"));
    EXPECT_FALSE(e.shown("lblclick"));
    EXPECT_EQ(e.f()["lbltext"].caption(), kClosing);
    EXPECT_TRUE(e.shown("cmdquit"));
    EXPECT_TRUE(e.f()["tmrstart"].running());
    EXPECT_FALSE(e.anyCreditsShown());

    e.click("cmdquit");
    EXPECT_EQ(e.take(), (std::vector<std::string>{msg("Hoped you enjoyed the game. Goodbye, Tom!"),
                                                  msg("The Credits aren't very good, but oh well."), "end"}));
    EXPECT_TRUE(e.platform.ended());
}

TEST(Ending, WizardCommentFollowsTheWrongCures) {
    struct Case {
        std::optional<std::int64_t> curetries;
        const char* comment;  // nullptr: no comment
    };
    const Case cases[] = {
        {std::nullopt, "Ah, I see you know how to take care of yourself in case of illness. You have done incredible "
                       "work on healing yourself from being caught unaware from a dark wizard's spell."},
        {0, "Ah, I see you know how to take care of yourself in case of illness. You have done incredible work on "
            "healing yourself from being caught unaware from a dark wizard's spell."},
        {1, "You need to practice a little bit more so you won't be confused on what to do. You have done incredible "
            "work on healing yourself from being caught unaware from a dark wizard's spell."},
        {2, "Perhaps you should go see one of our doctors to get more practice on healing yourself. That dark wizard "
            "must be happy to delay you for that long."},
        {3, "Ah, you were getting close to death from that dark wizard's spell."},
        {4, "I have enrolled you as a student of one of our top doctors. You were really close to death after that "
            "dark wizard got you with that spell."},
        {5, nullptr},
        {6, "Ah, you have jumped. Perhaps next time you can play Vendral from beginning to end next time."},
        {7, nullptr},
        {-1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.curetries ? std::to_string(*c.curetries) : std::string("empty"));
        Ending e("Wizard", "Ann", c.curetries);
        e.click("suprwizard");
        std::vector<std::string> want{msg("You are now Ann, the Supreme Wizard!")};
        if (c.comment) want.push_back(msg(c.comment));
        EXPECT_EQ(e.take(), want);
        // With or without a comment the closing follows.
        EXPECT_EQ(e.f()["lbltext"].caption(), kClosing);
        EXPECT_TRUE(e.shown("cmdquit"));
    }
}

TEST(Ending, KnightCyclesTheSwordsAndSelectsTheOneOnDisplay) {
    const std::string gladonthard =
        "This sword is Gladonthard, once used by the great King Taglism. It has a special ability to shoot spheres of "
        "energy at enemies.";
    const std::string uthler =
        "This sword is Uthler, once used by Lord Palletis in the War against the Valreq. It has a special ability to "
        "change the energy around the sword to magical fire and cut down enemies easily.";
    const std::string valrath =
        "This sword is Valrath, once used by King Aster when he aided Lord Palletis to defeat the Valreq. It has the "
        "special ability to create things whenever the wielder wants to.";

    Ending e("Knight");
    EXPECT_NE(e.f()["lbltext"].caption().find("We can only thank you, Tom, for your courage"), std::string::npos);
    EXPECT_TRUE(e.shown("swrd"));
    EXPECT_TRUE(e.shown("lblenergize"));
    EXPECT_FALSE(e.shown("suprwizard"));
    EXPECT_FALSE(e.shown("lblclick"));
    EXPECT_FALSE(e.shown("cmdquit"));
    EXPECT_EQ(e.f()["swrd"].picture(), "sword");
    // No selection before the sword was clicked once.
    EXPECT_EQ(e.game.click("Form6", "cmdselect"), Refusal::ControlHidden);

    const struct {
        const char* store;
        const std::string& text;
    } cycle[] = {{"swrdgdthard", gladonthard}, {"swrduthler", uthler}, {"swrdvrath", valrath},
                 {"swrdgdthard", gladonthard}, {"swrduthler", uthler}};
    for (const auto& step : cycle) {
        e.click("swrd");
        EXPECT_EQ(e.f()["swrd"].picture(), e.f()[step.store].picture()) << step.store;
        EXPECT_EQ(e.take(), std::vector<std::string>{msg(step.text)});
        EXPECT_TRUE(e.shown("cmdselect"));
        EXPECT_FALSE(e.shown(step.store));  // the stores themselves are never shown
    }
    // The three stores hold three different pictures.
    EXPECT_NE(e.f()["swrdgdthard"].picture(), e.f()["swrduthler"].picture());
    EXPECT_NE(e.f()["swrduthler"].picture(), e.f()["swrdvrath"].picture());
    EXPECT_NE(e.f()["swrdgdthard"].picture(), e.f()["swrdvrath"].picture());
}

TEST(Ending, EachSelectedSwordGivesItsWord) {
    const struct {
        int clicks;
        const char* first;
        const char* word;
    } cases[] = {
        {1,
         "Your sword is Gladonthard. You must develop your skills so you may wield the power in the sword. May you "
         "learn how to use it well.",
         "Remember this word. Brovika."},
        {2,
         "Your sword is Uthler. You must develop your skills so you may cut down enemies with ease. May you learn how "
         "to use it well.",
         "Remember this word. Telmun."},
        {3,
         "Your sword is Valrath. You must develop your skills so you may create objects to stop your enemies and keep "
         "yourself alive. May you learn how to use it well.",
         "Remember this word. Olvek."},
        // Past Valrath the cycle starts again with Gladonthard.
        {4,
         "Your sword is Gladonthard. You must develop your skills so you may wield the power in the sword. May you "
         "learn how to use it well.",
         "Remember this word. Brovika."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicks);
        Ending e("Knight");
        for (int i = 0; i < c.clicks; ++i) e.click("swrd");
        e.take();
        e.click("cmdselect");
        EXPECT_EQ(e.take(), (std::vector<std::string>{msg(c.first), msg(c.word)}));
        EXPECT_FALSE(e.shown("swrd"));
        EXPECT_FALSE(e.shown("cmdselect"));
        EXPECT_FALSE(e.shown("lblenergize"));
        EXPECT_TRUE(e.shown("cmdquit"));
        EXPECT_EQ(e.f()["lbltext"].caption(),
                  kClosing + " Remember the word you were told, since if I make another game, then it would require "
                             "that you have beaten this game and acquired the word to wield your sword.");
        EXPECT_TRUE(e.f()["tmrstart"].running());
    }
}

TEST(Ending, CheaterGetsNoRewardAndNoCredits) {
    const std::string cheated =
        "You have cheated, or used a bug in the program. You have done something such as cheating, or you have lost, "
        "but in the code it displayed the button to quit, but you were able to continue on your Vendral. Because of "
        "this, you will not get to see the ending until you beat it the right way.";
    for (const char* hero : {"Wizard", "Knight"}) {
        SCOPED_TRACE(hero);
        Ending e(hero, "Cheater", 0);
        EXPECT_EQ(e.f()["lbltext"].caption(), cheated);
        for (const char* c : {"suprwizard", "lblclick", "swrd", "lblenergize", "cmdselect"}) EXPECT_FALSE(e.shown(c)) << c;
        EXPECT_TRUE(e.shown("cmdquit"));
        EXPECT_EQ(e.game.click("Form6", "suprwizard"), Refusal::ControlHidden);
        EXPECT_EQ(e.game.click("Form6", "swrd"), Refusal::ControlHidden);
        e.platform.wait(e.game, 30000);
        EXPECT_FALSE(e.f()["tmrstart"].running());
        EXPECT_FALSE(e.anyCreditsTimer());
        EXPECT_FALSE(e.anyCreditsShown());
        EXPECT_TRUE(e.take().empty());
        e.click("cmdquit");
        EXPECT_EQ(e.take(), (std::vector<std::string>{msg("Hoped you enjoyed the game. Goodbye, Cheater!"),
                                                      msg("The Credits aren't very good, but oh well."), "end"}));
    }
}

TEST(Ending, CreditsStartOneAfterAnotherAndKeepRising) {
    Ending e("Knight");
    e.click("swrd");
    e.click("cmdselect");
    e.take();
    const std::int64_t t0 = e.platform.nowMs();
    const std::array<int, 6> startTop{5520, 5760, 5640, 5640, 5640, 5640};
    const std::array<int, 6> interval{4, 5, 6, 7, 8, 9};

    // Watch millisecond by millisecond when each line first appears.
    std::array<std::int64_t, 6> firstSeen{};
    firstSeen.fill(-1);
    for (int ms = 1; ms <= 10000; ++ms) {
        e.platform.wait(e.game, 1);
        for (std::size_t i = 0; i < kLines.size(); ++i)
            if (firstSeen[i] < 0 && e.shown(kLines[i])) firstSeen[i] = e.platform.nowMs() - t0;
    }
    // Line n starts after n+1 ticks of 1.5 s and shows at its own first tick.
    for (std::size_t i = 0; i < kLines.size(); ++i) {
        SCOPED_TRACE(kLines[i]);
        EXPECT_EQ(firstSeen[i], 1500 * static_cast<std::int64_t>(i + 1) + interval[i]);
        EXPECT_TRUE(e.f()[kTimers[i]].running());
    }

    // 30 s on, every line has long left the top and still rises, 15 twips a
    // tick, the fastest highest; none moved sideways or was hidden again.
    e.platform.wait(e.game, 20000);
    const std::int64_t elapsed = e.platform.nowMs() - t0;
    int previousTop = INT_MIN;
    for (std::size_t i = 0; i < kLines.size(); ++i) {
        SCOPED_TRACE(kLines[i]);
        const Control& line = e.f()[kLines[i]];
        const std::int64_t ticks = (elapsed - 1500 * static_cast<std::int64_t>(i + 1)) / interval[i];
        EXPECT_EQ(line.top(), startTop[i] - 15 * ticks);
        EXPECT_EQ(line.left(), 3720);
        EXPECT_TRUE(line.visible());
        EXPECT_LT(line.top() + line.def().height, 0);
        EXPECT_GT(line.top(), previousTop);
        previousTop = line.top();
    }
    EXPECT_TRUE(e.take().empty());  // the credits show no message
    e.click("cmdquit");
    EXPECT_TRUE(e.platform.ended());
}

TEST(Ending, ALineFarAboveTheScreenNeverRunsOutOfRoom) {
    Ending e("Wizard");
    e.click("suprwizard");
    e.platform.wait(e.game, 1504);
    Control& line = e.f()["lbla"];
    ASSERT_TRUE(line.visible());

    // Where a line would be after days of rising, and at the very edge of
    // what a position can hold: it keeps rising and never wraps round into
    // sight below the screen.
    for (int start : {-999'999'000, INT_MIN + 7}) {
        SCOPED_TRACE(start);
        line.move(3720, start);
        int drops = 0, laps = 0;
        for (int tick = 0; tick < 400; ++tick) {
            const int before = line.top();
            e.platform.wait(e.game, 4);
            if (line.top() == before - 15)
                ++drops;
            else
                ++laps;
            EXPECT_LT(line.top() + line.def().height, -1'000'000);
        }
        EXPECT_GE(drops, 390);
        EXPECT_GE(laps, 1);
        EXPECT_EQ(line.left(), 3720);
    }
}


// The life cheat, which decides the cheater's ending. Each drop has its own
// order of effects around its message box: what the labels, the disc and
// the player's name were while the box was up tells them apart.
struct Cheat {
    HeadlessPlatform platform;
    Game game{platform, allScreens()};
    std::string form;
    std::vector<const char*> watched;  // labels and the disc, read at each message
    std::vector<std::string> atMessage;

    Cheat() {
        platform.onLine = [this](const std::string& l) {
            if (l.rfind("message: ", 0) == 0 && !form.empty() && game.findLoaded(form)) atMessage.push_back(now());
        };
        platform.queueName("Tom");
        game.start();
    }
    void click(const char* f, const char* c) { ASSERT_EQ(game.click(f, c), Refusal::None) << f << "." << c; }
    // A new game taken by a jump-ahead code to the second journey.
    void jump(const char* hero, const char* code) {
        click("Form1", hero);
        ASSERT_EQ(game.type("Form1", "txtjump", code), Refusal::None);
        click("Form1", "cmdverify");
        click("Form1", "Command138");
    }
    void drop(const char* image, const char* target) {
        atMessage.clear();
        ASSERT_EQ(game.drag(form, image, form, target), Refusal::None);
    }
    // The player's name, then each watched label's caption or the disc's state.
    std::string now() {
        std::string snap = game.state.playername;
        for (const char* c : watched) {
            const Control& ctl = game.screen(form)[c];
            snap += "|" + (ctl.kind() == Kind::Image ? std::string(ctl.visible() ? "shown" : "hidden") : ctl.caption());
        }
        return snap;
    }
};

TEST(LifeCheat, FirstJourneyWarnsBeforeRenamingAndHealing) {
    Cheat c;
    for (const char* b : {"cmdknight", "cmdstart", "Command3", "Command6", "Command10", "Command13", "cmdno",
                          "Command14", "Command19", "Command21", "Command26", "Command27"})
        c.click("Form1", b);
    c.form = "Form1";
    c.watched = {"lbllife", "Image2"};
    c.click("Form1", "lblelife");
    EXPECT_EQ(c.now(), "Tom|Life:100|shown");
    c.drop("Image2", "Label1");
    EXPECT_EQ(c.atMessage, std::vector<std::string>{"Tom|Life:100|hidden"});
    EXPECT_EQ(c.now(), "Cheater|Life:1100|hidden");
    EXPECT_EQ(c.game.state.life, 1100);
}

TEST(LifeCheat, SecondJourneyRenamesBeforeTheMessage) {
    Cheat c;
    c.jump("cmdwizard", "ZKWQXRVMBLA");
    for (const char* b : {"cmdstart", "Image2", "Command1"}) c.click("Form3", b);
    c.form = "Form3";
    c.watched = {"lbllife", "Image8"};
    c.click("Form3", "lblelife");
    c.drop("Image8", "Label1");
    EXPECT_EQ(c.atMessage, std::vector<std::string>{"Cheater|Life:500|hidden"});
    EXPECT_EQ(c.now(), "Cheater|Life:1500|hidden");
}

TEST(LifeCheat, FinalBattleWritesTheLabelsBeforeTheMessageAndRenamesLast) {
    Cheat c;
    c.jump("cmdwizard", "TEKAVURM");
    c.click("Form3", "Command53");
    c.form = "Form4";
    c.watched = {"lblmlife", "lblmmagic", "lblflife", "lblfmagic", "imgcheat"};

    c.click("Form4", "lblelife");
    c.drop("imgcheat", "Label1");
    EXPECT_EQ(c.atMessage, std::vector<std::string>{
                               "Tom|Your life:2000|Your Magic:2000|Flamel's life:1500|Flamel's Magic:1000|hidden"});
    EXPECT_EQ(c.game.state.playername, "Cheater");

    // Nilrem's label: all four values rise, and the disc is gone by the box.
    c.game.state.playername = "Tom";
    c.click("Form4", "lblelife");
    c.drop("imgcheat", "lblelife");
    EXPECT_EQ(c.atMessage, std::vector<std::string>{
                               "Tom|Your life:3000|Your magic:3000|Flamel's Life:2500|Flamel's Magic:2000|hidden"});
    EXPECT_EQ(c.game.state.playername, "Cheater");
    EXPECT_EQ(c.game.state.magic, 3000);
    EXPECT_EQ(c.game.state.flamelmagic, 2000);

    // The hidden spot shows FURY and changes nothing else.
    const std::string before = c.now();
    EXPECT_FALSE(c.game.screen("Form4")["cmdfury"].visible());
    c.atMessage.clear();
    c.click("Form4", "lblactivate");
    EXPECT_TRUE(c.game.screen("Form4")["cmdfury"].visible());
    EXPECT_TRUE(c.atMessage.empty());
    EXPECT_EQ(c.now(), before);
}

}  // namespace
}  // namespace vendral
