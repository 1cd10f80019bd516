// After the serpent: the sickness, where one of ten cures is right and the
// fifth wrong one kills (the right one is drawn at random and hinted at in
// the window title), then the room of the Treasure of Karthune and its
// guardian, a dark wizard with 5000 life.
#include <array>
#include <string>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("Command80", "Continue", 480, 4680, 1095, 495).hidden(),
    button("cmdc0", "Use Health spell", 0, 720, 1455, 495).hidden(),
    button("cmdc1", "Use Advanced Health Spell", 1560, 720, 2295, 495).hidden(),
    button("cmdc2", "Use Healing spell", 3960, 720, 1575, 495).hidden(),
    button("cmdc3", "Use Advanced Healing spell", 0, 1320, 2295, 495).hidden(),
    button("cmdc4", "Drink Health Potion", 2400, 1320, 1695, 495).hidden(),
    button("cmdc5", "Drink Healing Potion", 4200, 1320, 1695, 495).hidden(),
    button("cmdc6", "Use special potion", 0, 1920, 1575, 495).hidden(),
    button("cmdc7", "Burn your foot", 1680, 1920, 1335, 495).hidden(),
    button("cmdc8", "Burn your hand", 3120, 1920, 1335, 495).hidden(),
    button("cmdc9", "Eat health fruit", 4560, 1920, 1335, 495).hidden(),
    button("Command81", "Continue", 480, 4680, 1095, 495).hidden(),
    button("Command82", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command83", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command84", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command85", "Use special swing", 4920, 2280, 1695, 495).hidden(),
    button("Command86", "Shoot stones", 1200, 2880, 1215, 495).hidden(),
    button("Command87", "Blast with lightning", 360, 3480, 1575, 495).hidden(),
    button("Command88", "Turn invisible and fight", 480, 4080, 1935, 495).hidden(),
};

// --- The sickness ---------------------------------------------------------

// What each cure button says when it is tried, works, fails or kills.
struct Cure {
    const char* attempt;
    const char* success;
    const char* successAfter;
    const char* failure;
    const char* death;
};

constexpr std::array<Cure, 10> cures{{
    {"You try the spell.", "The spell worked.", "You get up and continue your Vendral.", "The spell didn't work.",
     "You died from being sick."},
    {"You try the spell.", "The spell worked.", "Since you feel better, you continue your vendral.",
     "The spell didn't work.", "You died from trying."},
    {"You try the spell.", "The spell worked.", "Since you feel better, you continue your vendral.",
     "It doesn't work.", "You died from trying."},
    {"You try the spell.", "The spell worked.", "You feel fine now and continue your vendral.", "It doesn't work.",
     "You died from being sick."},
    {"You try the potion.", "The potion worked.", "You feel fine now and continue your vendral.",
     "It doesn't work.", "You died from being sick."},
    {"You try the potion.", "The potion worked.", "You feel fine now and continue your vendral.",
     "It doesn't work.", "You died from being sick."},
    {"You try the potion.", "The potion worked.", "You feel fine now and continue your vendral.",
     "It doesn't work.", "You died from being sick."},
    {"You make a fire.", "The fire worked.", "You feel fine now and continue your vendral.", "It doesn't work.",
     "You died from being sick."},
    {"You make a fire.", "The fire worked.", "You feel fine now and continue your vendral.", "It doesn't work.",
     "You died from being sick."},
    {"You eat the fruit.", "The fruit worked.", "You feel fine now and continue your vendral.", "It doesn't work.",
     "You died from being sick."},
}};

constexpr std::array<std::string_view, 10> cureButtons{"cmdc0", "cmdc1", "cmdc2", "cmdc3", "cmdc4",
                                                       "cmdc5", "cmdc6", "cmdc7", "cmdc8", "cmdc9"};

void setCureButtonsVisible(Screen& f, bool visible) {
    for (auto b : cureButtons) f[b].setVisible(visible);
}

// Form1's own title, to which the sickness appends its hint.
std::string plainTitle(Screen& f) { return std::string(f.def().caption); }

