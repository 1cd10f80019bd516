// The Black Knight, Earthman, and Stormer the Dragon, the second boss with
// 900 life, whose fight shows his picture and gives the knight his special
// swing.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/store.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("Command41", "Continue", 480, 4680, 975, 495).hidden(),
    button("Command42", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command43", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command44", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command45", "Shoot stones at Knight", 960, 2880, 2175, 495).hidden(),
    button("Command46", "Blast Knight with lightning", 0, 3480, 2295, 495).hidden(),
    button("Command47", "Turn invisible and fight Knight", 0, 4080, 2415, 495).hidden(),
    button("Command48", "Continue", 480, 4680, 975, 495).hidden(),
    button("Command49", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command50", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command51", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command52", "Shoot stones at him", 960, 2880, 2175, 495).hidden(),
    button("Command53", "Blast him with lightning", 0, 3480, 2295, 495).hidden(),
    button("Command54", "Turn invisible and fight him", 0, 4080, 2415, 495).hidden(),
    button("Command55", "Continue", 480, 4680, 975, 495).hidden(),
    button("Command56", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command57", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command58", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command59", "Use special swing", 4920, 2280, 1695, 495).hidden(),
    button("Command60", "Fire stones at him", 1200, 2880, 1575, 495).hidden(),
    button("Command61", "Shoot lightning at him", 240, 3480, 1815, 495).hidden(),
    button("Command62", "Turn invisible and fight", 240, 4080, 1935, 495).hidden(),
};

// --- The Black Knight ---------------------------------------------------

void onCommand41(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("The Black Knight stands in your way. What do you do?");
    if (isWizard(g))
        f["Command42"].show();
    else if (isKnight(g))
        f.show({"Command43", "Command44"});
    f["Command41"].hide();
}

void onCommand42(Game& g) { board(g).show({"Command45", "Command46", "Command47"}); }

void onCommand43(Game& g) {
    Screen& f = board(g);
    g.message("The Knight kills you easily.");
    g.state.life = 0;
    writeLife(g, f);
    f.hide({"Command43", "Command44"});
    f["cmdlose"].show();
    f["cmdusepotion"].hide();
}

void onCommand44(Game& g) {
    Screen& f = board(g);
    g.message("After many hits, you kill him.");
    g.message("Your life is refilled and you gain 100000 coins.");
    g.state.life = 100;
    writeLife(g, f);
    g.state.money += 100000;
    writeMoney(g);
    f.hide({"Command43", "Command44"});
    f["Command48"].show();
    f["Label2"].setCaption("");
}

void onCommand45(Game& g) {
    Screen& f = board(g);
    g.message("The Knight's armor is too thick. He slashes you.");
    g.state.life -= 50;
    writeLife(g, f);
    g.state.magic -= 10;
    writeMagic(g, f);
    if (g.state.life == 0) {
        f.hide({"Command42", "Command45", "Command46", "Command47"});
        f["cmdlose"].show();
        g.message("You are dead.");
        f["lbllife"].setCaption("Life:0");
        hideUseButtons(g);
    }
    if (g.state.magic == 0) {
        lockSpells(g, {"Command42", "Command45", "Command46", "Command47"});
        g.message("You ran out of magic.");
        quitIfStranded(g, {"Command42", "Command45", "Command46", "Command47"});
    }
}

void onCommand46(Game& g) {
    Screen& f = board(g);
    g.message("The lightning reflects and kills you.");
    g.state.life = 0;
    writeLife(g, f);
    f["cmdlose"].show();
    f.hide({"Command42", "Command45", "Command46", "Command47"});
    f["Label2"].setCaption("");
    hideUseButtons(g);
}

void onCommand47(Game& g) {
    Screen& f = board(g);
    g.message("The Knight cannot see you.");
    g.message("After many hits, he dies.");
    g.message("Your Life and Magic are refilled and you gain 100000 coins.");
    g.state.life = 100;
    g.state.magic = 100;
    writeLife(g, f);
    writeMagic(g, f);
    g.state.money += 100000;
    writeMoney(g);
    f.hide({"Command42", "Command45", "Command46", "Command47"});
    f["Command48"].show();
    f["Label2"].setCaption("");
}

// --- Earthman -----------------------------------------------------------

void onCommand48(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("A man called Earthman comes and is going to kill you. What do you do?");
    if (isWizard(g))
        f["Command49"].show();
    else if (isKnight(g))
        f.show({"Command50", "Command51"});
    f["Command48"].hide();
}

void onCommand49(Game& g) { board(g).show({"Command52", "Command53", "Command54"}); }

void onCommand50(Game& g) {
    Screen& f = board(g);
    g.message("Earthman blocks your blow. He jumps and hits you.");
    if (zeroTestHit(g, f, 20)) {
        g.message("You have died.");
        f.hide({"Command50", "Command51"});
        f["cmdlose"].show();
        f["cmdusepotion"].hide();
    }
}

void onCommand51(Game& g) {
    Screen& f = board(g);
    g.message("Earthman cannot block arrows. He falls and dies.");
    g.state.life = 100;
    writeLife(g, f);
    f.hide({"Command50", "Command51"});
    f["Command55"].show();
    // Earthman's text stays up until "Continue" replaces it.
}

void onCommand52(Game& g) {
    Screen& f = board(g);
    g.message("Earthman takes the blows and retaliates.");
    if (guardedHit(g, f, 20)) {
        g.message("You have died.");
        f.hide({"Command49", "Command52", "Command53", "Command54"});
        f["cmdlose"].show();
        f["lbllife"].setCaption("Life:0");
        hideUseButtons(g);
    }
}

void onCommand53(Game& g) {
    Screen& f = board(g);
    g.message("Earthman absorbs your lightning and retaliates.");
    if (guardedHit(g, f, 50)) {
        g.message("You have been killed.");
        f.hide({"Command49", "Command52", "Command53", "Command54"});
        f["cmdlose"].show();
        f["lbllife"].setCaption("Life:0");
        hideUseButtons(g);
    } else {
        g.state.magic -= 10;
        writeMagic(g, f);
    }
    if (g.state.magic == 0) {
        g.message("You have ran out of magic.");
        lockSpells(g, {"Command49", "Command52", "Command53", "Command54"});
        quitIfStranded(g, {"Command49", "Command52", "Command53", "Command54"});
    }
}

void onCommand54(Game& g) {
    Screen& f = board(g);
    g.message("You killed Earthman.");
    f["Label2"].setCaption("");
    g.state.life = 100;
    g.state.magic = 100;
    writeLife(g, f);
    writeMagic(g, f);
    f.hide({"Command49", "Command52", "Command53", "Command54"});
    f["Command55"].show();
}

// --- Stormer the Dragon -------------------------------------------------
// Every press first takes Stormer's fire, then strikes him; the two halves
// are independent, so one press can kill the hero and win the fight (the win
// refills life and shows the way on while "Quit" stays up).

void onCommand55(Game& g) {
    Screen& f = board(g);
    f["Command55"].hide();
    f["Label2"].setCaption("You have met Stormer the Dragon. He is going to kill you. What do you do?");
    g.message("Stormer has 900 life.");
    g.state.enemylife = 900;
    writeEnemyLife(g, f);
    f["lblelife"].show();
    if (isWizard(g)) {
        f["Command56"].show();
    } else if (isKnight(g)) {
        g.message("You have gained a special sword swing.");
        f.show({"Command57", "Command58", "Command59"});
    }
    f["Image1"].show();
}

void onCommand56(Game& g) { board(g).show({"Command60", "Command61", "Command62"}); }

// Stormer's fire on the knight: a guarded hit of 50.
void knightTakesFire(Game& g) {
    Screen& f = board(g);
    if (guardedHit(g, f, 50)) {
        g.message("You died.");
        f.hide({"Command57", "Command58", "Command59"});
        f["cmdlose"].show();
        f["cmdusepotion"].hide();
        f["lbllife"].setCaption("Life:0");
    }
}

void knightKillsStormer(Game& g) {
    Screen& f = board(g);
    g.message("You killed Stormer.");
    g.state.life = 100;
    writeLife(g, f);
    f["Command63"].show();
    f.hide({"Command57", "Command58", "Command59", "lblelife", "Image1"});
}

void onCommand57(Game& g) {
    Screen& f = board(g);
    g.message("You slash Stormer.");
    g.message("Stormer breathes fire.");
    knightTakesFire(g);
    if (g.state.enemylife <= 50) {
        knightKillsStormer(g);
    } else {
        g.state.enemylife -= 50;
        writeEnemyLife(g, f);
    }
}

void onCommand58(Game& g) {
    Screen& f = board(g);
    g.message("You shoot Stormer.");
    g.message("Stormer breathes fire.");
    knightTakesFire(g);
    if (g.state.enemylife <= 50) {
        knightKillsStormer(g);
        f["Label2"].setCaption("");
    } else {
        g.state.enemylife -= 50;
        writeEnemyLife(g, f);
    }
}

void onCommand59(Game& g) {
    Screen& f = board(g);
    g.message("You charge up your sword and use it on Stormer.");
    g.message("Stormer breathes fire.");
    knightTakesFire(g);
    if (g.state.enemylife <= 100) {
        knightKillsStormer(g);
    } else {
        g.state.enemylife -= 100;
        writeEnemyLife(g, f);
    }
}

// The wizard's deaths at Stormer all take his potions and clear the text.
void wizardFalls(Game& g) {
    Screen& f = board(g);
    f.hide({"Command56", "Command60", "Command61", "Command62"});
    f["cmdlose"].show();
    hideUseButtons(g);
}

// The stones' and the invisible fight's win: both refill life and magic.
void wizardKillsStormer(Game& g) {
    Screen& f = board(g);
    g.message("You killed Stormer.");
    f["lblelife"].hide();
    f.hide({"Command56", "Command60", "Command61", "Command62"});
    g.state.life = 100;
    g.state.magic = 100;
    writeLife(g, f);
    writeMagic(g, f);
    f["Label2"].setCaption("");
    f["Command63"].show();
    f["Image1"].hide();
}

void onCommand60(Game& g) {
    Screen& f = board(g);
    g.message("You hit Stormer.");
    g.message("Stormer breathes fire on you.");
    if (g.state.life <= 50) {
        g.state.life = 0;
        f["lbllife"].setCaption("Life:0");
        g.message("You die from the flames.");
        wizardFalls(g);
        f["Label2"].setCaption("");
    } else {
        g.state.life -= 50;
        writeLife(g, f);
    }
    if (g.state.enemylife <= 50) {
        wizardKillsStormer(g);
    } else {
        g.state.enemylife -= 50;
        writeEnemyLife(g, f);
    }
}

void onCommand61(Game& g) {
    Screen& f = board(g);
    g.message("You hit Stormer.");
    g.message("Stormer breathes flames on you.");
    if (guardedHit(g, f, 50)) {
        g.message("You died fighting.");
        wizardFalls(g);
        f["lbllife"].setCaption("Life:0");
        f["Label2"].setCaption("");
    }
    // Magic of 1 to 5 is neither spent nor locked: the spell goes on for free.
    if (g.state.magic == 0) {
        lockSpells(g, {"Command56", "Command60", "Command61", "Command62"});
        g.message("You ran out of magic.");
    } else if (g.state.magic >= 6) {
        g.state.magic -= 5;
        writeMagic(g, f);
    }
    if (g.state.enemylife <= 100) {
        g.message("You have killed Stormer.");
        f.hide({"Command56", "Command60", "Command61", "Command62"});
        g.state.life = 100;
        g.state.magic = 100;
        writeLife(g, f);
        writeMagic(g, f);
        f["Label2"].setCaption("");
        f["Command63"].show();
        f.hide({"lblelife", "Image1"});
    } else {
        g.state.enemylife -= 100;
        writeEnemyLife(g, f);
    }
}

void onCommand62(Game& g) {
    Screen& f = board(g);
    g.message("Stormer smells you.");
    g.message("You quickly hit Stormer before he breathes fire on you.");
    if (guardedHit(g, f, 50)) {
        f["lbllife"].setCaption("Life:0");
        g.message("You have been killed.");
        wizardFalls(g);
        f["Label2"].setCaption("");
    }
    if (guardedSpend(g, f, 5, 5)) {
        lockSpells(g, {"Command56", "Command60", "Command61", "Command62"});
        g.message("You ran out of magic.");
    }
    if (g.state.enemylife <= 100) {
        wizardKillsStormer(g);
    } else {
        g.state.enemylife -= 100;
        writeEnemyLife(g, f);
    }
}

constexpr std::array clicks{
    ClickBinding{"Command41", &onCommand41}, ClickBinding{"Command42", &onCommand42},
    ClickBinding{"Command43", &onCommand43}, ClickBinding{"Command44", &onCommand44},
    ClickBinding{"Command45", &onCommand45}, ClickBinding{"Command46", &onCommand46},
    ClickBinding{"Command47", &onCommand47}, ClickBinding{"Command48", &onCommand48},
    ClickBinding{"Command49", &onCommand49}, ClickBinding{"Command50", &onCommand50},
    ClickBinding{"Command51", &onCommand51}, ClickBinding{"Command52", &onCommand52},
    ClickBinding{"Command53", &onCommand53}, ClickBinding{"Command54", &onCommand54},
    ClickBinding{"Command55", &onCommand55}, ClickBinding{"Command56", &onCommand56},
    ClickBinding{"Command57", &onCommand57}, ClickBinding{"Command58", &onCommand58},
    ClickBinding{"Command59", &onCommand59}, ClickBinding{"Command60", &onCommand60},
    ClickBinding{"Command61", &onCommand61}, ClickBinding{"Command62", &onCommand62},
};

}  // namespace

const ScreenPart stormer{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
