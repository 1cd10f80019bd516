// The first two encounters after "Start Vendral": the dragon on the road and
// the bandits. No spell here tests magic: a wizard may run it below 0, and
// the dragon's win refills it anyway.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("Command1", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command2", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command3", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command4", "Change thing into stone", 120, 3480, 2055, 495).hidden(),
    button("Command5", "Turn invisible and run", 960, 2880, 1815, 495).hidden(),
    button("Command6", "Continue", 480, 4680, 975, 495).hidden(),
    button("Command7", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command8", "Turn invisible and run", 960, 2880, 1815, 495).hidden(),
    button("Command9", "Change bandits into stone", 120, 3480, 2175, 495).hidden(),
    button("Command10", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command11", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command12", "Blast bandits with lightning", 0, 4080, 2175, 495).hidden(),
    button("Command13", "Continue", 480, 4680, 975, 495).hidden(),
};

// --- The dragon ---------------------------------------------------------

void onCommand1(Game& g) { board(g).show({"Command4", "Command5"}); }

void onCommand2(Game& g) {
    Screen& f = board(g);
    g.message("The dragon scorches you with its fiery breath.");
    if (zeroTestHit(g, f, 10)) {
        f.hide({"Command1", "Command2", "Command3", "Command4", "Command5"});
        g.message("You have lost.");
        f["cmdlose"].show();
    }
}

void onCommand3(Game& g) {
    Screen& f = board(g);
    g.message("The dragon falls dead. You can pass.");
    g.message("Your life has been refilled and upgraded.");
    g.state.life = 100;
    writeLife(g, f);
    f.hide({"Command2", "Command3"});
    f["Command6"].show();
    // The dragon's text stays up until "Continue" replaces it.
}

void onCommand4(Game& g) {
    Screen& f = board(g);
    g.state.magic -= 10;
    writeMagic(g, f);
    g.message("You have defeated the dragon! You can pass.");
    g.message("Your life has been refilled and upgraded.");
    g.message("Your Magic has been refilled.");
    g.state.magic = 100;
    writeMagic(g, f);
    g.state.life = 100;
    writeLife(g, f);
    f["Label2"].setCaption("");
    f.hide({"Command1", "Command4", "Command5"});
    f["Command6"].show();
}

void onCommand5(Game& g) {
    Screen& f = board(g);
    g.state.magic -= 5;
    writeMagic(g, f);
    g.message("Dragons can smell well. You have been hit by fire.");
    if (zeroTestHit(g, f, 10)) {
        f.hide({"Command1", "Command2", "Command3", "Command4", "Command5"});
        g.message("You have been defeated.");
        f["cmdlose"].show();
        f["lbllife"].setCaption("Life:0");
    }
}

void onCommand6(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("You have met some bandits. What do you do?");
    if (isWizard(g))
        f["Command7"].show();
    else if (isKnight(g))
        f.show({"Command10", "Command11"});
    f["Command6"].hide();
}

// --- The bandits --------------------------------------------------------

void onCommand7(Game& g) { board(g).show({"Command8", "Command9", "Command12"}); }

void onCommand8(Game& g) {
    Screen& f = board(g);
    g.state.magic -= 5;
    writeMagic(g, f);
    g.message("The bandits see your shadow. You have been hit.");
    if (zeroTestHit(g, f, 20)) {
        f.hide({"Command7", "Command8", "Command9", "Command12"});
        f["cmdlose"].show();
        g.message("You have lost.");
        f["lbllife"].setCaption("Life:0");
    }
}

void onCommand9(Game& g) {
    Screen& f = board(g);
    g.state.magic -= 10;
    writeMagic(g, f);
    g.message("The bandits have been defeated. You can pass.");
    f.hide({"Command7", "Command8", "Command9", "Command12"});
    f["Command13"].show();
    f["Label2"].setCaption("");
}

void onCommand10(Game& g) {
    Screen& f = board(g);
    g.message("You have killed the bandits suffering minor damages.");
    g.message("You have gained 10000 coins.");
    g.state.money += 10000;
    writeMoney(g);
    // The minor damages are not tested: they can never kill.
    g.state.life -= 10;
    writeLife(g, f);
    f["Command13"].show();
    f["Label2"].setCaption("");
    f.hide({"Command11", "Command10"});
}

void onCommand11(Game& g) {
    Screen& f = board(g);
    g.message("The bandits dodge your arrows and retaliate. You have been hurt.");
    if (zeroTestHit(g, f, 20)) {
        f.hide({"Command10", "Command11"});
        f["cmdlose"].show();
        g.message("You have been killed.");
    }
}

void onCommand12(Game& g) {
    Screen& f = board(g);
    g.state.magic -= 20;
    writeMagic(g, f);
    g.message("The bandits are dead. You can pass.");
    g.message("You have gained 10000 coins.");
    g.state.money += 10000;
    writeMoney(g);
    f.hide({"Command7", "Command8", "Command9", "Command12"});
    f["Command13"].show();
    f["Label2"].setCaption("");
}

void onCommand13(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("You are low on supplies. You see a store. Do you want to go there?");
    f.show({"cmdyes", "cmdno"});
    f["Command13"].hide();
}

constexpr std::array clicks{
    ClickBinding{"Command1", &onCommand1},   ClickBinding{"Command2", &onCommand2},
    ClickBinding{"Command3", &onCommand3},   ClickBinding{"Command4", &onCommand4},
    ClickBinding{"Command5", &onCommand5},   ClickBinding{"Command6", &onCommand6},
    ClickBinding{"Command7", &onCommand7},   ClickBinding{"Command8", &onCommand8},
    ClickBinding{"Command9", &onCommand9},   ClickBinding{"Command10", &onCommand10},
    ClickBinding{"Command11", &onCommand11}, ClickBinding{"Command12", &onCommand12},
    ClickBinding{"Command13", &onCommand13},
};

}  // namespace

const ScreenPart dragon{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
