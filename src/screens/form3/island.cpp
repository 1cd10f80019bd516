// Nilrem's Island: the spiders of the forest, the guards at the castle
// (slipped past by a hero who drank the invisibility cup, fought otherwise),
// the second guards, and the Gates of Nilrem, where Flamel waits and the
// Final Battle begins.
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
using steps::won;

constexpr std::array controls{
    button("Command39", "Continue", 240, 4800, 975, 495).hidden(),
    button("Command40", "Blast lightning", 1320, 960, 1335, 495).hidden(),
    button("Command41", "Shoot fireballs", 1440, 1560, 1335, 495).hidden(),
    button("Command42", "Blind the spiders and run", 1560, 2160, 2055, 495).hidden(),
    button("Command43", "Slash with your sword", 1560, 2760, 1815, 495).hidden(),
    button("Command44", "Run and slash anything in your way", 360, 3360, 2895, 495).hidden(),
    button("Command45", "Shoot arrows", 1440, 3960, 1335, 495).hidden(),
    button("Command46", "Continue", 240, 4800, 975, 495).hidden(),
    button("Command47", "Battle", 960, 2040, 855, 495).hidden(),
    button("Command48", "Surrender", 1920, 2040, 975, 495).hidden(),
    button("Command49", "Blast lightning", 1440, 960, 1335, 495).hidden(),
    button("Command50", "Shoot fireballs", 1440, 1560, 1335, 495).hidden(),
    button("Command51", "Use sword", 1440, 2640, 1095, 495).hidden(),
    button("Command52", "Shoot arrows", 1320, 3240, 1215, 495).hidden(),
    // Command53 "Continue" has its row with the arrival, whose second code
    // shows it at once; its click is here.
};

const std::initializer_list<std::string_view> wizardOnSpiders{"Command40", "Command41", "Command42"};
const std::initializer_list<std::string_view> knightOnSpiders{"Command43", "Command44", "Command45"};
const std::initializer_list<std::string_view> wizardOnGuards{"Command49", "Command50"};
const std::initializer_list<std::string_view> knightOnGuards{"Command51", "Command52"};

// --- The spiders -------------------------------------------------------------

void onIntoTheForest(Game& g) {
    Screen& f = board(g);
    f["lblchallenge"].setCaption(
        "After much walking and running, you come across a colony of spiders. You realize that these spiders are "
        "huge. All of them are 5 feet high or higher and pretty big. They seemed to be eating many Heqs lately, "
        "quite ready to try other meat. What do you do?");
    if (isWizard(g))
        f.show(wizardOnSpiders);
    else if (isKnight(g))
        f.show(knightOnSpiders);
    f["Command39"].hide();
}

void onLightningOnSpiders(Game& g) {
    g.message("The spiders were hit and fell on the ground dead.");
    won(g, wizardOnSpiders, "Command46");
}

void onFireballsOnSpiders(Game& g) {
    g.message(
        "The spiders become a flame, and run towards the trees blindly. The whole forest is set ablaze and you are "
        "in the midst of it.");
    g.message("You die.");
    fallen(g, wizardOnSpiders);
}

void onBlindTheSpiders(Game& g) {
    g.message("You blind the spiders and begin to run.");
    g.message("Not seeing a Heq on the ground, you trip over the Heq and a spider blindly strikes.");
    g.message("The spider hit you and you feel poison coming into you.");
    g.message("The spiders overwhelm you and you are going to be dinner soon.");
    fallen(g, wizardOnSpiders);
}

void onSlashTheSpiders(Game& g) {
    g.message("After many spiders were dead and wounded, you become weary and they overwhelm you.");
    fallen(g, knightOnSpiders);
}

void onRunAndSlash(Game& g) {
    g.message("After many spiders lay dead, you escape from the colony.");
    won(g, knightOnSpiders, "Command46");
}

void onArrowsAtSpiders(Game& g) {
    g.message("You kill many spiders and most of them have an arrow sticking out of them.");
    g.message("A spider behind you jumps on you and poisons you.");
    fallen(g, knightOnSpiders);
}