void onCommand80(Game& g) {
    Screen& f = board(g);
    f["Command80"].hide();
    f["Label2"].setCaption("");
    g.message("A dark wizard casts a spell on you and you became sick after destroying him.");
    g.message("You must pick the right thing to do to become well.");
    g.message("You can only try 5 things before you die.");
    setCureButtonsVisible(f, true);
    // The drawn digit passes through the hidden label on its way to curechoice.
    f["lblthink"].setCaption(std::to_string(g.roll()));
    g.state.curechoice = std::stoll(f["lblthink"].caption());
    f.setCaption(plainTitle(f) + g.state.curechoice.str());
}

template <int N>
void onCure(Game& g) {
    Screen& f = board(g);
    const Cure& cure = cures[N];
    Control& pressed = f[cureButtons[N]];
    g.message(cure.attempt);
    if (g.state.curechoice == N) {
        g.message(cure.success);
        g.message(cure.successAfter);
        setCureButtonsVisible(f, false);
        f["Command81"].show();
    } else if (N == 0) {
        // The health spell greys itself before it says it failed.
        pressed.disable();
        g.message(cure.failure);
        g.state.curetries += 1;
    } else {
        g.message(cure.failure);
        g.state.curetries += 1;
        pressed.disable();
    }
    if (g.state.curetries == 5) {
        g.message(cure.death);
        setCureButtonsVisible(f, false);
        f["cmdlose"].show();
        f.hide({"cmdusepotion", "cmdusempotion", "cmduserefill", "Command70", "Command71", "Command72"});
        f["lbllife"].setCaption("Life:0");
    }
}

// --- The dark wizard of the treasure room ---------------------------------

void onCommand81(Game& g) {
    Screen& f = board(g);
    f.setCaption(plainTitle(f));
    g.message(
        "You arrive at the room that contains the Treasure of Karthune. When you enter the room, a wizard appears. "
        "He is a dark wizard. He will battle you.");
    f["lblelife"].setCaption("Life left:5000");
    f["lblelife"].show();
    if (isWizard(g))
        f["Command82"].show();
    else if (isKnight(g))
        f.show({"Command83", "Command84", "Command85"});
    f["Command81"].hide();
    g.state.enemylife = 5000;
}

void onCommand82(Game& g) { board(g).show({"Command86", "Command87", "Command88"}); }

// The knight's sword and special swing: he takes the blow, then strikes.
void knightStrikes(Game& g, const char* firstMessage) {
    Screen& f = board(g);
    g.message(firstMessage);
    g.message("He strikes back at you.");
    if (guardedHit(g, f, 50)) {
        g.message("You died in combat.");
        f["lbllife"].setCaption("Life:0");
        f["cmdlose"].show();
        f.hide({"Command83", "Command84", "Command85", "cmdusepotion", "Command70"});
    }
    // The strike lands even when the blow has killed him.
    if (g.state.enemylife <= 100) {
        g.message("You won.");
        f["Command89"].show();
        f.hide({"Command83", "Command84", "Command85"});
        g.state.life = 500;
        writeLife(g, f);
        f["lblelife"].hide();
    } else {
        g.state.enemylife -= 100;
        writeEnemyLife(g, f);
    }
}

void onCommand83(Game& g) { knightStrikes(g, "You use your sword."); }
void onCommand85(Game& g) { knightStrikes(g, "You use your special swing."); }

void onCommand84(Game& g) {
    Screen& f = board(g);
    g.message("He blocks your arrows and blasts you with lightning.");
    if (guardedHit(g, f, 50)) {
        g.message("You have lost.");
        f.hide({"Command83", "Command84", "Command85"});
        f["cmdlose"].show();
        f.hide({"cmdusepotion", "Command70"});
        f["lbllife"].setCaption("Life:0");
    }
}

// The wizard's death in the treasure room, after its message.
void wizardFalls(Screen& f) {
    f.hide({"Command82", "Command86", "Command87", "Command88"});
    f.hide({"cmdusepotion", "cmdusempotion", "cmduserefill", "Command70", "Command71", "Command72"});
    f["cmdlose"].show();
}

