// Nilrem's hallucination and the return to the village: the battle in the
// great room (Nilrem never strikes back), the two men who claim the
// Treasure, and the elders who send the hero on with potions and money.
#include <array>
#include <initializer_list>
#include <string_view>

#include "core/rules.h"
#include "screens/form3/form3.h"
#include "screens/form3/steps.h"

namespace vendral::form3 {

namespace {

using steps::board;
using steps::fallen;
using steps::isKnight;
using steps::isWizard;
using steps::writeMoney;

constexpr std::array controls{
    button("Command1", "Go on", 240, 4800, 855, 495).hidden(),
    button("Command2", "Blast lightning", 1320, 1080, 1335, 495).hidden(),
    button("Command3", "Shoot objects", 1320, 1680, 1335, 495).hidden(),
    button("Command4", "Change him into stone", 840, 2280, 1935, 495).hidden(),
    button("Command5", "Shoot arrows", 1200, 2880, 1215, 495).hidden(),
    button("Command6", "Use sword", 1200, 3480, 1095, 495).hidden(),
    button("Command7", "Use swing", 1080, 4080, 1215, 495).hidden(),
    button("Command8", "Continue", 240, 4800, 975, 495).hidden(),
    button("cmdg", "Old man", 720, 1440, 975, 495).hidden(),
    button("cmdn", "Man with white hair", 2040, 1440, 1695, 495).hidden(),
    button("Command9", "Go on", 480, 4800, 855, 495).hidden(),
    button("Command10", "Start your journey", 120, 4800, 1575, 495).hidden(),
};

const std::initializer_list<std::string_view> wizardAttacks{"Command2", "Command3", "Command4"};
const std::initializer_list<std::string_view> knightAttacks{"Command5", "Command6", "Command7"};

void onGoOnToNilrem(Game& g) {
    Screen& f = board(g);
    f["lblchallenge"].setCaption(
        "You arrive in a huge room. You realize that Nilrem is standing in the middle of the room. You hear him say "
        "At Last! I have been waiting for this battle for a long time, " +
        g.state.playername + " .");
    f.hide({"Image1", "Image2", "Image3", "Image4", "Image5", "Image6", "Image7"});
    if (isWizard(g))
        f.show(wizardAttacks);
    else if (isKnight(g))
        f.show(knightAttacks);
    f["Command1"].hide();
    g.state.enemylife = 1000;
    writeEnemyLife(g, f);
    f["lblelife"].show();
}

// A damaging attack tests for victory before it strikes: Nilrem falls on
// the fifth hit, and the label stays at "Life left:200" when he does.
void strike(Game& g, const char* victory, std::initializer_list<std::string_view> attacks) {
    Screen& f = board(g);
    if (g.state.enemylife <= 200) {
        g.message(victory);
        f["Command8"].show();
        f.hide(attacks);
        f["lblchallenge"].setCaption("");
        f["lblelife"].hide();
    } else {
        g.state.enemylife -= 200;
        writeEnemyLife(g, f);
    }
}

void onBlastLightning(Game& g) {
    g.message("You blast Nilrem and he falls down and gets back up.");
    g.message("Nilrem looks too tired to do anything right now.");
    strike(g, "You won the battle and Nilrem will never do anything again.", wizardAttacks);
}

void onShootObjects(Game& g) {
    g.message("Nilrem is hit by everything and unable to do anything right now.");
    strike(g, "You won the battle and Nilrem is unable to do anything.", wizardAttacks);
}

void onChangeIntoStone(Game& g) {
    g.message("Nilrem counters the spell and tries to change you into stone but misses.");
}

void onShootArrows(Game& g) {
    g.message("Nilrem stops the arrows with a wave of his hand.");
    g.message("Nilrem blasts lightning but misses.");
}

void onUseSword(Game& g) {
    g.message("Nilrem tries to stop the sword but didn't react fast enough.");
    strike(g, "You killed Nilrem.", knightAttacks);
}

void onUseSwing(Game& g) {
    g.message("Nilrem was surprised to see that you knew how to do that and was hit.");
    strike(g, "You killed Nilrem.", knightAttacks);
}

void onLeaveTheCastle(Game& g) {
    Screen& f = board(g);
    f["lblchallenge"].setCaption(
        "Nilrem's servants have fled from the village. Once you come out, two men approach you. They both claim to "
        "be the ruler of the Village of Karthune before Nilrem. One of them is very old and looks wise and the other "
        "has white hair. Who will you give the Treasure to?");
    f["Command8"].hide();
    f.show({"cmdg", "cmdn"});
}

void onOldMan(Game& g) {
    g.message(
        "You give the Treasure to the old man. Immediatly, the man with white hair jumps and grabs the Treasure of "
        "Karthune.");
    g.message("Ha! I have the Treasure of Karthune now, " + g.state.playername +
              "! No one can stop Nilrem, the Supreme Dark Wizard!");
    g.message("You only killed a hallucination!");
    g.message("Nilrem disappears in a cloud of smoke and you must now recover the Treasure and kill Nilrem!");
    g.message("The old man gathers the villagers and you must listen to what he has to say.");
    Screen& f = board(g);
    f["lblchallenge"].setCaption("");
    f.hide({"cmdg", "cmdn"});
    f["Command9"].show();
}

void onManWithWhiteHair(Game& g) {
    g.message("Ha Ha! You are a fool, " + g.state.playername +
              "! No one can stop Nilrem! You only killed my hallucination!");
    g.message("Let's see how you handle real lightning!");
    g.message("Before you can counter the lightning, Nilrem shocks you with the most powerful lightning in the world.");
    g.message("Your Vendral has failed and you are toast!");
    fallen(g, {"cmdg", "cmdn"});
    board(g)["lblchallenge"].setCaption("");
}

void onEldersSpeak(Game& g) {
    Screen& f = board(g);
    f["lblchallenge"].setCaption(
        "We have asked you to bring back the Treasure of Karthune but it was stolen by Nilrem. The only way to get "
        "the Treasure is to cross Lake Osgalath and fight Nilrem and his servants. We will give you some supplies and "
        "money and then you may leave.");
    f["Command9"].hide();
    f["Command10"].show();
}

// The elders' gift adds to whatever the first journey left in the purse
// and the potion bags.
void onStartYourJourney(Game& g) {
    Screen& f = board(g);
    f["lblchallenge"].setCaption("");
    if (isWizard(g)) {
        g.message("Go on good Master Wizard!");
        g.message("Maybe if you defeat Nilrem, the Council will think about making you a Supreme Wizard!");
        g.message("You receive 20 of each potion and 100000 coins of money.");
        g.state.lifepotions += 20;
        g.state.magicpotions += 20;
        g.state.refillpotions += 20;
    } else if (isKnight(g)) {
        g.message("Go on good Master of Knights!");
        g.message("Maybe if you defeat Nilrem, the Union will think about making you a Supreme Knight.");
        g.message("You receive 20 potions and 100000 coins of money.");
        g.state.lifepotions += 20;
    }
    f["Command10"].hide();
    g.state.money += 100000;
    f["lblmoney"].show();
    writeMoney(g);
    f.show({"Command11", "Command12"});
    f["lblchallenge"].setCaption(
        "You go on for many miles. You are only 5 miles away from Lake Osgalath. You see an inn. Do you want to go "
        "in?");
}

constexpr std::array clicks{
    ClickBinding{"Command1", &onGoOnToNilrem},
    ClickBinding{"Command2", &onBlastLightning},
    ClickBinding{"Command3", &onShootObjects},
    ClickBinding{"Command4", &onChangeIntoStone},
    ClickBinding{"Command5", &onShootArrows},
    ClickBinding{"Command6", &onUseSword},
    ClickBinding{"Command7", &onUseSwing},
    ClickBinding{"Command8", &onLeaveTheCastle},
    ClickBinding{"cmdg", &onOldMan},
    ClickBinding{"cmdn", &onManWithWhiteHair},
    ClickBinding{"Command9", &onEldersSpeak},
    ClickBinding{"Command10", &onStartYourJourney},
};

}  // namespace

const ScreenPart village{.controls = controls, .clicks = clicks};

}  // namespace vendral::form3