// --- The castle guards -------------------------------------------------------

// The invisibility drunk among the cups is read here and nowhere else; it
// stays set, and only the story says that the castle turns it off.
void onToTheCastle(Game& g) {
    Screen& f = board(g);
    if (g.state.invisible == 1) {
        g.message("Since you are invisible, you slip past the guards and into the castle.");
        f["lblchallenge"].setCaption(
            "Nilrem's power is stronger in the castle and your invisibility is turned off. Two guards see you and "
            "come to battle you to stop you from getting to Nilrem.");
    } else if (g.state.invisible == 0) {
        g.message("The guards see you and rush towards you with their swords.");
        g.message("You kill the guards suffering minor damages.");
        g.state.life -= 50;
        writeLife(g, f);
        f["lblchallenge"].setCaption(
            "Another two guards see you and come to battle you to stop you from getting to Nilrem.");
    }
    f.show({"Command47", "Command48"});
    f["Command46"].hide();
}

void onBattleTheGuards(Game& g) {
    Screen& f = board(g);
    f.hide({"Command47", "Command48"});
    if (isWizard(g))
        f.show(wizardOnGuards);
    else if (isKnight(g))
        f.show(knightOnGuards);
}

void onSurrender(Game& g) {
    g.message("You are brought before Nilrem.");
    g.message("You are a fool, " + g.state.playername + "! You shall be cast into the alligator pit.");
    g.message("You are dragged to the pit and thrown in.");
    g.message("The alligators had a good lunch that day.");
    fallen(g, {"Command47", "Command48"});
}

void onLightningOnGuards(Game& g) {
    g.message("The guards fall down burnt.");
    won(g, wizardOnGuards, "Command53");
}

void onFireballsOnGuards(Game& g) {
    g.message("Nilrem's magic stops the fireballs, and comes back at you.");
    g.message("You have failed your Vendral.");
    fallen(g, wizardOnGuards);
}

void onSwordOnGuards(Game& g) {
    g.message("Your skill outmatches theirs put together.");
    won(g, knightOnGuards, "Command53");
}

void onArrowsAtGuards(Game& g) {
    g.message("The guards are expert bowsmen and shoot your arrows out of the air.");
    g.message("6 arrows come toward you and you die.");
    fallen(g, knightOnGuards);
}

// --- The Gates of Nilrem -------------------------------------------------------

// Flamel's potions are counted in by the Final Battle itself; this step
// only tells of them.
void onToTheGates(Game& g) {
    g.message("You go up to the Gates of Nilrem.");
    g.message("You see a apprentice wizard there.");
    g.message("You realize the apprentice is Flamel.");
    g.message("He has brought 100 Reviving potions, 100 Magic potions, and 100 Life Potions.");
    // A hero who lost here and still found a way on is marked.
    if (board(g)["cmdlose"].visible()) g.state.playername = "Cheater";
    g.hide("Form3");
    g.load("Form4");
    g.show("Form4");
}

constexpr std::array clicks{
    ClickBinding{"Command39", &onIntoTheForest},
    ClickBinding{"Command40", &onLightningOnSpiders},
    ClickBinding{"Command41", &onFireballsOnSpiders},
    ClickBinding{"Command42", &onBlindTheSpiders},
    ClickBinding{"Command43", &onSlashTheSpiders},
    ClickBinding{"Command44", &onRunAndSlash},
    ClickBinding{"Command45", &onArrowsAtSpiders},
    ClickBinding{"Command46", &onToTheCastle},
    ClickBinding{"Command47", &onBattleTheGuards},
    ClickBinding{"Command48", &onSurrender},
    ClickBinding{"Command49", &onLightningOnGuards},
    ClickBinding{"Command50", &onFireballsOnGuards},
    ClickBinding{"Command51", &onSwordOnGuards},
    ClickBinding{"Command52", &onArrowsAtGuards},
    ClickBinding{"Command53", &onToTheGates},
};

}  // namespace

const ScreenPart island{.controls = controls, .clicks = clicks};

}  // namespace vendral::form3
