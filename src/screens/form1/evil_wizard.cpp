// The evil wizard, the first boss (200 life, shown by lblelife), and the
// knights. The order of the effects in each press decides the fight, so the
// steps keep it exactly: the knight's fourth blow always wins, and the stone
// spell's winning press still takes the wizard's blow afterwards.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/store.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("Command27", "Continue", 480, 4680, 975, 495).hidden(),
    button("Command28", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command29", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command30", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command31", "Shoot stones at wizard", 1080, 2880, 2055, 495).hidden(),
    button("Command32", "Blast wizard with lightning", 0, 3480, 2175, 495).hidden(),
    button("Command33", "Turn invisible and fight", 240, 4080, 1935, 495).hidden(),
    button("Command34", "Continue", 480, 4680, 975, 495).hidden(),
    button("Command35", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command36", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command37", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command38", "Shoot stones at knights", 960, 2880, 2115, 495).hidden(),
    button("Command39", "Blast knights with lightning", 0, 3480, 2175, 495).hidden(),
    button("Command40", "Turn invisible and fight", 240, 4080, 2055, 495).hidden(),
};

// --- The evil wizard ----------------------------------------------------

void onCommand27(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("You meet an evil wizard. He has 200 Life. You must fight him to get pass.");
    // The label is not rewritten: it shows the 200 it was made with.
    f["lblelife"].show();
    if (isWizard(g))
        f["Command28"].show();
    else if (isKnight(g))
        f.show({"Command29", "Command30"});
    f["Command27"].hide();
    g.state.enemylife = 200;
}

void onCommand28(Game& g) { board(g).show({"Command31", "Command32", "Command33"}); }

// Sword and arrows are the same blow. There is no death test: the knight
// comes in with 100 life and the fourth blow, which takes him to 0, wins
// and refills him.
void knightBlow(Game& g) {
    Screen& f = board(g);
    g.message("You have hurt the wizard by 50.");
    g.message("The wizard strikes back at you and hurts you by 25.");
    g.state.life -= 25;
    writeLife(g, f);
    if (g.state.enemylife > 50) {
        g.state.enemylife -= 50;
        writeEnemyLife(g, f);
    } else if (g.state.enemylife == 50) {
        g.message("The wizard has been killed.");
        g.message("Your life has been refilled.");
        g.state.life = 100;
        writeLife(g, f);
        f["Command34"].show();
        f.hide({"Command29", "Command30"});
        f["Label2"].setCaption("");
        f["lblelife"].hide();
    }
}

void onCommand29(Game& g) { knightBlow(g); }
void onCommand30(Game& g) { knightBlow(g); }

void onCommand31(Game& g) {
    Screen& f = board(g);
    g.message("The wizard blocks your spell but gets hurt in doing it.");
    g.message("The wizard blasts you and you get hurt.");
    g.message("You hurt the wizard by 20.");
    if (g.state.enemylife >= 21) {
        g.state.enemylife -= 20;
        writeEnemyLife(g, f);
    } else {
        // A win without a refill: the blow below still lands.
        g.message("You have killed the wizard");
        g.state.enemylife -= 20;
        writeEnemyLife(g, f);
        f.hide({"Command28", "Command31", "Command32", "Command33"});
        f["Command34"].show();
        f["lblelife"].hide();
    }
    if (guardedHit(g, f, 20)) {
        f.hide({"Command28", "Command31", "Command32", "Command33"});
        f["cmdlose"].show();
        g.message("You have died");
        f["lbllife"].setCaption("Life:0");
        hideUseButtons(g);
    } else {
        g.state.magic -= 10;
        writeMagic(g, f);
    }
    if (g.state.magic == 0) {
        lockSpells(g, {"Command28", "Command31", "Command32", "Command33"});
        g.message("You ran out of magic.");
        // The press that killed the wizard has shown the way on.
        if (!f["Command34"].visible()) quitIfStranded(g, {"Command28", "Command31", "Command32", "Command33"});
    }
}

void onCommand32(Game& g) {
    Screen& f = board(g);
    g.message("You have hurt the wizard.");
    g.message("The wizard blasts you and you have been hurt.");
    g.message("You have hurt the wizard by 50.");
    g.state.life -= 20;
    writeLife(g, f);
    g.state.magic -= 10;
    writeMagic(g, f);
    if (g.state.enemylife >= 51) {
        g.state.enemylife -= 50;
        writeEnemyLife(g, f);
    } else {
        g.state.enemylife -= 50;
        writeEnemyLife(g, f);
        g.message("You have won.");
        g.message("Your life and magic are refilled.");
        g.state.life = 100;
        g.state.magic = 100;
        writeLife(g, f);
        writeMagic(g, f);
        f["Command34"].show();
        f.hide({"Command28", "Command31", "Command32", "Command33"});
        f["Label2"].setCaption("");
        f["lblelife"].hide();
    }
    if (g.state.life == 0) {
        f.hide({"Command28", "Command31", "Command32", "Command33"});
        g.message("You have died.");
        f["cmdlose"].show();
        f["lbllife"].setCaption("Life:0");
        hideUseButtons(g);
    }
    if (g.state.magic == 0) {
        lockSpells(g, {"Command28", "Command31", "Command32", "Command33"});
        g.message("You ran out of magic.");
        quitIfStranded(g, {"Command28", "Command31", "Command32", "Command33"});
    }
}

void onCommand33(Game& g) {
    Screen& f = board(g);
    g.message("The wizard sees you and hits you.");
    g.message("You hurt the wizard by 20 and the wizard hurts you by 20.");
    g.state.life -= 20;
    writeLife(g, f);
    g.state.magic -= 10;
    writeMagic(g, f);
    if (g.state.enemylife >= 21) {
        g.state.enemylife -= 20;
        writeEnemyLife(g, f);
    } else {
        f.hide({"Command28", "Command31", "Command32", "Command33"});
        g.message("You have killed the wizard.");
        f["Command34"].show();
        g.message("Life and magic refilled.");
        g.state.life = 100;
        g.state.magic = 100;
        writeLife(g, f);
        writeMagic(g, f);
        f["Label2"].setCaption("");
        f["lblelife"].hide();
    }
    // Tested after the blow: a hero left with 20 or less falls.
    if (g.state.life <= 20) {
        g.state.life = 0;
        f["lbllife"].setCaption("Life:0");
        f.hide({"Command28", "Command31", "Command32", "Command33"});
        f["cmdlose"].show();
        g.message("You have died.");
        f["lbllife"].setCaption("Life:0");
        hideUseButtons(g);
    }
    if (g.state.magic == 0) {
        lockSpells(g, {"Command28", "Command31", "Command32", "Command33"});
        g.message("You ran out of magic.");
        quitIfStranded(g, {"Command28", "Command31", "Command32", "Command33"});
    }
}

// --- The knights --------------------------------------------------------

void onCommand34(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("You meet some knights. What do you do?");
    if (isWizard(g))
        f["Command35"].show();
    else if (isKnight(g))
        f.show({"Command36", "Command37"});
    f["Command34"].hide();
}

void onCommand35(Game& g) { board(g).show({"Command38", "Command39", "Command40"}); }

void onCommand36(Game& g) {
    Screen& f = board(g);
    g.message("Your training pays off. You defeat them.");
    g.message("Your life is refilled and you gain 20000 coins.");
    g.state.life = 100;
    writeLife(g, f);
    g.state.money += 20000;
    writeMoney(g);
    f["Command41"].show();
    f.hide({"Command36", "Command37"});
    f["Label2"].setCaption("");
}

void onCommand37(Game& g) {
    Screen& f = board(g);
    g.message("Your arrows don't pierce the knights armor. You are slashed.");
    if (zeroTestHit(g, f, 50)) {
        f.hide({"Command36", "Command37"});
        f["cmdlose"].show();
        g.message("You have died.");
        f["cmdusepotion"].hide();
    }
}

void onCommand38(Game& g) {
    Screen& f = board(g);
    g.message("Your stones have no effect. You are struck back.");
    g.state.life -= 20;
    writeLife(g, f);
    g.state.magic -= 10;
    writeMagic(g, f);
    if (g.state.life == 0) {
        // This death says nothing.
        f.hide({"Command35", "Command38", "Command39", "Command40"});
        f["cmdlose"].show();
        f["lbllife"].setCaption("Life:0");
        hideUseButtons(g);
    }
    if (g.state.magic == 0) {
        lockSpells(g, {"Command35", "Command38", "Command39", "Command40"});
        g.message("You ran out of magic.");
        quitIfStranded(g, {"Command35", "Command38", "Command39", "Command40"});
    }
}

void onCommand39(Game& g) {
    Screen& f = board(g);
    g.message("You have killed the knights.");
    g.message("Your Magic and Life are refilled.");
    g.message("You have gained 20000 coins.");
    g.state.life = 100;
    g.state.magic = 100;
    writeLife(g, f);
    writeMagic(g, f);
    g.state.money += 20000;
    writeMoney(g);
    f["Command41"].show();
    f.hide({"Command35", "Command38", "Command39", "Command40"});
    f["Label2"].setCaption("");
}

void onCommand40(Game& g) {
    g.message("The knights don't see you. They fall as you hit them.");
    g.message("Life and Magic refilled.");
    g.message("You gained 20000 coins.");
    onCommand39(g);
}

constexpr std::array clicks{
    ClickBinding{"Command27", &onCommand27}, ClickBinding{"Command28", &onCommand28},
    ClickBinding{"Command29", &onCommand29}, ClickBinding{"Command30", &onCommand30},
    ClickBinding{"Command31", &onCommand31}, ClickBinding{"Command32", &onCommand32},
    ClickBinding{"Command33", &onCommand33}, ClickBinding{"Command34", &onCommand34},
    ClickBinding{"Command35", &onCommand35}, ClickBinding{"Command36", &onCommand36},
    ClickBinding{"Command37", &onCommand37}, ClickBinding{"Command38", &onCommand38},
    ClickBinding{"Command39", &onCommand39}, ClickBinding{"Command40", &onCommand40},
};

}  // namespace

const ScreenPart evilWizard{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
