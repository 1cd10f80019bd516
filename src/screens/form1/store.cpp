// The first store: the offer, buying with silent disabling of what the hero
// cannot afford, leaving; and the Items panel whose three use buttons stay in
// play for the rest of the first journey. The panel's heading Label4 is part
// of the title table.
#include "screens/form1/store.h"

#include <array>

#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("cmdyes", "Yes", 1440, 1920, 735, 375).hidden(),
    button("cmdno", "No", 2280, 1920, 615, 375).hidden(),
    button("cmdpotion", "Buy a life potion", 0, 2400, 1455, 495).hidden(),
    button("cmdusepotion", "Use a life potion", 4200, 4440, 1575, 495).hidden(),
    button("cmdMPotion", "Buy a Magic Potion", 1560, 2400, 1695, 495).hidden(),
    button("cmdusempotion", "Use a Magic Potion", 4200, 5040, 1815, 495).hidden(),
    button("cmdrefill", "Buy a refilling potion", 3360, 2400, 1695, 495).hidden(),
    button("cmduserefill", "Use a refilling potion", 2400, 4560, 1695, 495).hidden(),
    button("cmdleave", "Leave shop", 5160, 2400, 1215, 495).hidden(),
};

constexpr std::int64_t lifePrice = 1000;
constexpr std::int64_t magicPrice = 2000;
constexpr std::int64_t refillPrice = 2000;

// --- The offer ----------------------------------------------------------

void onYes(Game& g) {
    Screen& f = board(g);
    f.hide({"cmdyes", "cmdno"});
    f["Label2"].setCaption("You are in the store. What do you want to buy?");
    f.show({"cmdpotion", "cmdleave"});
    // The knight can buy only life potions.
    if (isWizard(g)) f.show({"cmdMPotion", "cmdrefill"});
}

void onNo(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("");
    f.hide({"cmdyes", "cmdno"});
    f["Command14"].show();
    g.message("You go on your way.");
}

void onLeave(Game& g) {
    Screen& f = board(g);
    f["Command14"].show();
    f.hide({"cmdpotion", "cmdMPotion", "cmdrefill", "cmdleave"});
    f["Label2"].setCaption("");
}

// --- Buying: the price is tested before anything changes ------------------

void onBuyLife(Game& g) {
    Screen& f = board(g);
    if (g.state.money <= lifePrice - 1) {
        // Nothing in the store is affordable any more; no word is said.
        f.disable({"cmdpotion", "cmdMPotion", "cmdrefill"});
        return;
    }
    g.state.lifepotion += 1;
    f["cmdusepotion"].show();
    g.state.money -= lifePrice;
    writeMoney(g);
    f["Label4"].show();
    f["cmdusepotion"].enable();
    g.message("Bought one life potion");
}

void onBuyMagic(Game& g) {
    Screen& f = board(g);
    if (g.state.money <= magicPrice - 1) {
        // The life potion may still be affordable and stays on offer.
        f.disable({"cmdMPotion", "cmdrefill"});
        return;
    }
    f["cmdusempotion"].show();
    g.state.magicpotion += 1;
    g.message("Bought one Magic Potion.");
    g.state.money -= magicPrice;
    writeMoney(g);
    f["Label4"].show();
    f["cmdusempotion"].enable();
}

void onBuyRefill(Game& g) {
    Screen& f = board(g);
    if (g.state.money <= refillPrice - 1) {
        f.disable({"cmdMPotion", "cmdrefill"});
        return;
    }
    g.message("Bought one refilling potion");
    f["cmduserefill"].show();
    g.state.refillpotion += 1;
    g.state.money -= refillPrice;
    writeMoney(g);
    f["Label4"].show();
    f["cmduserefill"].enable();
}

// --- The Items panel: a potion sets its value to 100, it never adds ---------

void onUseLife(Game& g) {
    Screen& f = board(g);
    g.state.life = 100;
    // The label still shows the old life while the message is up.
    g.message("Life refilled");
    writeLife(g, f);
    g.state.lifepotion -= 1;
    if (g.state.lifepotion == 0) f["cmdusepotion"].disable();
}

void onUseMagic(Game& g) {
    Screen& f = board(g);
    g.state.magic = 100;
    g.message("Magic has been refilled");
    g.state.magicpotion -= 1;
    writeMagic(g, f);
    if (g.state.magicpotion == 0) f["cmdusempotion"].disable();
    unlockAllSpells(g);
}

void onUseRefill(Game& g) {
    Screen& f = board(g);
    g.state.life = 100;
    writeLife(g, f);
    g.state.magic = 100;
    writeMagic(g, f);
    g.message("Life and Magic refilled");
    g.state.refillpotion -= 1;
    if (g.state.refillpotion == 0) f["cmduserefill"].disable();
    unlockAllSpells(g);
}

constexpr std::array clicks{
    ClickBinding{"cmdyes", &onYes},           ClickBinding{"cmdno", &onNo},
    ClickBinding{"cmdleave", &onLeave},       ClickBinding{"cmdpotion", &onBuyLife},
    ClickBinding{"cmdMPotion", &onBuyMagic},  ClickBinding{"cmdrefill", &onBuyRefill},
    ClickBinding{"cmdusepotion", &onUseLife}, ClickBinding{"cmdusempotion", &onUseMagic},
    ClickBinding{"cmduserefill", &onUseRefill},
};

}  // namespace

void hideUseButtons(Game& g) { board(g).hide({"cmdusepotion", "cmdusempotion", "cmduserefill"}); }

void unlockAllSpells(Game& g) {
    Screen& f = board(g);
    for (std::string_view name : spellButtons) f[name].enable();
}

const ScreenPart store{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
