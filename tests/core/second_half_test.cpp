// The second half of the first journey, each encounter entered directly by
// showing its opening "Continue" (as the step before it would) on a board
// whose hero has been chosen: every fatal choice and what it leaves, the
// sickness, the treasure-room wizard's spell locks and the way out of a
// stranded wizard, the new potions, the second store's money edges, and
// the hand-over to the castle.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/game.h"
#include "replay/headless.h"
#include "screens/screens.h"

namespace vendral {
namespace {

const char* const potionButtons[] = {"cmdusepotion", "cmdusempotion", "cmduserefill",
                                     "Command70",    "Command71",     "Command72"};

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

struct Road {
    HeadlessPlatform platform{1};
    Game game{platform, allScreens()};
    std::vector<std::string> lines;
    // What a control looked like while each message box was open.
    std::string watched;
    std::vector<std::string> watchedAtMessage;

    explicit Road(bool wizard, const char* name = "Ann") {
        platform.onLine = [this](const std::string& l) {
            lines.push_back(l);
            if (!watched.empty() && game.findLoaded("Form1")) {
                const Control& c = f()[watched];
                watchedAtMessage.push_back(c.caption() + (c.enabled() ? "" : " (greyed)"));
            }
        };
        platform.queueName(std::string(name));
        game.start();
        EXPECT_EQ(game.click("Form1", wizard ? "cmdwizard" : "cmdknight"), Refusal::None);
        lines.clear();
    }

