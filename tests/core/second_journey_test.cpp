// The second journey from the cups to the Gates, played on the real story:
// every fatal choice and its way out, the money edges of the inn and the
// Haft, and a search of every reachable screen for one with no way on.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "core/game.h"
#include "replay/headless.h"
#include "screens/screens.h"

namespace vendral {
namespace {

// How far along the screen a test is taken before its own clicks.
enum class Stage { Cups, Men, Inn, Rooms, Nakkers, Haft, Serpent, Spiders, FirstGuards, SecondGuards };

struct Journey {
    HeadlessPlatform platform;
    Game game{platform, allScreens()};
    std::vector<std::string> lines;
    bool wizard;

    explicit Journey(bool isWizard) : wizard(isWizard) {
        platform.onLine = [this](const std::string& l) { lines.push_back(l); };
        platform.queueName(std::string("Tom"));
        game.start();
        game.state.heroclass = wizard ? "Wizard" : "Knight";
        game.state.playername = "Tom";
        game.show("Form3");
    }

    Screen& f() { return game.screen("Form3"); }

    void click(const std::string& name) {
        ASSERT_EQ(game.click("Form3", name), Refusal::None) << name;
    }

    // The messages shown since the mark, without their "message: " prefix.
    std::vector<std::string> messagesSince(std::size_t mark) const {
        std::vector<std::string> out;
        for (std::size_t i = mark; i < lines.size(); ++i)
            if (lines[i].rfind("message: ", 0) == 0) out.push_back(lines[i].substr(9));
        return out;
    }

    // The winning way through, one encounter at a time.
    void walkTo(Stage stage) {
        const auto won = [&](const char* w, const char* k) { click(wizard ? w : k); };
        click("cmdstart");
        if (stage == Stage::Cups) return;
        click("Image2");
        click("Command1");
        for (int i = 0; i < 5; ++i) won("Command2", "Command6");
        click("Command8");
        if (stage == Stage::Men) return;
        click("cmdg");
        click("Command9");
        click("Command10");
        if (stage == Stage::Inn) return;
        click("Command11");
        if (stage == Stage::Rooms) return;
        click("Command13");
        click("Command16");
        click("Command27");
        if (stage == Stage::Nakkers) return;
        won("Command22", "Command24");
        click("Command28");
        if (stage == Stage::Haft) return;
        click("Command29");
        click("Command31");
        if (stage == Stage::Serpent) return;
        won("Command32", "Command35");
        click("Command38");
        click("Command39");
        if (stage == Stage::Spiders) return;
        won("Command40", "Command44");
        click("Command46");
        if (stage == Stage::FirstGuards) return;
        click("Command47");
    }