// A wizard whose spells locked while the dark wizard still stands has no
// way on unless a potion in his hands can unlock them; without one he is
// given the Quit button. A press that locked and won at once needs none:
// a Quit beside "Continue" would brand the player a cheater later.
void leaveWayOutIfStranded(Game& g, bool locked, bool won) {
    if (locked && !won) quitIfStranded(g, {"Command82", "Command86", "Command87", "Command88"});
}

void onCommand86(Game& g) {
    Screen& f = board(g);
    g.message("The dark wizard blocks the stones easily.");
    g.message("He blasts you with lightning.");
    testThenHit(g, f, 50, [&] {
        g.message("You died.");
        wizardFalls(f);
    });
}

void onCommand87(Game& g) {
    Screen& f = board(g);
    g.message("You blast away with lightning.");
    g.message("He responds by firing lightning back.");
    if (guardedHit(g, f, 50)) {
        g.message("You failed your mission.");
        f["lbllife"].setCaption("Life:0");
        wizardFalls(f);
    }
    const bool locked = guardedSpend(g, f, 40, 40);
    if (locked) {
        g.message("You ran out of magic.");
        lockSpells(g, {"Command82", "Command86", "Command87", "Command88"});
        // Only the label says 0: the wizard keeps what little magic he had.
        f["lblmagic"].setCaption("Magic:0");
    }
    const bool won = g.state.enemylife <= 100;
    if (won) {
        g.message("You won.");
        f.hide({"Command82", "Command86", "Command87", "Command88"});
        f["Command89"].show();
        f["lblelife"].hide();
        g.state.life = 500;
        g.state.magic = 1000;
        writeLife(g, f);
        writeMagic(g, f);
    } else {
        g.state.enemylife -= 100;
        writeEnemyLife(g, f);
    }
    leaveWayOutIfStranded(g, locked, won);
}

void onCommand88(Game& g) {
    Screen& f = board(g);
    g.message("You hit the dark wizard.");
    g.message("He retaliates.");
    if (guardedHit(g, f, 50)) {
        g.message("You died.");
        f["lbllife"].setCaption("Life:0");
        wizardFalls(f);
    }
    const bool locked = guardedSpend(g, f, 20, 20);
    if (locked) {
        lockSpells(g, {"Command82", "Command86", "Command87", "Command88"});
        g.message("You ran out of magic.");
        // Only the label says 0: the wizard keeps what little magic he had.
        f["lblmagic"].setCaption("Magic:0");
    }
    // The invisible fight wins without a refill.
    const bool won = g.state.enemylife <= 50;
    if (won) {
        g.message("You won.");
        f.hide({"Command82", "Command86", "Command87", "Command88"});
        f["Command89"].show();
        f["lblelife"].hide();
    } else {
        g.state.enemylife -= 50;
        writeEnemyLife(g, f);
    }
    leaveWayOutIfStranded(g, locked, won);
}

constexpr std::array clicks{
    ClickBinding{"Command80", &onCommand80}, ClickBinding{"cmdc0", &onCure<0>},
    ClickBinding{"cmdc1", &onCure<1>},       ClickBinding{"cmdc2", &onCure<2>},
    ClickBinding{"cmdc3", &onCure<3>},       ClickBinding{"cmdc4", &onCure<4>},
    ClickBinding{"cmdc5", &onCure<5>},       ClickBinding{"cmdc6", &onCure<6>},
    ClickBinding{"cmdc7", &onCure<7>},       ClickBinding{"cmdc8", &onCure<8>},
    ClickBinding{"cmdc9", &onCure<9>},       ClickBinding{"Command81", &onCommand81},
    ClickBinding{"Command82", &onCommand82}, ClickBinding{"Command83", &onCommand83},
    ClickBinding{"Command84", &onCommand84}, ClickBinding{"Command85", &onCommand85},
    ClickBinding{"Command86", &onCommand86}, ClickBinding{"Command87", &onCommand87},
    ClickBinding{"Command88", &onCommand88},
};

}  // namespace

const ScreenPart sickness{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
