// After Stormer: the one lasting choice of the first journey (a life of 500
// without the Items panel, or the potions kept), the storekeeper who gives
// ten potions of each kind the hero may use, the use buttons of the new
// potions, and the huge serpent.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("Command63", "Continue", 600, 4680, 975, 495).hidden(),
    button("Command64", " Upgrade", 1080, 1920, 1095, 375).hidden(),
    button("Command65", "Keep potions and go on", 3000, 1920, 2175, 375).hidden(),
    button("Command66", "Continue", 480, 4680, 1095, 495).hidden(),
    button("Command67", "Yes", 3840, 1920, 975, 375).hidden(),
    button("Command68", "No", 4920, 1920, 855, 375).hidden(),
    button("Command69", "Continue", 480, 4680, 1095, 495).hidden(),
    button("Command70", "Use new Potion", 5400, 4440, 1575, 495).hidden(),
    button("Command71", "Use new Refill potion", 2760, 4440, 1815, 495).hidden(),
    button("Command72", "Use new Magic potion", 4680, 5160, 1815, 495).hidden(),
    button("Command73", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command74", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command75", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command76", "Use special swing", 4800, 2280, 1815, 495).hidden(),
    button("Command77", "Fire stones", 1440, 2880, 1215, 495).hidden(),
    button("Command78", "Fire lightning", 600, 3480, 1335, 495).hidden(),
    button("Command79", "Turn invisible and fight", 240, 4080, 1935, 495).hidden(),
};

// --- The upgrade offer and the free store ---------------------------------

void onCommand63(Game& g) {
    Screen& f = board(g);
    f["Command63"].hide();
    f["Label2"].setCaption("");
    g.message(
        "You are offered a chance to upgrade your life and lose your potions or keep your potions and don't get a "
        "upgrade. What do you do?");
    f.show({"Command64", "Command65"});
}

void onCommand64(Game& g) {
    Screen& f = board(g);
    // The old potions stay counted; only their buttons and heading go.
    f.hide({"cmdusepotion", "cmdusempotion", "cmduserefill", "Label4"});
    g.state.life = 500;
    writeLife(g, f);
    f.hide({"Command64", "Command65"});
    g.message("Your Life is upgraded.");
    g.message("Your potions disappear.");
    g.state.upgradechoice = 1;
    f["Command66"].show();
}

void onCommand65(Game& g) {
    Screen& f = board(g);
    g.message("You go on.");
    f.hide({"Command64", "Command65"});
    f["Command66"].show();
}

void onCommand66(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("You come upon a store. Do you want to go in?");
    f.show({"Command67", "Command68"});
    f["Command66"].hide();
}

// The storekeeper gives ten of each potion the hero can use: old potions to
// a hero who kept them, new ones to an upgraded hero. Nothing is charged.
void onCommand67(Game& g) {
    Screen& f = board(g);
    auto& s = g.state;
    if (isWizard(g) && s.upgradechoice == 0) {
        g.message("The storekeeper gives you 10 of each of the potions.");
        s.lifepotion += 10;
        s.magicpotion += 10;
        s.refillpotion += 10;
        // The "Items" heading is not brought back.
        f.enable({"cmdusepotion", "cmdusempotion", "cmduserefill"});
        f.show({"cmdusepotion", "cmdusempotion", "cmduserefill"});
    }
    if (isKnight(g) && s.upgradechoice == 0) {
        g.message("The storekeeper gives you 10 potions.");
        s.lifepotion += 10;
        f["cmdusepotion"].enable();
        f["cmdusepotion"].show();
    }
    if (isWizard(g) && s.upgradechoice == 1) {
        s.magic = 1000;
        writeMagic(g, f);
        g.message("Magic upgraded.");
        g.message("You get 10 of each of the potions for free.");
        f.show({"Command70", "Command71", "Command72"});
        s.lifepotions += 10;
        s.magicpotions += 10;
        s.refillpotions += 10;
    }
    if (isKnight(g) && s.upgradechoice == 1) {
        g.message("You get 10 potions for free.");
        f["Command70"].show();
        s.lifepotions += 10;
    }
    f.hide({"Command67", "Command68"});
    f["Command69"].show();
}

void onCommand68(Game& g) {
    Screen& f = board(g);
    g.message("You pass the store.");
    f.hide({"Command67", "Command68"});
    f["Command69"].show();
}

// --- The new potions: fixed levels, never added ---------------------------

// The new magic and refilling potions unlock only the spells of the
// treasure-room wizard.
void unlockTreasureRoomSpells(Screen& f) { f.enable({"Command82", "Command86", "Command87", "Command88"}); }

