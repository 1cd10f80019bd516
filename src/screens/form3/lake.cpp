// The road to Nilrem's Island: the Nakkers' ambush, the Haft who guards
// the boat on Lake Osgalath, and the sea serpent. Each is one choice, and a
// wrong one is death at once; none of them touches life or magic.
#include <array>
#include <initializer_list>
#include <string_view>

#include "screens/form3/form3.h"
#include "screens/form3/steps.h"

namespace vendral::form3 {

namespace {

using steps::board;
using steps::fallen;
using steps::isKnight;
using steps::isWizard;
using steps::won;
using steps::writeMoney;

constexpr std::array controls{
    button("Command21", "Blast electricity", 1320, 1080, 1455, 495).hidden(),
    button("Command22", "Shoot Fireballs", 1320, 1680, 1455, 495).hidden(),
    button("Command23", "Command a wind to blow", 1320, 2280, 2175, 495).hidden(),
    button("Command24", "Slash with your sword", 1320, 2880, 1815, 495).hidden(),
    button("Command25", "Use Special Swing", 1440, 3480, 1695, 495).hidden(),
    button("Command26", "Fire flaming arrows", 1320, 4080, 1695, 495).hidden(),
    button("Command27", "Battle", 360, 4800, 855, 495).hidden(),
    button("Command28", "Continue", 240, 4800, 975, 495).hidden(),
    button("Command29", "Pay gold", 1320, 960, 1095, 495).hidden(),
    button("Command30", "Fight", 1320, 1680, 855, 495).hidden(),
    button("Command31", "Continue", 240, 4800, 975, 495).hidden(),
    button("Command32", "Use a water suction spell", 1320, 960, 2175, 495).hidden(),
    button("Command33", "Shoot fireballs", 1440, 1560, 1455, 495).hidden(),
    button("Command34", "Use a taming spell", 1560, 2160, 1695, 495).hidden(),
    button("Command35", "Shoot flaming arrows", 1440, 2760, 1815, 495).hidden(),
    button("Command36", "Throw your knife at it", 1440, 3360, 1815, 495).hidden(),
    button("Command37", "Jump on it and slash it", 1440, 3960, 1935, 495).hidden(),
    button("Command38", "Continue", 240, 4800, 975, 495).hidden(),
};

const std::initializer_list<std::string_view> wizardOnNakkers{"Command21", "Command22", "Command23"};
const std::initializer_list<std::string_view> knightOnNakkers{"Command24", "Command25", "Command26"};
const std::initializer_list<std::string_view> wizardOnSerpent{"Command32", "Command33", "Command34"};
const std::initializer_list<std::string_view> knightOnSerpent{"Command35", "Command36", "Command37"};

// --- The Nakkers ----------------------------------------------------------

void onBattleNakkers(Game& g) {
    Screen& f = board(g);
    if (isWizard(g)) {
        f.show(wizardOnNakkers);
        f["lblchallenge"].setCaption(
            "You see 6 Nakkers with their Skaws in their hands(Really big and sharp axes). You can kill all of them "
            "in one spell but you must do the right one before they attack.");
    } else if (isKnight(g)) {
        f.show(knightOnNakkers);
        f["lblchallenge"].setCaption(
            "You see 6 Nakkers with their Skaws in their hands(Really big and sharp axes). You can kill all of them "
            "with one attack but you must do the right one before they attack.");
    }
    f["Command27"].hide();
}

void onBlastElectricity(Game& g) {
    g.message("The Nakkers dodge and slash with their Skaws.");
    g.message("You are killed.");
    fallen(g, wizardOnNakkers);
}

void onShootFireballsAtNakkers(Game& g) {
    g.message("You burn all the Nakkers and they fall down and turn into ash.");
    won(g, wizardOnNakkers, "Command28");
}

void onCommandAWind(Game& g) {
    g.message("A huge burst of wind comes.");
    g.message("You are almost blown away yourself, but the Nakkers cannot stand it and go to another planet.");
    won(g, wizardOnNakkers, "Command28");
}

void onSlashNakkers(Game& g) {
    g.message("With your skill, you kill all the Nakkers.");
    won(g, knightOnNakkers, "Command28");
}

void onSpecialSwing(Game& g) {
    g.message("The Nakkers jump over it and slash you with their Skars.");
    g.message("You died.");
    fallen(g, knightOnNakkers);
}

void onFlamingArrowsAtNakkers(Game& g) {
    g.message("All the Nakkers burn and you kill them all.");
    won(g, knightOnNakkers, "Command28");
}

// --- The Haft of Lake Osgalath ----------------------------------------------

void onToTheLake(Game& g) {
    Screen& f = board(g);
    f["lblchallenge"].setCaption(
        "You arrive at Lake Osgalath. You see a boat but a Haft is guarding it. Do you dare to fight him or pay "
        "gold?");
    f.show({"Command29", "Command30"});
    f["Command28"].hide();
}

// Too little gold for the toll is not a refusal: the Haft kills the hero.
void onPayGold(Game& g) {
    Screen& f = board(g);
    if (g.state.money < 20000) {
        g.message("You don't have enough money to pay.");
        g.message("The Haft angrily kills you.");
        fallen(g, {"Command29", "Command30"});
        return;
    }
    g.message("The Haft gladly accepts the money and lets you use the boat.");
    f.hide({"Command29", "Command30"});
    f["lblchallenge"].setCaption("");
    f["Command31"].show();
    g.state.money -= 20000;
    writeMoney(g);
}

void onFightTheHaft(Game& g) {
    g.message(
        "After many hours of fighting you, out of weariness, fall down. The Haft quickly kills you before you can get "
        "up.");
    fallen(g, {"Command29", "Command30"});
}

// --- The sea serpent -------------------------------------------------------

void onOntoTheLake(Game& g) {
    Screen& f = board(g);
    f["lblchallenge"].setCaption(
        "During your way to Nilrem's Island, you meet a sea serpent. You must fight it to get past.");
    if (isWizard(g))
        f.show(wizardOnSerpent);
    else if (isKnight(g))
        f.show(knightOnSerpent);
    f["Command31"].hide();
}

void onWaterSuction(Game& g) {
    g.message("Your spell was successful and the serpent vanishes.");
    won(g, wizardOnSerpent, "Command38");
}

void onShootFireballsAtSerpent(Game& g) {
    g.message("The serpent becomes a fireball.");
    g.message("It crashes into the Lake never to be seen again.");
    won(g, wizardOnSerpent, "Command38");
}

void onTamingSpell(Game& g) {
    g.message("You hear Nilrem's voice.");
    g.message("You're a fool! No one can tame my creatures.");
    g.message("The serpent's eyes are lit up and crushes your boat.");
    g.message("The serpent then crushes you.");
    fallen(g, wizardOnSerpent);
}

void onFlamingArrowsAtSerpent(Game& g) {
    g.message("After many shots, you kill the serpent.");
    won(g, knightOnSerpent, "Command38");
}

void onThrowKnife(Game& g) {
    g.message("The scales on the serpent deflect it and you are killed by it.");
    fallen(g, knightOnSerpent);
}

void onJumpOnIt(Game& g) {
    g.message("You killed the serpent and scramble on to your boat.");
    g.message("You go on.");
    won(g, knightOnSerpent, "Command38");
}

void onLandOnTheIsland(Game& g) {
    g.message("You make it to Nilrem's Island.");
    g.message("You see Nilrem's Castle and a forest to go through.");
    g.message(
        "Putting your boat in a safe place, you go in the forest to see whether you shall triumph or fail in your "
        "Vendral.");
    Screen& f = board(g);
    f["Command38"].hide();
    f["Command39"].show();
}

constexpr std::array clicks{
    ClickBinding{"Command21", &onBlastElectricity},
    ClickBinding{"Command22", &onShootFireballsAtNakkers},
    ClickBinding{"Command23", &onCommandAWind},
    ClickBinding{"Command24", &onSlashNakkers},
    ClickBinding{"Command25", &onSpecialSwing},
    ClickBinding{"Command26", &onFlamingArrowsAtNakkers},
    ClickBinding{"Command27", &onBattleNakkers},
    ClickBinding{"Command28", &onToTheLake},
    ClickBinding{"Command29", &onPayGold},
    ClickBinding{"Command30", &onFightTheHaft},
    ClickBinding{"Command31", &onOntoTheLake},
    ClickBinding{"Command32", &onWaterSuction},
    ClickBinding{"Command33", &onShootFireballsAtSerpent},
    ClickBinding{"Command34", &onTamingSpell},
    ClickBinding{"Command35", &onFlamingArrowsAtSerpent},
    ClickBinding{"Command36", &onThrowKnife},
    ClickBinding{"Command37", &onJumpOnIt},
    ClickBinding{"Command38", &onLandOnTheIsland},
};

}  // namespace

const ScreenPart lake{.controls = controls, .clicks = clicks};

}  // namespace vendral::form3
