// The last three servants of Nilrem on the first journey: his pet dragon
// (where two choices end in a rescue by allies), a wizard from Nilrem and a
// knight from Nilrem's Council. Each "Continue" refills the hero first.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("Command114", "Continue", 720, 4680, 975, 495).hidden(),
    button("Command115", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command116", "Use swing", 3600, 2880, 1095, 495).hidden(),
    button("Command117", "Use arrows", 5040, 2880, 1095, 495).hidden(),
    button("Command118", "Run", 4920, 2280, 735, 495).hidden(),
    button("Command119", "Blast lightning", 960, 2880, 1335, 495).hidden(),
    button("Command120", "Turn invisible and fight", 360, 3480, 1935, 495).hidden(),
    button("Command121", "Run for your life", 480, 4080, 1455, 495).hidden(),
    button("Command122", "Continue", 720, 4680, 975, 495).hidden(),
    button("Command123", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command124", "Use sword", 3600, 2880, 1095, 495).hidden(),
    button("Command125", "Use arrows", 5040, 2880, 1095, 495).hidden(),
    button("Command126", "Use swing", 5400, 2280, 1095, 495).hidden(),
    button("Command127", "Shoot stones", 960, 2880, 1335, 495).hidden(),
    button("Command128", "Change the wizard into a cow", 0, 3480, 2415, 495).hidden(),
    button("Command129", "Pretend to surrender and fight", 0, 4080, 2415, 495).hidden(),
    button("Command130", "Continue", 720, 4680, 975, 495).hidden(),
    button("Command131", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command132", "Run past knight", 5160, 2280, 1455, 495).hidden(),
    button("Command133", "Shoot arrows", 5040, 2880, 1335, 495).hidden(),
    button("Command134", "Fight with sword", 3360, 2880, 1455, 495).hidden(),
    button("Command135", "Send electricity down the knight's sword", 0, 3480, 3135, 495).hidden(),
    button("Command136", "Shoot fireballs", 960, 2880, 1335, 495).hidden(),
    button("Command137", "Change the knight into stone", 120, 4080, 2295, 495).hidden(),
};

// The refill of this stretch's "Continue" steps: life for both, magic for
// the wizard.
void refillWizard(Game& g) {
    g.state.life = 500;
    g.state.magic = 1000;
    writeLife(g, board(g));
    writeMagic(g, board(g));
}

void refillKnight(Game& g) {
    g.state.life = 500;
    writeLife(g, board(g));
}

// --- Nilrem's pet dragon --------------------------------------------------

void onCommand114(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("Nilrem's pet dragon flies to meet you and stop you. What do you do?");
    if (isWizard(g)) {
        refillWizard(g);
        f["Command115"].show();
    } else if (isKnight(g)) {
        refillKnight(g);
        f.show({"Command116", "Command117", "Command118"});
    }
    f["Command114"].hide();
}

void onCommand115(Game& g) { board(g).show({"Command119", "Command120", "Command121"}); }

void onCommand116(Game& g) {
    Screen& f = board(g);
    g.message("Alas! You forgot that the swing you used can only be used against things on the ground.");
    g.message("The dragon breathes flames on you.");
    if (guardedHit(g, f, 250)) {
        g.message("You die from the flames.");
        f.hide({"Command116", "Command117", "Command118"});
        f["cmdlose"].show();
        f["Command70"].hide();
        f["lbllife"].setCaption("Life:0");
    }
}

// The arrows bounce off; the Union of Knights rescues a hero worn down to
// 100 life or less.
void onCommand117(Game& g) {
    Screen& f = board(g);
    g.message("The armored scales on the Dragon deflects your arrows.");
    g.message("The Dragon breathes fire.");
    if (g.state.life <= 100) {
        g.message("An arrow from the Union of Knights comes and hits the Dragon which then killed it.");
        g.state.life = 100;
        writeLife(g, f);
        f.hide({"Command116", "Command117", "Command118"});
        f["Command122"].show();
        f["Label2"].setCaption("");
    } else {
        g.state.life -= 100;
        writeLife(g, f);
    }
}

void onCommand118(Game& g) {
    Screen& f = board(g);
    g.message("The Dragon's fire engulfs you and you are turned into toast.");
    f.hide({"Command116", "Command117", "Command118", "Command70"});
    f["cmdlose"].show();
    f["lbllife"].setCaption("Life:0");
}

void onCommand119(Game& g) {
    Screen& f = board(g);
    g.message("The armored scales on the Dragon is too tough for the lightning.");
    g.message("The Dragon breathes flames and you are hit.");
    if (guardedHit(g, f, 250)) {
        g.message("You lose.");
        f.hide({"Command115", "Command119", "Command120", "Command121"});
        f.hide({"Command70", "Command71", "Command72"});
        f["cmdlose"].show();
        f["lbllife"].setCaption("Life:0");
    }
}

// The invisible fight: the 10 Wizards rescue a hero worn down to 100 life or
// less, the flames still land, and a rescued hero is brought back to 100.
void onCommand120(Game& g) {
    Screen& f = board(g);
    g.message("The dragon smells you and breathes fire on you.");
    g.message("The fire is too powerful for your spell.");
    if (g.state.life <= 100) {
        g.message("Lightning from the 10 Wizards hits the Dragon and kills it.");
        f.hide({"Command115", "Command119", "Command120", "Command121"});
        f["Command122"].show();
        f["Label2"].setCaption("");
    }
    g.state.life -= 100;
    writeLife(g, f);
    if (f["Command122"].visible()) {
        g.state.life = 100;
        writeLife(g, f);
    }
}

void onCommand121(Game& g) {
    Screen& f = board(g);
    g.message("You didn't move in time to dodge the flames.");
    g.message("You died.");
    f.hide({"Command115", "Command119", "Command120", "Command121"});
    f["cmdlose"].show();
    f.hide({"Command70", "Command71", "Command72"});
    f["lbllife"].setCaption("Life:0");
}

// --- The wizard from Nilrem -----------------------------------------------

void onCommand122(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("A wizard from Nilrem comes to battle you.");
    if (isWizard(g)) {
        f["Command123"].show();
        refillWizard(g);
    }
    if (isKnight(g)) {
        f.show({"Command124", "Command125", "Command126"});
        refillKnight(g);
    }
    f["Command122"].hide();
}

void onCommand123(Game& g) { board(g).show({"Command127", "Command128", "Command129"}); }

void onCommand124(Game& g) {
    Screen& f = board(g);
    g.message("The wizard sends electricity down your sword and kills you.");
    f.hide({"Command124", "Command125", "Command126", "Command70"});
    f["cmdlose"].show();
}

void onCommand125(Game& g) {
    Screen& f = board(g);
    g.message("The wizard catches your arrow, puts wizard fire on it, and sends it back at you.");
    g.message("You become a fireball.");
    f.hide({"Command124", "Command125", "Command126", "Command70"});
    f["cmdlose"].show();
    f["lbllife"].setCaption("Life:0");
}

void onCommand126(Game& g) {
    Screen& f = board(g);
    g.message("The wizard thought you were going to use your sword and dies from the swing.");
    f.hide({"Command124", "Command125", "Command126"});
    f["Command130"].show();
    f["Label2"].setCaption("");
}

// The stones never win: they only wear the hero down.
void onCommand127(Game& g) {
    Screen& f = board(g);
    g.message("The wizard fires stones back.");
    if (guardedHit(g, f, 100)) {
        g.message("You die.");
        f["lbllife"].setCaption("Life:0");
        f.hide({"Command123", "Command127", "Command128", "Command129"});
        f["cmdlose"].show();
        f.hide({"Command70", "Command71", "Command72"});
    }
}

void onCommand128(Game& g) {
    Screen& f = board(g);
    g.message("The wizard uses the counterspell and changes you into a cow.");
    g.message("In your current state, you are unable to finish the Vendral and is turned into food next!");
    f.hide({"Command127", "Command128", "Command129", "Command123"});
    f["cmdlose"].show();
    f.hide({"Command70", "Command71", "Command72"});
}

void onCommand129(Game& g) {
    Screen& f = board(g);
    g.message("The wizard is fooled and you blast him to another planet.");
    f.hide({"Command123", "Command127", "Command128", "Command129"});
    f["Command130"].show();
    f["Label2"].setCaption("");
}

// --- The knight from Nilrem's Council -------------------------------------

void onCommand130(Game& g) {
    Screen& f = board(g);
    g.message("A knight from the Nilrem's Council comes to fight you.");
    if (isWizard(g)) {
        f["Command131"].show();
        refillWizard(g);
    } else if (isKnight(g)) {
        f.show({"Command132", "Command133", "Command134"});
        refillKnight(g);
    }
    f["Command130"].hide();
}

void onCommand131(Game& g) { board(g).show({"Command135", "Command136", "Command137"}); }

void onCommand132(Game& g) {
    Screen& f = board(g);
    g.message("The knight slashes and cuts through the armor and you have failed your mission.");
    f.hide({"Command132", "Command133", "Command134"});
    f["lbllife"].setCaption("Life:0");
    f["cmdlose"].show();
    f["Command70"].hide();
}

void onCommand133(Game& g) {
    Screen& f = board(g);
    g.message("The knight doesn't know how to use arrows and is killed.");
    f.hide({"Command132", "Command133", "Command134"});
    f["Command138"].show();
}

void onCommand134(Game& g) {
    Screen& f = board(g);
    g.message("After 1 hour of fighting, a guard from Nilrem comes up and you are killed.");
    f.hide({"Command132", "Command133", "Command134"});
    f["lbllife"].setCaption("Life:0");
    f["cmdlose"].show();
    f["Command70"].hide();
}

void onCommand135(Game& g) {
    Screen& f = board(g);
    g.message("You forgot to take your hand off his sword so you and the knight dies.");
    f.hide({"Command131", "Command135", "Command136", "Command137"});
    f.hide({"Command70", "Command71", "Command72"});
    f["cmdlose"].show();
    f["lbllife"].setCaption("Life:0");
}

void onCommand136(Game& g) {
    Screen& f = board(g);
    g.message("Your fireballs melt the armor and kills the knight.");
    f.hide({"Command131", "Command135", "Command136", "Command137"});
    f["Command138"].show();
    f["Label2"].setCaption("");
}

void onCommand137(Game& g) {
    Screen& f = board(g);
    g.message("The knight realizes that you have used the changing spell and moves no more.");
    f.hide({"Command131", "Command135", "Command136", "Command137"});
    f["Command138"].show();
    f["Label2"].setCaption("");
}

constexpr std::array clicks{
    ClickBinding{"Command114", &onCommand114}, ClickBinding{"Command115", &onCommand115},
    ClickBinding{"Command116", &onCommand116}, ClickBinding{"Command117", &onCommand117},
    ClickBinding{"Command118", &onCommand118}, ClickBinding{"Command119", &onCommand119},
    ClickBinding{"Command120", &onCommand120}, ClickBinding{"Command121", &onCommand121},
    ClickBinding{"Command122", &onCommand122}, ClickBinding{"Command123", &onCommand123},
    ClickBinding{"Command124", &onCommand124}, ClickBinding{"Command125", &onCommand125},
    ClickBinding{"Command126", &onCommand126}, ClickBinding{"Command127", &onCommand127},
    ClickBinding{"Command128", &onCommand128}, ClickBinding{"Command129", &onCommand129},
    ClickBinding{"Command130", &onCommand130}, ClickBinding{"Command131", &onCommand131},
    ClickBinding{"Command132", &onCommand132}, ClickBinding{"Command133", &onCommand133},
    ClickBinding{"Command134", &onCommand134}, ClickBinding{"Command135", &onCommand135},
    ClickBinding{"Command136", &onCommand136}, ClickBinding{"Command137", &onCommand137},
};

}  // namespace

const ScreenPart nilrem{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
