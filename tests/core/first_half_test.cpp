// The life and magic tests that the story steps share, at their edges, and
// the moments at which the first store and the Items panel rewrite their
// labels relative to their messages (which no transcript can show).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game.h"
#include "core/rules.h"
#include "replay/headless.h"
#include "screens/screens.h"

namespace vendral {
namespace {

class FirstHalf : public ::testing::Test {
protected:
    void SetUp() override {
        platform.queueName("Ann");
        platform.onLine = [this](const std::string& line) {
            seen.push_back(line);
            // What the status labels read while each message box is up.
            if (line.rfind("message: ", 0) == 0 && game.findLoaded("Form1")) {
                Screen& f = game.screen("Form1");
                atMessage.push_back(f["lbllife"].caption() + "|" + f["lblmagic"].caption() + "|" +
                                    f["Label3"].caption());
            }
        };
        game.start();
        seen.clear();
        atMessage.clear();
    }

    Screen& board() { return game.screen("Form1"); }
    void click(const char* control) { ASSERT_EQ(game.click("Form1", control), Refusal::None) << control; }

    HeadlessPlatform platform{1};
    Game game{platform, allScreens()};
    std::vector<std::string> seen;
    std::vector<std::string> atMessage;
};

TEST_F(FirstHalf, ZeroTestHitKillsOnlyAtExactlyZero) {
    Screen& f = board();
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
    Screen& f = board();
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

TEST_F(FirstHalf, TestThenHitLandsTheBlowEvenOnADeath) {
    Screen& f = board();
    game.state.life = 50;  // exactly D
    EXPECT_TRUE(testThenHit(game, f, 50));
    EXPECT_EQ(game.state.life, 0);
    EXPECT_EQ(f["lbllife"].caption(), "Life:0");

    game.state.life = 30;  // below D: the label shows the lowered value
    EXPECT_TRUE(testThenHit(game, f, 50));
    EXPECT_EQ(game.state.life, -20);
    EXPECT_EQ(f["lbllife"].caption(), "Life:-20");

    game.state.life = 51;
    EXPECT_FALSE(testThenHit(game, f, 50));
    EXPECT_EQ(game.state.life, 1);
}

TEST_F(FirstHalf, SpendFormsLockAtTheirEdges) {
    Screen& f = board();
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

// The three purchases and the three potions each rewrite their labels at
// their own moment: the life potion's money before its message, the others'
// after; the life potion's life after its message, the refill's before.
TEST_F(FirstHalf, StoreAndItemsRewriteLabelsAroundTheirMessages) {
    for (const char* c : {"cmdwizard", "cmdstart", "Command1", "Command4", "Command6", "Command7", "Command12",
                          "Command13", "cmdyes"})
        click(c);
    ASSERT_EQ(game.state.money, 20000);
    atMessage.clear();
    click("cmdpotion");
    click("cmdMPotion");
    click("cmdrefill");
    EXPECT_EQ(atMessage, (std::vector<std::string>{"Life:100|Magic:80|Money:19000",
                                                   "Life:100|Magic:80|Money:19000",
                                                   "Life:100|Magic:80|Money:17000"}));
    click("cmdleave");
    click("Command14");
    click("Command15");
    click("Command17");  // life 80, magic 70
    atMessage.clear();
    click("cmdusepotion");
    EXPECT_EQ(atMessage, (std::vector<std::string>{"Life:80|Magic:70|Money:15000"}));
    EXPECT_EQ(game.state.life, 100);
    click("Command17");  // life 80, magic 60
    atMessage.clear();
    click("cmdusempotion");
    EXPECT_EQ(atMessage, (std::vector<std::string>{"Life:80|Magic:60|Money:15000"}));
    EXPECT_EQ(board()["lblmagic"].caption(), "Magic:100");
    click("Command17");  // life 60, magic 90
    atMessage.clear();
    click("cmduserefill");
    EXPECT_EQ(atMessage, (std::vector<std::string>{"Life:100|Magic:100|Money:15000"}));
    EXPECT_EQ(board()["lbllife"].caption(), "Life:100");
    EXPECT_EQ(game.state.lifepotion, 0);
    EXPECT_EQ(game.state.magicpotion, 0);
    EXPECT_EQ(game.state.refillpotion, 0);
}

}  // namespace
}  // namespace vendral