    Screen& f() { return game.screen("Form1"); }
    void click(const std::string& c) { ASSERT_EQ(game.click("Form1", c), Refusal::None) << c; }
    void clickAll(const std::string& route) {
        for (const std::string& c : words(route)) click(c);
    }
    bool saw(const std::string& message) const {
        return std::find(lines.begin(), lines.end(), "message: " + message) != lines.end();
    }
    std::string visiblePotions() {
        std::string out;
        for (const char* p : potionButtons)
            if (f()[p].visible()) out += (out.empty() ? "" : " ") + std::string(p);
        return out;
    }
    // Story buttons of the second half still on the board.
    std::vector<std::string> storyButtonsShown() {
        std::vector<std::string> out;
        for (const Control& c : f().controls()) {
            const std::string n(c.name());
            const bool story = (n.rfind("Command", 0) == 0 && std::stoi(n.substr(7)) >= 63) ||
                               n.rfind("cmdc", 0) == 0 || n == "cmdgoback";
            if (story && c.visible() && n != "Command70" && n != "Command71" && n != "Command72")
                out.push_back(n);
        }
        return out;
    }
};

struct Fatal {
    bool wizard;
    const char* route;       // from the encounter's opening button; the last click is the fatal one
    long long lifeBefore;    // life just before the fatal click (-1: as the route left it)
    const char* death;       // the death message
    const char* lifeLabel;   // lbllife afterwards (null: as it was before the fatal click)
    const char* potionsLeft; // potion-use buttons still shown afterwards, all six shown before
};

TEST(SecondHalf, EveryFatalChoiceLeavesOnlyQuit) {
    const char* old3 = "cmdusepotion cmdusempotion cmduserefill";
    const char* no70 = "cmdusempotion cmduserefill Command71 Command72";
    const char* but70 = "cmdusepotion cmdusempotion cmduserefill Command71 Command72";
    const Fatal cases[] = {
        {false, "Command69 Command75", -1, "The serpent dodges your arrows and kills you.", "Life:0", ""},
        {true, "Command69 Command73 Command79", -1, "The serpent strikes at your position and kills you.", "Life:0",
         ""},
        // The stones' blow lands after the death: the label ends on the lowered life.
        {true, "Command69 Command73 Command77", 50, "The serpent killed you.", "Life:0", ""},
        {true, "Command69 Command73 Command77", 30, "The serpent killed you.", "Life:-20", ""},
        {false, "Command81 Command84", 50, "You have lost.", "Life:0", no70},
        {false, "Command81 Command83", 50, "You died in combat.", "Life:0", no70},
        {false, "Command81 Command85", 40, "You died in combat.", "Life:0", no70},
        {true, "Command81 Command82 Command86", 30, "You died.", "Life:-20", ""},
        {true, "Command81 Command82 Command87", 50, "You failed your mission.", "Life:0", ""},
        {true, "Command81 Command82 Command88", 50, "You died.", "Life:0", ""},
        {true, "Command89 Command91", -1, "Lightning from The Village of Karthune kills you.", "Life:0", ""},
        {false, "cmdgoback Command98", -1,
         "While you were talking to him, one of Nilrem's guards was behind you and killed you.", nullptr, old3},
        {false, "Command99 Command102", 150, "You die.", "Life:-50", but70},
        {false, "Command99 Command103", -1, "You die.", "Life:0", but70},
        {true, "Command99 Command100 Command104", 50, "You died.", "Life:0", old3},
        {true, "Command99 Command100 Command106", -1, "The guard's sword is enchanted. He kills you with a slash.",
         "Life:0", old3},
        {false, "Command107 Command110", -1, "The arrow pierces your armor and kills you.", nullptr, old3},
        {true, "Command107 Command108 Command113", -1, "You die.", "Life:0", old3},
        {false, "Command114 Command116 Command116", -1, "You die from the flames.", "Life:0", but70},
        {false, "Command114 Command118", -1, "The Dragon's fire engulfs you and you are turned into toast.", "Life:0",
         but70},
        {true, "Command114 Command115 Command119 Command119", -1, "You lose.", "Life:0", old3},
        {true, "Command114 Command115 Command121", -1, "You died.", "Life:0", old3},
        {false, "Command122 Command124", -1, "The wizard sends electricity down your sword and kills you.", nullptr,
         but70},
        {false, "Command122 Command125", -1, "You become a fireball.", "Life:0", but70},
        // The stones only ever wear the hero down: the fifth press kills.
        {true, "Command122 Command123 Command127 Command127 Command127 Command127 Command127", -1, "You die.",
         "Life:0", old3},
        {true, "Command122 Command123 Command128", -1,
         "In your current state, you are unable to finish the Vendral and is turned into food next!", nullptr, old3},
        {false, "Command130 Command132", -1,
         "The knight slashes and cuts through the armor and you have failed your mission.", "Life:0", but70},
        {false, "Command130 Command134", -1,
         "After 1 hour of fighting, a guard from Nilrem comes up and you are killed.", "Life:0", but70},
        {true, "Command130 Command131 Command135", -1,
         "You forgot to take your hand off his sword so you and the knight dies.", "Life:0", old3},
    };
    for (const Fatal& c : cases) {
        SCOPED_TRACE(std::string(c.wizard ? "wizard: " : "knight: ") + c.route);
        Road r(c.wizard);
        r.game.state.life = 500;
        r.game.state.magic = 1000;
        const auto route = words(c.route);
        r.f()[route.front()].show();
        for (std::size_t i = 0; i + 1 < route.size(); ++i) r.click(route[i]);
        if (c.lifeBefore >= 0) r.game.state.life = c.lifeBefore;
        for (const char* p : potionButtons) r.f()[p].show();
        const std::string labelBefore = r.f()["lbllife"].caption();
        r.click(route.back());
        EXPECT_TRUE(r.saw(c.death));
        EXPECT_TRUE(r.f()["cmdlose"].visible());
        EXPECT_EQ(r.storyButtonsShown(), std::vector<std::string>{});
        EXPECT_EQ(r.f()["lbllife"].caption(), c.lifeLabel ? c.lifeLabel : labelBefore);
        EXPECT_EQ(r.visiblePotions(), c.potionsLeft);
        EXPECT_EQ(r.game.click("Form1", "cmdlose"), Refusal::None);
        EXPECT_EQ(r.lines.back(), "end");
    }
}

TEST(SecondHalf, SicknessHintsTheCureInTheTitleAndKillsAtTheFifthWrongTry) {
    const std::string title = "The Vendral for The Treasure of Karthune";
    {  // right at once
        Road r(true);
        r.platform.queueRoll(7);
        r.f()["Command80"].show();
        r.click("Command80");
        EXPECT_EQ(r.f().caption(), title + "7");
        EXPECT_EQ(r.game.state.curechoice, 7);
        EXPECT_FALSE(r.f()["lblthink"].visible());
        r.click("cmdc7");
        EXPECT_TRUE(r.saw("The fire worked."));
        EXPECT_TRUE(r.f()["Command81"].visible());
        EXPECT_TRUE(r.game.state.curetries.empty());
        EXPECT_FALSE(r.f()["cmdc0"].visible());
        r.click("Command81");  // the hint goes with the sickness
        EXPECT_EQ(r.f().caption(), title);
        EXPECT_EQ(r.f()["lblelife"].caption(), "Life left:5000");
    }
    {  // four wrong tries grey their buttons; the right one still cures
        Road r(false);
        r.platform.queueRoll(2);
        r.f()["Command80"].show();
        r.click("Command80");
        r.watched = "cmdc0";
        r.click("cmdc0");
        // The health spell is greyed before it says it failed; the others after.
        EXPECT_EQ(r.watchedAtMessage, (std::vector<std::string>{"Use Health spell", "Use Health spell (greyed)"}));
        r.watched = "cmdc1";
        r.watchedAtMessage.clear();
        r.click("cmdc1");
        EXPECT_EQ(r.watchedAtMessage, (std::vector<std::string>{"Use Advanced Health Spell", "Use Advanced Health Spell"}));
        r.watched.clear();
        r.clickAll("cmdc3 cmdc9");
        EXPECT_EQ(r.game.state.curetries, 4);
        for (const char* b : {"cmdc0", "cmdc1", "cmdc3", "cmdc9"}) {
            EXPECT_TRUE(r.f()[b].visible()) << b;
            EXPECT_FALSE(r.f()[b].enabled()) << b;
            EXPECT_EQ(r.game.click("Form1", b), Refusal::ControlDisabled) << b;
        }
        r.click("cmdc2");
        EXPECT_TRUE(r.saw("Since you feel better, you continue your vendral."));
        EXPECT_EQ(r.game.state.curetries, 4);
        EXPECT_TRUE(r.f()["Command81"].visible());
        EXPECT_FALSE(r.f()["cmdlose"].visible());
    }
    {  // the fifth wrong try kills, with the death message of the button pressed
        Road r(true);
        r.platform.queueRoll(0);
        r.f()["Command80"].show();
        r.click("Command80");
        for (const char* p : potionButtons) r.f()[p].show();
        r.clickAll("cmdc9 cmdc8 cmdc7 cmdc6");
        EXPECT_FALSE(r.f()["cmdlose"].visible());
        r.click("cmdc1");
        EXPECT_EQ(r.lines.back(), "message: You died from trying.");
        EXPECT_EQ(r.game.state.curetries, 5);
        EXPECT_TRUE(r.f()["cmdlose"].visible());
        EXPECT_EQ(r.f()["lbllife"].caption(), "Life:0");
        EXPECT_EQ(r.storyButtonsShown(), std::vector<std::string>{});
        EXPECT_EQ(r.visiblePotions(), "");
    }
}

// The treasure-room wizard: lightning costs 40 and locks at 40 or less, the
// invisible fight 20 at 20 or less; a lock shows "Magic:0" while the wizard
// keeps his magic. When no potion in his hands can unlock the spells, Quit
// is shown too, so he is never left without a way out.
TEST(SecondHalf, TreasureRoomLocksGiveAStrandedWizardTheWayOut) {
    const auto open = [](Road& r, long long magic) {
        r.game.state.life = 500;
        r.game.state.magic = magic;
        r.f()["Command81"].show();
        r.clickAll("Command81 Command82");
    };
    const auto locked = [](Road& r) {
        for (const char* b : {"Command82", "Command86", "Command87", "Command88"})
            if (!r.f()[b].visible() || r.f()[b].enabled()) return false;
        return true;
    };
    {  // upgraded and refused the free store: no potion at all
        Road r(true);
        open(r, 100);
        r.clickAll("Command87 Command87");
        EXPECT_EQ(r.game.state.magic, 20);
        EXPECT_FALSE(locked(r));
        EXPECT_FALSE(r.f()["cmdlose"].visible());
        r.click("Command87");
        EXPECT_TRUE(r.saw("You ran out of magic."));
        EXPECT_TRUE(locked(r));
        EXPECT_EQ(r.f()["lblmagic"].caption(), "Magic:0");
        EXPECT_EQ(r.game.state.magic, 20);
        EXPECT_EQ(r.game.state.enemylife, 4700);  // the locking press still strikes
        EXPECT_TRUE(r.f()["cmdlose"].visible());
    }
    {  // the invisible fight locks at 20 and strands him alike
        Road r(true);
        open(r, 40);
        r.click("Command88");
        EXPECT_FALSE(r.f()["cmdlose"].visible());
        r.click("Command88");
        EXPECT_TRUE(locked(r));
        EXPECT_EQ(r.game.state.enemylife, 4900);
        EXPECT_TRUE(r.f()["cmdlose"].visible());
    }
    {  // a new magic potion in hand: no Quit, and drinking it unlocks the spells
        Road r(true);
        r.game.state.magicpotions = 1;
        r.f()["Command72"].show();
        open(r, 40);
        r.click("Command87");
        EXPECT_TRUE(locked(r));
        EXPECT_FALSE(r.f()["cmdlose"].visible());
        r.click("Command72");
        EXPECT_FALSE(r.f()["Command72"].enabled());
        EXPECT_EQ(r.game.state.magic, 1000);
        r.click("Command87");
        EXPECT_EQ(r.game.state.magic, 960);
    }
    {  // a new refill potion shown but used up, and none other: stranded
        Road r(true);
        r.f()["Command71"].show();
        r.f()["Command71"].disable();
        r.f()["Command70"].show();  // a life potion unlocks nothing
        open(r, 30);
        r.click("Command87");
        EXPECT_TRUE(r.f()["cmdlose"].visible());
    }
    {  // an old magic potion of the Items panel unlocks every spell
        Road r(true);
        r.game.state.magicpotion = 1;
        r.f()["cmdusempotion"].show();
        open(r, 30);
        r.click("Command87");
        EXPECT_TRUE(locked(r));
        EXPECT_FALSE(r.f()["cmdlose"].visible());
        r.click("cmdusempotion");
        EXPECT_FALSE(locked(r));
    }
    {  // locking and winning in one press: the fight is over, no Quit
        Road r(true);
        open(r, 40);
        r.game.state.enemylife = 100;
        r.click("Command87");
        EXPECT_TRUE(r.saw("You won."));
        EXPECT_TRUE(r.f()["Command89"].visible());
        EXPECT_FALSE(r.f()["cmdlose"].visible());
        EXPECT_EQ(r.f()["lblmagic"].caption(), "Magic:1000");
        // The invisible fight wins on 50 and refills nothing.
        Road s(true);
        open(s, 20);
        s.game.state.enemylife = 50;
        s.game.state.life = 300;
        s.click("Command88");
        EXPECT_TRUE(s.f()["Command89"].visible());
        EXPECT_FALSE(s.f()["cmdlose"].visible());
        EXPECT_EQ(s.game.state.life, 250);
        EXPECT_EQ(s.game.state.magic, 20);
    }
}

TEST(SecondHalf, NewPotionsSetFixedLevelsAndGreyAtZero) {
    Road r(true);
    r.f()["Command67"].show();
    r.game.state.upgradechoice = 1;
    r.game.state.life = 900;  // more than a potion gives: lowered to 500
    r.click("Command67");
    EXPECT_EQ(r.visiblePotions(), "Command70 Command71 Command72");
    EXPECT_EQ(r.game.state.lifepotions, 10);
    r.game.state.lifepotions = 1;
    r.watched = "lbllife";
    r.click("Command70");
    EXPECT_EQ(r.watchedAtMessage, std::vector<std::string>{"Life:500"});  // written before its message
    EXPECT_EQ(r.game.state.life, 500);
    EXPECT_FALSE(r.f()["Command70"].enabled());
    EXPECT_TRUE(r.f()["Command70"].visible());
    r.f().disable({"Command82", "Command86", "Command87", "Command88"});
    r.game.state.refillpotions = 1;
    r.game.state.life = 20;
    r.game.state.magic = 5;
    r.f()["lbllife"].setCaption("Life:20");
    r.watchedAtMessage.clear();
    r.click("Command71");
    EXPECT_EQ(r.watchedAtMessage, std::vector<std::string>{"Life:20"});  // its message comes first
    EXPECT_EQ(r.f()["lbllife"].caption(), "Life:500");
    EXPECT_EQ(r.f()["lblmagic"].caption(), "Magic:1000");
    EXPECT_FALSE(r.f()["Command71"].enabled());
    for (const char* b : {"Command82", "Command86", "Command87", "Command88"}) EXPECT_TRUE(r.f()[b].enabled()) << b;
    r.game.state.magic = 3;
    r.click("Command72");  // 9 left: stays usable
    EXPECT_EQ(r.game.state.magic, 1000);
    EXPECT_EQ(r.game.state.magicpotions, 9);
    EXPECT_TRUE(r.f()["Command72"].enabled());
}

TEST(SecondHalf, FreeStoreGivesEachKitItsOwnPotions) {
    for (bool wizard : {true, false}) {
        for (int upgraded : {0, 1}) {
            SCOPED_TRACE(std::string(wizard ? "wizard" : "knight") + (upgraded ? " upgraded" : " kept"));
            Road r(wizard);
            r.game.state.upgradechoice = 0;
            r.f()["Command63"].show();
            r.clickAll(upgraded ? "Command63 Command64 Command66 Command67" : "Command63 Command65 Command66 Command67");
            const char* expected = wizard ? (upgraded ? "Command70 Command71 Command72"
                                                      : "cmdusepotion cmdusempotion cmduserefill")
                                          : (upgraded ? "Command70" : "cmdusepotion");
            EXPECT_EQ(r.visiblePotions(), expected);
            EXPECT_EQ(r.game.state.upgradechoice, upgraded);
            EXPECT_FALSE(r.f()["Label4"].visible());
            const auto& s = r.game.state;
            EXPECT_EQ(s.lifepotion, upgraded ? 0 : 10);
            EXPECT_EQ(s.lifepotions, upgraded ? 10 : 0);
            EXPECT_EQ(s.magicpotion + s.refillpotion, wizard && !upgraded ? 20 : 0);
            EXPECT_EQ(s.magicpotions + s.refillpotions, wizard && upgraded ? 20 : 0);
            EXPECT_EQ(s.life, upgraded ? 500 : 0);
            EXPECT_EQ(s.magic, wizard && upgraded ? 1000 : 0);
            EXPECT_EQ(s.money, 10000);  // nothing is charged
            EXPECT_TRUE(r.f()["Command69"].visible());
        }
    }
    // Upgrading and refusing the store leaves no potion button at all.
    Road r(false);
    r.game.state.lifepotion = 3;
    r.f()["cmdusepotion"].show();
    r.f()["Label4"].show();
    r.f()["Command63"].show();
    r.clickAll("Command63 Command64 Command66 Command68");
    EXPECT_EQ(r.visiblePotions(), "");
    EXPECT_FALSE(r.f()["Label4"].visible());
    EXPECT_EQ(r.game.state.lifepotion, 3);  // counted still, just out of reach
    r.clickAll("Command69 Command74");
    EXPECT_EQ(r.f()["lbllife"].caption(), "Life:500");
    EXPECT_EQ(r.game.state.money, 90000);
}

TEST(SecondHalf, SecondStoreRefusesAtItsMoneyEdges) {
    Road r(true);
    r.game.state.money = 2500;
    r.f()["Command89"].show();
    r.clickAll("Command89 Command90 Command92 Command95");
    EXPECT_EQ(r.game.state.money, 500);
    EXPECT_EQ(r.f()["Label3"].caption(), "Money:500");
    EXPECT_EQ(r.game.state.magicpotions, 1);
    // Bought, and usable, but not shown to a hero who kept the Items panel.
    EXPECT_TRUE(r.f()["Command72"].enabled());
    EXPECT_FALSE(r.f()["Command72"].visible());
    r.click("Command96");
    EXPECT_EQ(r.lines.back(), "message: Not enough money.");
    EXPECT_FALSE(r.f()["Command95"].enabled());
    EXPECT_FALSE(r.f()["Command96"].enabled());
    EXPECT_TRUE(r.f()["Command94"].enabled());
    r.click("Command94");
    EXPECT_EQ(r.lines.back(), "message: You can't buy any more potions.");
    EXPECT_FALSE(r.f()["Command94"].enabled());
    EXPECT_EQ(r.game.state.money, 500);
    EXPECT_EQ(r.game.state.lifepotions, 0);
    EXPECT_TRUE(r.f()["cmdgoback"].visible());

    Road k(false);
    k.game.state.money = 1000;
    k.f()["Command70"].disable();
    k.f()["Command89"].show();
    k.clickAll("Command89 Command90 Command92");
    EXPECT_FALSE(k.f()["Command95"].visible());
    EXPECT_FALSE(k.f()["Command96"].visible());
    k.click("Command94");
    EXPECT_EQ(k.game.state.money, 0);
    EXPECT_EQ(k.game.state.lifepotions, 1);
    EXPECT_TRUE(k.f()["Command70"].enabled());
    EXPECT_FALSE(k.f()["Command70"].visible());
    k.click("cmdgoback");
    for (const char* b : {"Command94", "cmdgoback"}) EXPECT_FALSE(k.f()[b].visible()) << b;
    EXPECT_TRUE(k.f()["Command97"].visible());
}

TEST(SecondHalf, HandOverCarriesTheStateAndMarksAContinuedDefeat) {
    for (bool lost : {false, true}) {
        Road r(false, "Ann");
        r.game.state.life = 42;
        r.game.state.magic = 7;
        r.game.state.money = 1234;
        r.game.state.curetries = 3;
        r.f()["Command138"].show();
        if (lost) r.f()["cmdlose"].show();
        r.click("Command138");
        EXPECT_EQ(r.game.state.playername, lost ? "Cheater" : "Ann");
        EXPECT_EQ(r.game.state.heroclass, "Knight");
        EXPECT_FALSE(r.f().visible());
        Screen& castle = r.game.screen("Form3");
        EXPECT_TRUE(castle.visible());
        EXPECT_EQ(castle["Label1"].caption(), "Knight");
        EXPECT_EQ(r.game.state.life, 500);
        EXPECT_EQ(castle["lbllife"].caption(), "Life:500");
        EXPECT_EQ(r.game.state.magic, 7);  // a knight's magic is left alone
        EXPECT_EQ(castle["lblmagic"].caption(), "");
        EXPECT_EQ(r.game.state.invisible, 0);
        EXPECT_FALSE(r.game.state.invisible.empty());
        EXPECT_EQ(r.game.state.money, 1234);
        EXPECT_EQ(r.game.state.curetries, 3);
        EXPECT_TRUE(castle["cmdstart"].visible());
        EXPECT_FALSE(castle["Command53"].visible());
    }
}

}  // namespace
}  // namespace vendral