void onCommand70(Game& g) {
    Screen& f = board(g);
    g.state.life = 500;
    writeLife(g, f);
    g.message("Life refilled.");
    g.state.lifepotions -= 1;
    if (g.state.lifepotions == 0) f["Command70"].disable();
}

void onCommand71(Game& g) {
    Screen& f = board(g);
    g.message("Life and Magic refilled.");
    g.state.life = 500;
    g.state.magic = 1000;
    writeLife(g, f);
    writeMagic(g, f);
    g.state.refillpotions -= 1;
    if (g.state.refillpotions == 0) f["Command71"].disable();
    unlockTreasureRoomSpells(f);
}

void onCommand72(Game& g) {
    Screen& f = board(g);
    g.message("Magic refilled");
    g.state.magic = 1000;
    writeMagic(g, f);
    g.state.magicpotions -= 1;
    if (g.state.magicpotions == 0) f["Command72"].disable();
    unlockTreasureRoomSpells(f);
}

// --- The serpent ----------------------------------------------------------

// Both winning steps refill life to the level of the hero's kit.
void refillByKit(Game& g) {
    if (g.state.upgradechoice == 0) g.state.life = 100;
    if (g.state.upgradechoice == 1) g.state.life = 500;
    writeLife(g, board(g));
}

void hideEveryPotionButton(Screen& f) {
    f.hide({"cmdusepotion", "cmdusempotion", "cmduserefill", "Command70", "Command71", "Command72"});
}

void onCommand69(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("You encounter a huge serpent. What do you do?");
    if (isWizard(g))
        f["Command73"].show();
    else if (isKnight(g))
        f.show({"Command74", "Command75", "Command76"});
    f["Command69"].hide();
}

void onCommand73(Game& g) { board(g).show({"Command77", "Command78", "Command79"}); }

// The sword and the special swing win alike.
void onSerpentSword(Game& g) {
    Screen& f = board(g);
    g.message("You killed the serpent.");
    g.message("You look around and find 80000 coins.");
    g.state.money += 80000;
    writeMoney(g);
    refillByKit(g);
    f["Command80"].show();
    f.hide({"Command74", "Command75", "Command76"});
}

void onCommand75(Game& g) {
    Screen& f = board(g);
    g.message("The serpent dodges your arrows and kills you.");
    f["lbllife"].setCaption("Life:0");
    f["cmdlose"].show();
    f.hide({"Command74", "Command75", "Command76"});
    hideEveryPotionButton(f);
}

void onCommand77(Game& g) {
    Screen& f = board(g);
    g.message("The stones bounce off the serpent.");
    testThenHit(g, f, 50, [&] {
        g.message("The serpent killed you.");
        f["lbllife"].setCaption("Life:0");
        f.hide({"Command73", "Command77", "Command78", "Command79"});
        f["cmdlose"].show();
        hideEveryPotionButton(f);
    });
}

void onCommand78(Game& g) {
    Screen& f = board(g);
    g.message("You killed the serpent.");
    g.message("You look around and find 80000 coins of money.");
    refillByKit(g);
    g.state.money += 80000;
    writeMoney(g);
    f["Command80"].show();
    f.hide({"Command73", "Command77", "Command78", "Command79"});
}

void onCommand79(Game& g) {
    Screen& f = board(g);
    g.message("The serpent strikes at your position and kills you.");
    f["lbllife"].setCaption("Life:0");
    f["cmdlose"].show();
    f.hide({"Command73", "Command77", "Command78", "Command79"});
    hideEveryPotionButton(f);
}

constexpr std::array clicks{
    ClickBinding{"Command63", &onCommand63},    ClickBinding{"Command64", &onCommand64},
    ClickBinding{"Command65", &onCommand65},    ClickBinding{"Command66", &onCommand66},
    ClickBinding{"Command67", &onCommand67},    ClickBinding{"Command68", &onCommand68},
    ClickBinding{"Command69", &onCommand69},    ClickBinding{"Command70", &onCommand70},
    ClickBinding{"Command71", &onCommand71},    ClickBinding{"Command72", &onCommand72},
    ClickBinding{"Command73", &onCommand73},    ClickBinding{"Command74", &onSerpentSword},
    ClickBinding{"Command75", &onCommand75},    ClickBinding{"Command76", &onSerpentSword},
    ClickBinding{"Command77", &onCommand77},    ClickBinding{"Command78", &onCommand78},
    ClickBinding{"Command79", &onCommand79},
};

}  // namespace

const ScreenPart upgrade{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
