// The first half of the first journey: the life and magic tests that the
// story steps share, at their edges; the moments at which the store and the
// Items panel rewrite their labels around their messages (which no
// transcript shows); every death from the apprentice to Stormer; and the way
// out shown to a wizard stranded with locked spells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game.h"
#include "core/rules.h"
#include "replay/headless.h"
#include "screens/screens.h"

namespace vendral {
namespace {

using Path = std::vector<std::string>;

Path operator+(Path a, const Path& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Path times(const std::string& button, int n) { return Path(n, button); }

// `n` presses of a button, with a life potion drunk after every `every`
// presses (never after the last).
Path withPotions(const std::string& button, int n, int every) {
    Path p;
    for (int i = 1; i <= n; ++i) {
        p.push_back(button);
        if (i % every == 0 && i < n) p.push_back("cmdusepotion");
    }
    return p;
}

// One run of the game, named Ann, with what it said and showed.
struct Session {
    HeadlessPlatform platform{1};
    Game game{platform, allScreens()};
    std::vector<std::string> messages;
    // What the status labels read while each message box is up.
    std::vector<std::string> labelsAtMessage;

    Session() {
        platform.queueName("Ann");
        platform.onLine = [this](const std::string& line) {
            if (line.rfind("message: ", 0) != 0) return;
            messages.push_back(line.substr(9));
            if (Screen* f = game.findLoaded("Form1"))
                labelsAtMessage.push_back((*f)["lbllife"].caption() + "|" + (*f)["lblmagic"].caption() + "|" +
                                          (*f)["Label3"].caption());
        };
        game.start();
        messages.clear();
        labelsAtMessage.clear();
    }

    Screen& board() { return game.screen("Form1"); }

    bool click(const std::string& control) {
        const Refusal r = game.click("Form1", control);
        EXPECT_EQ(r, Refusal::None) << control << ": " << refusalText(r);
        return r == Refusal::None;
    }

    // Plays the path; returns what its last press said.
    std::vector<std::string> play(const Path& path) {
        for (std::size_t i = 0; i < path.size(); ++i) {
            if (i + 1 == path.size()) messages.clear();
            if (!click(path[i])) return {"<refused " + path[i] + ">"};
        }
        return messages;
    }

    // The buttons a player can see, "(off)" after a disabled one.
    std::vector<std::string> shownButtons() {
        std::vector<std::string> out;
        for (const Control& c : board().controls())
            if (c.kind() == Kind::Button && c.visible())
                out.push_back(std::string(c.name()) + (c.enabled() ? "" : "(off)"));
        return out;
    }

    // "Quit" says goodbye and ends the game.
    void quit() {
        messages.clear();
        if (!click("cmdlose")) return;
        EXPECT_EQ(messages, Path{"I bet you lost or found a bug, Ann!"});
        EXPECT_TRUE(game.ended());
    }
};

// --- The roads to each encounter ------------------------------------------

// The knight wins every encounter at once and buys one life potion.
const Path knightApprentice{"cmdknight", "cmdstart", "Command3", "Command6",  "Command10",
                            "Command13", "cmdyes",   "cmdpotion", "cmdleave", "Command14"};
const Path knightDragons = knightApprentice + Path{"Command19", "Command21"};
const Path knightEvilWizard = knightDragons + Path{"Command26", "Command27"};
const Path knightKnights = knightEvilWizard + times("Command29", 4) + Path{"Command34"};
const Path knightBlackKnight = knightKnights + Path{"Command36", "Command41"};
const Path knightEarthman = knightBlackKnight + Path{"Command44", "Command48"};
const Path knightStormer = knightEarthman + Path{"Command51", "Command55"};

// The wizard wins every encounter at once (lightning at the bandits leaves
// him 20000 coins), buys what he is given, and opens each spell menu.
const Path allThree{"cmdpotion", "cmdMPotion", "cmdrefill"};
Path wizardApprentice(const Path& buys) {
    return Path{"cmdwizard", "cmdstart", "Command1",  "Command4",  "Command6",
                "Command7",  "Command12", "Command13", "cmdyes"} +
           buys + Path{"cmdleave", "Command14", "Command15"};
}
Path wizardDragons(const Path& buys) { return wizardApprentice(buys) + Path{"Command18", "Command21", "Command22"}; }
Path wizardEvilWizard(const Path& buys) {
    return wizardDragons(buys) + Path{"Command24", "Command27", "Command28"};
}
Path wizardKnights(const Path& buys) {
    return wizardEvilWizard(buys) + times("Command32", 4) + Path{"Command34", "Command35"};
}
Path wizardBlackKnight(const Path& buys) { return wizardKnights(buys) + Path{"Command39", "Command41", "Command42"}; }
Path wizardEarthman(const Path& buys) { return wizardBlackKnight(buys) + Path{"Command47", "Command48", "Command49"}; }
Path wizardStormer(const Path& buys) { return wizardEarthman(buys) + Path{"Command54", "Command55", "Command56"}; }

// --- The shared life and magic tests ----------------------------------------

class FirstHalf : public ::testing::Test {
protected:
    Session s;
    Screen& f = s.board();
    Game& game = s.game;
};

TEST_F(FirstHalf, ZeroTestHitKillsOnlyAtExactlyZero) {
    game.state.life = 11;  // D + 1: survives with 1
    EXPECT_FALSE(zeroTestHit(game, f, 10));
    EXPECT_EQ(game.state.life, 1);
    EXPECT_EQ(f["lbllife"].caption(), "Life:1");

    game.state.life = 10;  // exactly D: death at 0
    EXPECT_TRUE(zeroTestHit(game, f, 10));
    EXPECT_EQ(game.state.life, 0);
    EXPECT_EQ(f["lbllife"].caption(), "Life:0");

    game.state.life = 5;  // below 0 is not a death, and the label shows it
    EXPECT_FALSE(zeroTestHit(game, f, 10));
    EXPECT_EQ(game.state.life, -5);
    EXPECT_EQ(f["lbllife"].caption(), "Life:-5");

    game.state.life = Num();  // empty life counts as 0
    EXPECT_FALSE(zeroTestHit(game, f, 10));
    EXPECT_EQ(f["lbllife"].caption(), "Life:-10");
}

TEST_F(FirstHalf, GuardedHitSparesTheLifeOfAHeroWhoFalls) {
    f["lbllife"].setCaption("untouched");
    game.state.life = 20;  // exactly D: death, life and label left alone
    EXPECT_TRUE(guardedHit(game, f, 20));
    EXPECT_EQ(game.state.life, 20);
    EXPECT_EQ(f["lbllife"].caption(), "untouched");

    game.state.life = -30;  // already below 0: still a death
    EXPECT_TRUE(guardedHit(game, f, 20));
    EXPECT_EQ(game.state.life, -30);

    game.state.life = 21;  // D + 1: takes the blow
    EXPECT_FALSE(guardedHit(game, f, 20));
    EXPECT_EQ(game.state.life, 1);
    EXPECT_EQ(f["lbllife"].caption(), "Life:1");
}

TEST_F(FirstHalf, TestThenHitPlaysTheDeathRowThenLandsTheBlow) {
    int deaths = 0;
    std::string labelAtDeath;
    auto deathRow = [&] {
        ++deaths;
        labelAtDeath = f["lbllife"].caption();
        f["lbllife"].setCaption("Life:0");
    };
    game.state.life = 50;  // exactly D: death, then the blow
    f["lbllife"].setCaption("Life:50");
    EXPECT_TRUE(testThenHit(game, f, 50, deathRow));
    EXPECT_EQ(labelAtDeath, "Life:50");  // the death row came before the blow
    EXPECT_EQ(game.state.life, 0);
    EXPECT_EQ(f["lbllife"].caption(), "Life:0");

    game.state.life = 30;  // below D: the label ends on the lowered value
    EXPECT_TRUE(testThenHit(game, f, 50, deathRow));
    EXPECT_EQ(game.state.life, -20);
    EXPECT_EQ(f["lbllife"].caption(), "Life:-20");

    game.state.life = 51;  // D + 1: only the blow
    EXPECT_FALSE(testThenHit(game, f, 50, deathRow));
    EXPECT_EQ(game.state.life, 1);
    EXPECT_EQ(deaths, 2);
}

TEST_F(FirstHalf, SpendFormsLockAtTheirEdges) {
    game.state.magic = 10;  // zero-test: exactly the cost locks
    EXPECT_TRUE(zeroTestSpend(game, f, 10));
    EXPECT_EQ(f["lblmagic"].caption(), "Magic:0");
    game.state.magic = 11;
    EXPECT_FALSE(zeroTestSpend(game, f, 10));
    EXPECT_EQ(game.state.magic, 1);
    game.state.magic = 5;  // passing below 0 never locks
    EXPECT_FALSE(zeroTestSpend(game, f, 10));
    EXPECT_EQ(f["lblmagic"].caption(), "Magic:-5");

    f["lblmagic"].setCaption("untouched");
    game.state.magic = 19;  // guarded: at the limit nothing is paid
    EXPECT_TRUE(guardedSpend(game, f, 19, 20));
    EXPECT_EQ(game.state.magic, 19);
    EXPECT_EQ(f["lblmagic"].caption(), "untouched");
    game.state.magic = 20;  // limit + 1 pays, down to 0, without locking
    EXPECT_FALSE(guardedSpend(game, f, 19, 20));
    EXPECT_EQ(game.state.magic, 0);
    EXPECT_EQ(f["lblmagic"].caption(), "Magic:0");
    game.state.magic = -10;
    EXPECT_TRUE(guardedSpend(game, f, 5, 5));
    EXPECT_EQ(game.state.magic, -10);
}

// --- The store and the Items panel ------------------------------------------

TEST_F(FirstHalf, StoreTestsThePriceBeforeAnythingChanges) {
    s.play({"cmdwizard", "cmdstart", "Command1", "Command4", "Command6", "Command7", "Command9", "Command13",
            "cmdyes"});
    s.messages.clear();
    game.state.money = 1999;  // a magic potion is out of reach, a life potion is not
    s.click("cmdMPotion");
    EXPECT_FALSE(f["cmdMPotion"].enabled());
    EXPECT_FALSE(f["cmdrefill"].enabled());
    EXPECT_TRUE(f["cmdpotion"].enabled());
    EXPECT_TRUE(game.state.magicpotion.empty());
    f.enable({"cmdMPotion", "cmdrefill"});
    game.state.money = 2000;  // exactly the price
    s.click("cmdrefill");
    EXPECT_EQ(game.state.money, 0);
    EXPECT_EQ(game.state.refillpotion, 1);
    game.state.money = 999;
    s.click("cmdpotion");
    EXPECT_FALSE(f["cmdpotion"].enabled());
    EXPECT_FALSE(f["cmdMPotion"].enabled());
    EXPECT_EQ(game.state.money, 999);
    EXPECT_TRUE(game.state.lifepotion.empty());
    EXPECT_FALSE(f["cmdusepotion"].visible());
    f["cmdpotion"].enable();
    game.state.money = 1000;
    s.click("cmdpotion");
    EXPECT_EQ(game.state.money, 0);
    EXPECT_EQ(f["Label3"].caption(), "Money:0");
    EXPECT_TRUE(f["cmdusepotion"].visible());
    // Only the two purchases that were paid for said a word.
    EXPECT_EQ(s.messages, (Path{"Bought one refilling potion", "Bought one life potion"}));
}

TEST_F(FirstHalf, TurningTheStoreDownShowsTheWayOnBehindTheMessage) {
    s.play({"cmdknight", "cmdstart", "Command3", "Command6", "Command10", "Command13"});
    bool continueShown = false;
    s.platform.onLine = [&](const std::string& line) {
        if (line == "message: You go on your way.") continueShown = f["Command14"].visible();
    };
    s.click("cmdno");
    EXPECT_TRUE(continueShown);
    EXPECT_EQ(f["Label2"].caption(), "");
}

// The three purchases and the three potions each rewrite their labels at
// their own moment: the life potion's money before its message, the others'
// after; the life and magic potions' label after their message, the
// refill's before.
TEST_F(FirstHalf, StoreAndItemsRewriteLabelsAroundTheirMessages) {
    s.play({"cmdwizard", "cmdstart", "Command1", "Command4", "Command6", "Command7", "Command12", "Command13",
            "cmdyes"});
    s.labelsAtMessage.clear();
    s.play(allThree);
    EXPECT_EQ(s.labelsAtMessage, (Path{"Life:100|Magic:80|Money:19000", "Life:100|Magic:80|Money:19000",
                                       "Life:100|Magic:80|Money:17000"}));
    s.play({"cmdleave", "Command14", "Command15", "Command17"});  // life 80, magic 70
    s.labelsAtMessage.clear();
    s.click("cmdusepotion");
    EXPECT_EQ(s.labelsAtMessage, Path{"Life:80|Magic:70|Money:15000"});
    EXPECT_EQ(f["lbllife"].caption(), "Life:100");
    s.click("Command17");  // life 80, magic 60
    s.labelsAtMessage.clear();
    s.click("cmdusempotion");
    EXPECT_EQ(s.labelsAtMessage, Path{"Life:80|Magic:60|Money:15000"});
    EXPECT_EQ(f["lblmagic"].caption(), "Magic:100");
    s.click("Command17");  // life 60, magic 90
    s.labelsAtMessage.clear();
    s.click("cmduserefill");
    EXPECT_EQ(s.labelsAtMessage, Path{"Life:100|Magic:100|Money:15000"});
    // Each last potion leaves its button greyed, never hidden.
    EXPECT_EQ(s.shownButtons(), (Path{"cmdusepotion(off)", "cmdusempotion(off)", "cmduserefill(off)", "Command15",
                                      "Command16", "Command17", "Command18"}));
}

// --- Every death from the apprentice to Stormer -----------------------------

struct Death {
    const char* row;
    Path path;  // the fatal press last
    Path said;  // what the fatal press said
    const char* lifeLabel;
    std::int64_t life;      // the variable, which some deaths leave as it was
    const char* situation;  // Label2 afterwards, or null when not checked
};

TEST(FirstHalfDeaths, EveryDeathLeavesOnlyQuit) {
    const Death deaths[] = {
        {"apprentice, invisible run", wizardApprentice(allThree) + times("Command16", 10),
         {"The aprrentice sees you. You have been hit."}, "Life:0", 0, nullptr},
        {"apprentice, cow", wizardApprentice(allThree) + times("Command17", 5),
         {"The apprentice blocks your spell. He retaliates.", "You are dead."}, "Life:0", 20, nullptr},
        {"apprentice, arrows", knightApprentice + times("Command20", 9),
         {"The apprentice blocks and strikes you with magic.", "You have lost."}, "Life:0", 0, nullptr},
        {"dragons, stone", wizardDragons(allThree) + times("Command23", 2),
         {"The dragons block the magic.You have been hurt.", "You have been killed."}, "Life:0", 0, nullptr},
        {"dragons, sword", knightDragons + times("Command25", 2),
         {"The dragons ignore your futile attempt to hurt them. You have been hurt.", "You have failed."}, "Life:0",
         0, nullptr},
        {"evil wizard, stones", wizardEvilWizard(allThree) + times("Command31", 5),
         {"The wizard blocks your spell but gets hurt in doing it.", "The wizard blasts you and you get hurt.",
          "You hurt the wizard by 20.", "You have died"},
         "Life:0", 20, nullptr},
        {"evil wizard, lightning", wizardEvilWizard(allThree) + times("Command31", 3) + times("Command32", 2),
         {"You have hurt the wizard.", "The wizard blasts you and you have been hurt.",
          "You have hurt the wizard by 50.", "You have died."},
         "Life:0", 0, nullptr},
        {"evil wizard, invisible", wizardEvilWizard(allThree) + times("Command33", 4),
         {"The wizard sees you and hits you.", "You hurt the wizard by 20 and the wizard hurts you by 20.",
          "You have died."},
         "Life:0", 0, nullptr},
        {"knights, arrows", knightKnights + times("Command37", 2),
         {"Your arrows don't pierce the knights armor. You are slashed.", "You have died."}, "Life:0", 0, nullptr},
        {"knights, stones", wizardKnights(allThree) + times("Command38", 5),
         {"Your stones have no effect. You are struck back."}, "Life:0", 0, nullptr},
        {"Black Knight, sword", knightBlackKnight + Path{"Command43"}, {"The Knight kills you easily."}, "Life:0", 0,
         "The Black Knight stands in your way. What do you do?"},
        {"Black Knight, stones", wizardBlackKnight(allThree) + times("Command45", 2),
         {"The Knight's armor is too thick. He slashes you.", "You are dead."}, "Life:0", 0, nullptr},
        {"Black Knight, lightning", wizardBlackKnight(allThree) + Path{"Command46"},
         {"The lightning reflects and kills you."}, "Life:0", 0, ""},
        {"Earthman, sword", knightEarthman + times("Command50", 5),
         {"Earthman blocks your blow. He jumps and hits you.", "You have died."}, "Life:0", 0, nullptr},
        {"Earthman, stones", wizardEarthman(allThree) + times("Command52", 5),
         {"Earthman takes the blows and retaliates.", "You have died."}, "Life:0", 20, nullptr},
        {"Earthman, lightning", wizardEarthman(allThree) + times("Command53", 2),
         {"Earthman absorbs your lightning and retaliates.", "You have been killed."}, "Life:0", 50, nullptr},
        {"Stormer, sword then arrows", knightStormer + Path{"Command57", "Command58"},
         {"You shoot Stormer.", "Stormer breathes fire.", "You died."}, "Life:0", 50,
         "You have met Stormer the Dragon. He is going to kill you. What do you do?"},
        {"Stormer, special swing", knightStormer + times("Command59", 2),
         {"You charge up your sword and use it on Stormer.", "Stormer breathes fire.", "You died."}, "Life:0", 50,
         nullptr},
        {"Stormer, stones", wizardStormer(allThree) + times("Command60", 2),
         {"You hit Stormer.", "Stormer breathes fire on you.", "You die from the flames."}, "Life:0", 0, ""},
        {"Stormer, lightning", wizardStormer(allThree) + times("Command61", 2),
         {"You hit Stormer.", "Stormer breathes flames on you.", "You died fighting."}, "Life:0", 50, ""},
        {"Stormer, invisible", wizardStormer(allThree) + times("Command62", 2),
         {"Stormer smells you.", "You quickly hit Stormer before he breathes fire on you.", "You have been killed."},
         "Life:0", 50, ""},
    };
    for (const Death& d : deaths) {
        SCOPED_TRACE(d.row);
        Session s;
        EXPECT_EQ(s.play(d.path), d.said);
        // The hero's potions went with him: nothing is left but "Quit".
        EXPECT_EQ(s.shownButtons(), Path{"cmdlose"});
        EXPECT_EQ(s.board()["lbllife"].caption(), d.lifeLabel);
        EXPECT_EQ(s.game.state.life, d.life);
        if (d.situation) {
            EXPECT_EQ(s.board()["Label2"].caption(), d.situation);
        }
        s.quit();
    }
}

// --- The stranded wizard ----------------------------------------------------

struct Lock {
    const char* row;
    Path path;  // the locking press last
    Path said;
    Path shown;  // the buttons left, in the board's order
    std::int64_t magic;
};

TEST(FirstHalfStranded, ALockWithNothingToUnlockItShowsQuit) {
    const Path one{"cmdpotion"};
    const Lock locks[] = {
        // Magic 80 after the bandits; 70 .. 10 after seven cows.
        {"apprentice, cow", wizardApprentice(one) + withPotions("Command17", 8, 4),
         {"The apprentice blocks your spell. He retaliates.", "You don't have any magic left."},
         {"cmdlose", "cmdusepotion(off)", "Command15(off)", "Command16(off)", "Command17(off)", "Command18(off)"},
         10},
        {"apprentice, lightning", wizardApprentice(one) + withPotions("Command17", 7, 4) + Path{"Command18"},
         {"Not enough magic left"},
         {"cmdlose", "cmdusepotion(off)", "Command15(off)", "Command16(off)", "Command17(off)", "Command18(off)"},
         10},
        {"dragons, stone", wizardDragons(times("cmdpotion", 9)) + withPotions("Command23", 10, 1),
         {"The dragons block the magic.You have been hurt.", "Not enough magic."},
         {"cmdlose", "cmdusepotion(off)", "Command22(off)", "Command23(off)", "Command24(off)"}, 0},
        // One stone at the dragons leaves 90 magic: nine stones at the wizard.
        {"evil wizard, stones",
         wizardDragons(times("cmdpotion", 2)) + Path{"Command23", "Command24", "Command27", "Command28"} +
             withPotions("Command31", 9, 4),
         {"The wizard blocks your spell but gets hurt in doing it.", "The wizard blasts you and you get hurt.",
          "You hurt the wizard by 20.", "You ran out of magic."},
         {"cmdlose", "cmdusepotion(off)", "Command28(off)", "Command31(off)", "Command32(off)", "Command33(off)"},
         0},
        {"evil wizard, invisible",
         wizardDragons(times("cmdpotion", 2)) + Path{"Command23", "Command24", "Command27", "Command28"} +
             withPotions("Command33", 9, 3),
         {"The wizard sees you and hits you.", "You hurt the wizard by 20 and the wizard hurts you by 20.",
          "You ran out of magic."},
         {"cmdlose", "cmdusepotion(off)", "Command28(off)", "Command31(off)", "Command32(off)", "Command33(off)"},
         0},
        // Five stones at the dragons leave 50 magic.
        {"evil wizard, lightning",
         wizardDragons(times("cmdpotion", 5)) + withPotions("Command23", 5, 1) +
             Path{"Command24", "Command27", "Command28"} + times("Command31", 4) + Path{"cmdusepotion", "Command32"},
         {"You have hurt the wizard.", "The wizard blasts you and you have been hurt.",
          "You have hurt the wizard by 50.", "You ran out of magic."},
         {"cmdlose", "cmdusepotion(off)", "Command28(off)", "Command31(off)", "Command32(off)", "Command33(off)"},
         0},
        // A stone win without a refill leaves 40 magic for the knights.
        {"knights, stones",
         wizardEvilWizard(times("cmdpotion", 2)) + times("Command32", 3) +
             Path{"Command31", "cmdusepotion", "Command31", "Command31", "Command34", "Command35"} +
             withPotions("Command38", 4, 2),
         {"Your stones have no effect. You are struck back.", "You ran out of magic."},
         {"cmdlose", "cmdusepotion(off)", "Command35(off)", "Command38(off)", "Command39(off)", "Command40(off)"},
         0},
        {"Black Knight, stones", wizardBlackKnight(times("cmdpotion", 9)) + withPotions("Command45", 10, 1),
         {"The Knight's armor is too thick. He slashes you.", "You ran out of magic."},
         {"cmdlose", "cmdusepotion(off)", "Command42(off)", "Command45(off)", "Command46(off)", "Command47(off)"},
         0},
        {"Earthman, lightning", wizardEarthman(times("cmdpotion", 9)) + withPotions("Command53", 10, 1),
         {"Earthman absorbs your lightning and retaliates.", "You have ran out of magic."},
         {"cmdlose", "cmdusepotion(off)", "Command49(off)", "Command52(off)", "Command53(off)", "Command54(off)"},
         0},
    };
    for (const Lock& l : locks) {
        SCOPED_TRACE(l.row);
        Session s;
        EXPECT_EQ(s.play(l.path), l.said);
        EXPECT_EQ(s.shownButtons(), l.shown);
        EXPECT_EQ(s.game.state.magic, l.magic);
        s.quit();
    }
}

TEST(FirstHalfStranded, NoQuitForAWizardWhoCanStillGoOn) {
    {
        SCOPED_TRACE("a refilling potion in hand");
        Session s;
        s.play(wizardApprentice(Path{"cmdpotion", "cmdrefill"}) + withPotions("Command17", 8, 4));
        EXPECT_EQ(s.shownButtons(), (Path{"cmdusepotion(off)", "cmduserefill", "Command15(off)", "Command16(off)",
                                          "Command17(off)", "Command18(off)"}));
    }
    {
        // Ten stones with a potion after every fourth: the tenth kills the
        // wizard and empties the magic at once; "Continue" is his way on.
        SCOPED_TRACE("the stone that wins and empties the magic");
        Session s;
        EXPECT_EQ(s.play(wizardEvilWizard(times("cmdpotion", 2)) + withPotions("Command31", 10, 4)),
                  (Path{"The wizard blocks your spell but gets hurt in doing it.",
                        "The wizard blasts you and you get hurt.", "You hurt the wizard by 20.",
                        "You have killed the wizard", "You ran out of magic."}));
        EXPECT_EQ(s.shownButtons(), (Path{"cmdusepotion(off)", "Command34"}));
        EXPECT_EQ(s.game.state.magic, 0);
        EXPECT_EQ(s.game.state.enemylife, 0);
    }
}

}  // namespace
}  // namespace vendral
