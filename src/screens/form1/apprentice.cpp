// The evil apprentice wizard and the two dragons. From here on the wizard's
// spells test his magic and lock when it is used up; only a magic or
// refilling potion of the Items panel unlocks them again. A wizard whose
// spells lock while he holds no such potion has no way on, so the lock also
// shows him the defeat button as his way out.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/store.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("Command14", "Continue", 480, 4680, 975, 495).hidden(),
    button("Command15", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command16", "Turn invisible and run", 960, 2880, 1815, 495).hidden(),
    button("Command17", "Change apprentice into cow", 0, 3480, 2295, 495).hidden(),
    button("Command18", "Blast apprentice with lightning", 0, 4080, 2415, 495).hidden(),
    button("Command19", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command20", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command21", "Continue", 480, 4680, 975, 495).hidden(),
    button("Command22", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command23", "Change dragons into stone", 960, 2880, 2175, 495).hidden(),
    button("Command24", "Blast dragons with lightning", 0, 3480, 2295, 495).hidden(),
    button("Command25", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command26", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
};

// --- The apprentice -----------------------------------------------------

void onCommand14(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("You meet a evil apprentice wizard. What do you do?");
    if (isWizard(g))
        f["Command15"].show();
    else if (isKnight(g))
        f.show({"Command19", "Command20"});
    f["Command14"].hide();
}

void onCommand15(Game& g) { board(g).show({"Command16", "Command17", "Command18"}); }

void onCommand16(Game& g) {
    Screen& f = board(g);
    g.message("The aprrentice sees you. You have been hit.");
    if (zeroTestHit(g, f, 10)) {
        // This death says nothing.
        f.hide({"Command15", "Command16", "Command17", "Command18"});
        f["cmdlose"].show();
        hideUseButtons(g);
        f["lbllife"].setCaption("Life:0");
    }
}

void onCommand17(Game& g) {
    Screen& f = board(g);
    g.message("The apprentice blocks your spell. He retaliates.");
    if (guardedHit(g, f, 20)) {
        f.hide({"Command15", "Command16", "Command17", "Command18"});
        f["cmdlose"].show();
        g.message("You are dead.");
        hideUseButtons(g);
        f["lbllife"].setCaption("Life:0");
    }
    // The spell is paid for, or the spells lock, whether or not he lived.
    if (guardedSpend(g, f, 10, 10)) {
        lockSpells(g, {"Command15", "Command16", "Command17", "Command18"});
        g.message("You don't have any magic left.");
        quitIfStranded(g, {"Command15", "Command16", "Command17", "Command18"});
    }
}

void onCommand18(Game& g) {
    Screen& f = board(g);
    if (guardedSpend(g, f, 19, 20)) {
        lockSpells(g, {"Command15", "Command16", "Command17", "Command18"});
        g.message("Not enough magic left");
        quitIfStranded(g, {"Command15", "Command16", "Command17", "Command18"});
        return;
    }
    g.message("The apprentice has been killed.");
    g.message("Your life and magic has been refilled.");
    g.state.life = 100;
    writeLife(g, f);
    g.state.magic = 100;
    writeMagic(g, f);
    g.message("You gained 20000 coins");
    g.state.money += 20000;
    writeMoney(g);
    f.hide({"Command15", "Command16", "Command17", "Command18"});
    f["Command21"].show();
    f["Label2"].setCaption("");
}

void onCommand19(Game& g) {
    Screen& f = board(g);
    g.message("The apprentice has never seen swords. You have won.");
    g.message("You have gained 20000 coins and your life has been refilled.");
    g.state.money += 20000;
    writeMoney(g);
    g.state.life = 100;
    writeLife(g, f);
    f.hide({"Command19", "Command20"});
    f["Command21"].show();
    f["Label2"].setCaption("");
}

void onCommand20(Game& g) {
    Screen& f = board(g);
    g.message("The apprentice blocks and strikes you with magic.");
    if (zeroTestHit(g, f, 10)) {
        f.hide({"Command19", "Command20"});
        f["cmdlose"].show();
        g.message("You have lost.");
        f["cmdusepotion"].hide();
    }
}

// --- The two dragons ----------------------------------------------------

void onCommand21(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("You meet 2 dragons. What do you do?");
    if (isWizard(g))
        f["Command22"].show();
    else if (isKnight(g))
        f.show({"Command25", "Command26"});
    f["Command21"].hide();
}

void onCommand22(Game& g) { board(g).show({"Command23", "Command24"}); }

void onCommand23(Game& g) {
    Screen& f = board(g);
    g.message("The dragons block the magic.You have been hurt.");
    // The blow and the cost both land before either is tested.
    g.state.magic -= 10;
    g.state.life -= 50;
    writeLife(g, f);
    writeMagic(g, f);
    if (g.state.life == 0) {
        f.hide({"Command22", "Command23", "Command24"});
        f["cmdlose"].show();
        g.message("You have been killed.");
        f["lbllife"].setCaption("Life:0");
        hideUseButtons(g);
    }
    if (g.state.magic == 0) {
        lockSpells(g, {"Command22", "Command23", "Command24"});
        g.message("Not enough magic.");
        quitIfStranded(g, {"Command22", "Command23", "Command24"});
    }
}

void onCommand24(Game& g) {
    Screen& f = board(g);
    f.hide({"Command22", "Command23", "Command24"});
    g.message("You have defeated the dragons. You can pass safely.");
    g.message("Your life has been refilled.");
    g.state.life = 100;
    writeLife(g, f);
    f["Command27"].show();
    // The dragons' text stays up until "Continue" replaces it.
}

void onCommand25(Game& g) {
    Screen& f = board(g);
    g.message("The dragons ignore your futile attempt to hurt them. You have been hurt.");
    if (zeroTestHit(g, f, 50)) {
        f.hide({"Command25", "Command26"});
        g.message("You have failed.");
        f["cmdlose"].show();
        f["cmdusepotion"].hide();
    }
}

void onCommand26(Game& g) {
    Screen& f = board(g);
    g.message("The dragons die from your arrows.");
    g.message("You can pass.");
    g.state.life = 100;
    writeLife(g, f);
    f["Command27"].show();
    f.hide({"Command25", "Command26"});
}

constexpr std::array clicks{
    ClickBinding{"Command14", &onCommand14}, ClickBinding{"Command15", &onCommand15},
    ClickBinding{"Command16", &onCommand16}, ClickBinding{"Command17", &onCommand17},
    ClickBinding{"Command18", &onCommand18}, ClickBinding{"Command19", &onCommand19},
    ClickBinding{"Command20", &onCommand20}, ClickBinding{"Command21", &onCommand21},
    ClickBinding{"Command22", &onCommand22}, ClickBinding{"Command23", &onCommand23},
    ClickBinding{"Command24", &onCommand24}, ClickBinding{"Command25", &onCommand25},
    ClickBinding{"Command26", &onCommand26},
};

}  // namespace

const ScreenPart apprentice{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