    std::vector<std::string> visibleButtons() {
        std::vector<std::string> out;
        for (const Control& c : f().controls())
            if (c.visible() && (c.kind() == Kind::Button || c.def().picture == "cup")) out.emplace_back(c.name());
        return out;
    }
};

struct Fatal {
    bool wizard;
    Stage stage;
    const char* button;
    std::vector<std::string> messages;
};

// Every losing choice of the screen, with its death messages in order.
const std::vector<Fatal>& fatalChoices() {
    static const std::vector<Fatal> all{
        {true, Stage::Cups, "Image3",
         {"You taste a very sweet liquid.", "You notice that you are losing your strength.", "You die from the poison."}},
        {false, Stage::Cups, "Image5",
         {"You remember this taste because of a simulation you did to see what this particular poison does.",
          "You quickly disappear from this world and you are never seen again."}},
        {true, Stage::Cups, "Image6", {"Immediatly, you feel sick.", "You die from the poison."}},
        {false, Stage::Men, "cmdn",
         {"Ha Ha! You are a fool, Tom! No one can stop Nilrem! You only killed my hallucination!",
          "Let's see how you handle real lightning!",
          "Before you can counter the lightning, Nilrem shocks you with the most powerful lightning in the world.",
          "Your Vendral has failed and you are toast!"}},
        {true, Stage::Inn, "Command12",
         {"You go on, and all of a sudden you are surrounded by Nakkers. You are killed by them."}},
        {false, Stage::Rooms, "Command15",
         {"The innkeeper shows you their cheapest room.", "It costs nothing and the walls are very thin.",
          "In the night, a sword slices through the wall and a Nakker kills you before you wake."}},
        {true, Stage::Nakkers, "Command21", {"The Nakkers dodge and slash with their Skaws.", "You are killed."}},
        {false, Stage::Nakkers, "Command25",
         {"The Nakkers jump over it and slash you with their Skars.", "You died."}},
        {true, Stage::Haft, "Command30",
         {"After many hours of fighting you, out of weariness, fall down. The Haft quickly kills you before you can "
          "get up."}},
        {true, Stage::Serpent, "Command34",
         {"You hear Nilrem's voice.", "You're a fool! No one can tame my creatures.",
          "The serpent's eyes are lit up and crushes your boat.", "The serpent then crushes you."}},
        {false, Stage::Serpent, "Command36",
         {"The scales on the serpent deflect it and you are killed by it."}},
        {true, Stage::Spiders, "Command41",
         {"The spiders become a flame, and run towards the trees blindly. The whole forest is set ablaze and you "
          "are in the midst of it.",
          "You die."}},
        {true, Stage::Spiders, "Command42",
         {"You blind the spiders and begin to run.",
          "Not seeing a Heq on the ground, you trip over the Heq and a spider blindly strikes.",
          "The spider hit you and you feel poison coming into you.",
          "The spiders overwhelm you and you are going to be dinner soon."}},
        {false, Stage::Spiders, "Command43",
         {"After many spiders were dead and wounded, you become weary and they overwhelm you."}},
        {false, Stage::Spiders, "Command45",
         {"You kill many spiders and most of them have an arrow sticking out of them.",
          "A spider behind you jumps on you and poisons you."}},
        {false, Stage::FirstGuards, "Command48",
         {"You are brought before Nilrem.", "You are a fool, Tom! You shall be cast into the alligator pit.",
          "You are dragged to the pit and thrown in.", "The alligators had a good lunch that day."}},
        {true, Stage::SecondGuards, "Command50",
         {"Nilrem's magic stops the fireballs, and comes back at you.", "You have failed your Vendral."}},
        {false, Stage::SecondGuards, "Command52",
         {"The guards are expert bowsmen and shoot your arrows out of the air.",
          "6 arrows come toward you and you die."}},
    };
    return all;
}

TEST(SecondJourney, EveryFatalChoiceLeavesOnlyQuitAndKeepsLife) {
    for (const Fatal& fatal : fatalChoices()) {
        SCOPED_TRACE(fatal.button);
        Journey j(fatal.wizard);
        j.walkTo(fatal.stage);
        const Num lifeBefore = j.game.state.life;
        const std::string sceneBefore = j.f()["lblchallenge"].caption();
        const std::size_t mark = j.lines.size();
        j.click(fatal.button);
        EXPECT_EQ(j.messagesSince(mark), fatal.messages);
        EXPECT_EQ(j.f()["lbllife"].caption(), "Life:0");
        EXPECT_EQ(j.game.state.life.str(), lifeBefore.str());  // only the label dies
        EXPECT_EQ(j.visibleButtons(), std::vector<std::string>{"cmdlose"});
        // A death leaves the scene text as it was; only the man with white
        // hair clears it.
        EXPECT_EQ(j.f()["lblchallenge"].caption(), std::string(fatal.button) == "cmdn" ? "" : sceneBefore);
        const std::size_t beforeQuit = j.lines.size();
        j.click("cmdlose");
        EXPECT_EQ(j.messagesSince(beforeQuit), std::vector<std::string>{"Too bad you lost now right, Tom?"});
        EXPECT_TRUE(j.game.ended());
    }
}

// The scene text along the winning road, after every click: each step
// writes its own situation, clears it, or leaves it as it was, and the
// Nakkers are told differently to each hero.
struct Scene {
    const char* wizard;
    const char* knight;
    std::string text;
    std::string knightText = {};  // when the knight is told otherwise
};

TEST(SecondJourney, EveryStepWritesItsOwnScene) {
    const std::string cupsScript =
        "You see a script on the table. You read it and you see:These cups all hold some kind of liquid. Two hold "
        "wine, Three hold poison, One holds the key to stop the fire, and one will make you invisible until you say "
        "STOP! You become invisible again by saying START! Click on the cup to drink.";
    const std::string room =
        "You arrive in a huge room. You realize that Nilrem is standing in the middle of the room. You hear him say "
        "At Last! I have been waiting for this battle for a long time, Tom .";
    const std::string guards = "Another two guards see you and come to battle you to stop you from getting to Nilrem.";
    const std::vector<Scene> road{
        {"cmdstart", "cmdstart", cupsScript},
        {"Image2", "Image2", cupsScript},
        {"Command1", "Command1", room},
        {"Command4", "Command5", room},  // the harmless attacks
        {"Command2", "Command6", room},
        {"Command3", "Command7", room},
        {"Command2", "Command6", room},
        {"Command3", "Command7", room},
        {"Command2", "Command6", ""},
        {"Command8", "Command8",
         "Nilrem's servants have fled from the village. Once you come out, two men approach you. They both claim to "
         "be the ruler of the Village of Karthune before Nilrem. One of them is very old and looks wise and the other "
         "has white hair. Who will you give the Treasure to?"},
        {"cmdg", "cmdg", ""},
        {"Command9", "Command9",
         "We have asked you to bring back the Treasure of Karthune but it was stolen by Nilrem. The only way to get "
         "the Treasure is to cross Lake Osgalath and fight Nilrem and his servants. We will give you some supplies "
         "and money and then you may leave."},
        {"Command10", "Command10",
         "You go on for many miles. You are only 5 miles away from Lake Osgalath. You see an inn. Do you want to go "
         "in?"},
        {"Command11", "Command11", ""},
        {"Command13", "Command13", ""},
        {"Command16", "Command16",
         "You walk along the path and all of a sudden, you hear leaves hitting the ground. You think that the leaves "
         "are falling until you remember what the innkeeper said about Nakkers. Your teacher a long time ago said "
         "Nakkers walk like leaves hitting the ground. You prepare for a battle."},
        {"Command27", "Command27",
         "You see 6 Nakkers with their Skaws in their hands(Really big and sharp axes). You can kill all of them in "
         "one spell but you must do the right one before they attack.",
         "You see 6 Nakkers with their Skaws in their hands(Really big and sharp axes). You can kill all of them with "
         "one attack but you must do the right one before they attack."},
        {"Command23", "Command26", ""},
        {"Command28", "Command28",
         "You arrive at Lake Osgalath. You see a boat but a Haft is guarding it. Do you dare to fight him or pay "
         "gold?"},
        {"Command29", "Command29", ""},
        {"Command31", "Command31",
         "During your way to Nilrem's Island, you meet a sea serpent. You must fight it to get past."},
        {"Command33", "Command37", ""},
        {"Command38", "Command38", ""},
        {"Command39", "Command39",
         "After much walking and running, you come across a colony of spiders. You realize that these spiders are "
         "huge. All of them are 5 feet high or higher and pretty big. They seemed to be eating many Heqs lately, "
         "quite ready to try other meat. What do you do?"},
        {"Command40", "Command44", ""},
        {"Command46", "Command46", guards},
        {"Command47", "Command47", guards},
        {"Command49", "Command51", ""},
    };
    for (bool wizard : {true, false}) {
        Journey j(wizard);
        for (const Scene& step : road) {
            const char* button = wizard ? step.wizard : step.knight;
            SCOPED_TRACE(button);
            j.click(button);
            const std::string& want = !wizard && !step.knightText.empty() ? step.knightText : step.text;
            EXPECT_EQ(j.f()["lblchallenge"].caption(), want);
            if (std::string(button) == "Command4" || std::string(button) == "Command5") {
                EXPECT_EQ(j.game.state.enemylife, 1000);
                EXPECT_EQ(j.f()["lblelife"].caption(), "Life left:1000");
            }
        }
        EXPECT_TRUE(j.f()["Command53"].visible());
    }
}

TEST(SecondJourney, InnShopRefusesAtItsMoneyEdges) {
    Journey j(true);
    j.walkTo(Stage::Rooms);
    j.game.state.money = 20100;
    j.click("Command14");
    EXPECT_EQ(j.f()["lblmoney"].caption(), "Money:100");
    const Num potions = j.game.state.lifepotions;
    j.click("Command17");  // exactly 100: bought, nothing left
    EXPECT_EQ(j.f()["lblmoney"].caption(), "Money:0");
    EXPECT_EQ(j.game.state.lifepotions, potions + 1);
    std::size_t mark = j.lines.size();
    j.click("Command17");
    EXPECT_EQ(j.messagesSince(mark), std::vector<std::string>{"You can't buy any more potions."});
    EXPECT_EQ(j.game.state.lifepotions, potions + 1);
    EXPECT_EQ(j.game.state.money, 0);
    for (const char* b : {"Command17", "Command18", "Command19"}) {
        EXPECT_TRUE(j.f()[b].visible()) << b;
        EXPECT_FALSE(j.f()[b].enabled()) << b;
    }
    j.click("Command20");  // resting is always possible
    EXPECT_TRUE(j.f()["Command16"].visible());

    // 150 coins: the 200-coin potions go grey, the life potion stays.
    Journey k(true);
    k.walkTo(Stage::Rooms);
    k.game.state.money = 20150;
    k.click("Command14");
    const Num magic = k.game.state.magicpotions;
    mark = k.lines.size();
    k.click("Command18");
    EXPECT_EQ(k.messagesSince(mark), std::vector<std::string>{"Not enough money."});
    EXPECT_EQ(k.game.state.magicpotions, magic);
    EXPECT_FALSE(k.f()["Command18"].enabled());
    EXPECT_FALSE(k.f()["Command19"].enabled());
    EXPECT_EQ(k.game.click("Form3", "Command19"), Refusal::ControlDisabled);
    k.click("Command17");
    EXPECT_EQ(k.f()["lblmoney"].caption(), "Money:50");

    // Exactly 200 buys a refilling potion.
    Journey r(true);
    r.walkTo(Stage::Rooms);
    r.game.state.money = 20200;
    r.click("Command14");
    const Num refills = r.game.state.refillpotions;
    r.click("Command19");
    EXPECT_EQ(r.game.state.refillpotions, refills + 1);
    EXPECT_EQ(r.f()["lblmoney"].caption(), "Money:0");

    // The knight is sold life potions only.
    Journey knight(false);
    knight.walkTo(Stage::Rooms);
    knight.click("Command14");
    EXPECT_EQ(knight.visibleButtons(), (std::vector<std::string>{"Command17", "Command20"}));
}

TEST(SecondJourney, HaftTakesExactlyTheTollOrKills) {
    Journey rich(false);
    rich.walkTo(Stage::Haft);
    rich.game.state.money = 20000;
    rich.click("Command29");
    EXPECT_EQ(rich.f()["lblmoney"].caption(), "Money:0");
    EXPECT_TRUE(rich.f()["Command31"].visible());
    EXPECT_FALSE(rich.f()["cmdlose"].visible());
    EXPECT_EQ(rich.f()["lblchallenge"].caption(), "");

    Journey poor(false);
    poor.walkTo(Stage::Haft);
    poor.game.state.money = 19999;
    const std::size_t mark = poor.lines.size();
    poor.click("Command29");
    EXPECT_EQ(poor.messagesSince(mark),
              (std::vector<std::string>{"You don't have enough money to pay.", "The Haft angrily kills you."}));
    EXPECT_EQ(poor.game.state.money, 19999);
    EXPECT_EQ(poor.f()["lblmoney"].caption(), "Money:105000");  // the label is not rewritten on death
    EXPECT_EQ(poor.visibleButtons(), std::vector<std::string>{"cmdlose"});
}

TEST(SecondJourney, GiftAddsToWhatTheHeroCarries) {
    Journey knight(false);
    knight.game.state.lifepotions = 5;
    knight.game.state.magicpotions = 3;
    knight.game.state.money = 250;
    knight.walkTo(Stage::Inn);
    EXPECT_EQ(knight.game.state.lifepotions, 25);
    EXPECT_EQ(knight.game.state.magicpotions, 3);
    EXPECT_TRUE(knight.game.state.refillpotions.empty());
    EXPECT_EQ(knight.f()["lblmoney"].caption(), "Money:100250");

    Journey wizard(true);
    wizard.game.state.refillpotions = 2;
    wizard.walkTo(Stage::Inn);
    EXPECT_EQ(wizard.game.state.lifepotions, 20);
    EXPECT_EQ(wizard.game.state.magicpotions, 20);
    EXPECT_EQ(wizard.game.state.refillpotions, 22);
}

TEST(SecondJourney, GatesMarkAHeroWhoGoesOnPastADefeat) {
    for (bool lost : {false, true}) {
        Journey j(true);
        j.walkTo(Stage::SecondGuards);
        j.click("Command49");
        if (lost) j.f()["cmdlose"].show();
        j.click("Command53");
        EXPECT_EQ(j.game.state.playername, lost ? "Cheater" : "Tom");
        EXPECT_FALSE(j.f().visible());
        ASSERT_NE(j.game.findLoaded("Form4"), nullptr);
        EXPECT_TRUE(j.game.screen("Form4").visible());
    }
}

// Every screen a player can reach, found by trying each cup and button in
// each distinct state (a state is what can be clicked, the enemy's life, the
// life label and the invisibility): wherever the player stands there is a
// way on or a way out, and a defeat leaves "Quit" alone with "Life:0".
std::string stateOf(Journey& j) {
    std::string s;
    for (const std::string& b : j.visibleButtons()) s += b + (j.f()[b].enabled() ? "+" : "-") + " ";
    return s + "|" + j.game.state.enemylife.str() + "|" + j.f()["lbllife"].caption() + "|" +
           j.game.state.invisible.str();
}

TEST(SecondJourney, NoReachableScreenLeavesThePlayerStranded) {
    for (bool wizard : {true, false}) {
        SCOPED_TRACE(wizard ? "Wizard" : "Knight");
        std::set<std::string> seen;
        std::deque<std::vector<std::string>> paths{{}};
        std::set<std::string> gates;  // the life label of each arrival at the Gates
        int defeats = 0;
        while (!paths.empty()) {
            const std::vector<std::string> path = paths.front();
            paths.pop_front();
            Journey j(wizard);
            for (const std::string& step : path) j.click(step);
            if (j.game.ended()) continue;
            if (!j.f().visible()) {
                gates.insert(j.f()["lbllife"].caption());
                continue;
            }
            const std::vector<std::string> shown = j.visibleButtons();
            const bool defeated = j.f()["cmdlose"].visible();
            EXPECT_EQ(defeated, j.f()["lbllife"].caption() == "Life:0") << stateOf(j);
            if (defeated) {
                EXPECT_EQ(shown, std::vector<std::string>{"cmdlose"});
                ++defeats;
            }
            if (!seen.insert(stateOf(j)).second) continue;
            bool anyUsable = false;
            for (const std::string& b : shown) {
                if (!j.f()[b].enabled()) continue;
                anyUsable = true;
                std::vector<std::string> next = path;
                next.push_back(b);
                paths.push_back(std::move(next));
            }
            ASSERT_TRUE(anyUsable) << "stranded at " << stateOf(j);
        }
        // Both ways past the first guards were found: slipped past, or fought
        // at the cost of 50 life.
        EXPECT_EQ(gates, (std::set<std::string>{"Life:450", "Life:500"}));
        EXPECT_GT(defeats, 10);
    }
}

}  // namespace
}  // namespace vendral
