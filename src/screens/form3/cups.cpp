// The seven cups in Nilrem's castle: wizard fire traps the hero, and only
// the right cup puts it out. The cups are one picture stretched to seven
// sizes; the two hints speak of those sizes.
#include <array>

#include "screens/form3/form3.h"
#include "screens/form3/steps.h"

namespace vendral::form3 {

namespace {

using steps::board;
using steps::fallen;

constexpr std::array controls{
    image("Image1", "cup", 360, 840, 1095, 735).stretched().hidden(),     // small: wine
    image("Image2", "cup", 1440, 840, 1095, 735).stretched().hidden(),    // small: the key
    image("Image3", "cup", 1800, 1560, 1335, 975).stretched().hidden(),   // medium: poison
    image("Image4", "cup", 0, 2400, 2175, 1815).stretched().hidden(),     // one of a kind: invisibility
    image("Image5", "cup", 2040, 2520, 2055, 1575).stretched().hidden(),  // one of a kind: poison
    image("Image6", "cup", 360, 1560, 1335, 975).stretched().hidden(),    // medium: poison
    image("Image7", "cup", 840, 3960, 2655, 1935).stretched().hidden(),   // big, one of a kind: wine
};

void onGoInTheCastle(Game& g) {
    Screen& f = board(g);
    g.message("Once you enter, you are trapped by wizard fire.");
    g.message("You see seven cups and each of them have some kind of liquid in it.");
    g.message("You must drink from the right one to get past the fire.");
    g.message("You also hear that neither Big cups or Small cups hold poison.");
    g.message(
        "The one that makes you invisible is the only one of its size and is wider than the other cup that is the "
        "only one of its size.");
    f.show({"Image1", "Image2", "Image3", "Image4", "Image5", "Image6", "Image7"});
    f["cmdstart"].hide();
    // STOP and START are words of the script only; nothing listens for them.
    f["lblchallenge"].setCaption(
        "You see a script on the table. You read it and you see:These cups all hold some kind of liquid. Two hold "
        "wine, Three hold poison, One holds the key to stop the fire, and one will make you invisible until you say "
        "STOP! You become invisible again by saying START! Click on the cup to drink.");
}

// A poison ends the game even after the key was found: "Go on" goes too.
void poisoned(Game& g) {
    fallen(g, {"Image1", "Image2", "Image3", "Image4", "Image5", "Image6", "Image7", "Command1"});
}

void onImage1(Game& g) {
    g.message("You taste a liquid that is like wine because it is.");
    board(g)["Image1"].hide();
}

void onImage2(Game& g) {
    g.message("You drink this liquid and you see the wizard fire vanish.");
    Screen& f = board(g);
    f["Image2"].hide();
    // The other cups stay: the invisibility cup may still be drunk.
    f["Command1"].show();
}

void onImage3(Game& g) {
    g.message("You taste a very sweet liquid.");
    g.message("You notice that you are losing your strength.");
    g.message("You die from the poison.");
    poisoned(g);
}

void onImage4(Game& g) {
    g.message("You drink this liquid and look in the mirror nearby and you find out that you are invisible!");
    board(g)["Image4"].hide();
    g.state.invisible = 1;
}

void onImage5(Game& g) {
    g.message("You remember this taste because of a simulation you did to see what this particular poison does.");
    g.message("You quickly disappear from this world and you are never seen again.");
    poisoned(g);
}

void onImage6(Game& g) {
    g.message("Immediatly, you feel sick.");
    g.message("You die from the poison.");
    poisoned(g);
}

void onImage7(Game& g) {
    g.message("You taste a wine that is perfect.");
    board(g)["Image7"].hide();
}

// "Go in the Castle" has its row with the arrival; its click is the cups'.
constexpr std::array clicks{
    ClickBinding{"cmdstart", &onGoInTheCastle},
    ClickBinding{"Image1", &onImage1},
    ClickBinding{"Image2", &onImage2},
    ClickBinding{"Image3", &onImage3},
    ClickBinding{"Image4", &onImage4},
    ClickBinding{"Image5", &onImage5},
    ClickBinding{"Image6", &onImage6},
    ClickBinding{"Image7", &onImage7},
};

}  // namespace

const ScreenPart cups{.controls = controls, .clicks = clicks};

}  // namespace vendral::form3
