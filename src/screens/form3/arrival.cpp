// The frame of the second journey screen: the status labels, the scene text,
// the defeat button and the cheat icon; the two ways on that the arrival
// leaves (into the castle, or straight on to the Gates after the second
// jump-ahead code); and the arrival at Nilrem's castle itself.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form3/form3.h"

namespace vendral::form3 {

namespace {

constexpr std::array controls{
    label("Label1", "", 0, 0, 1695, 735).pt(24),
    label("lbllife", "", 1680, 0, 2055, 735).pt(18),
    label("lblmagic", "", 3720, 0, 2535, 735).pt(18),
    label("lblchallenge", "", 4200, 840, 2895, 5295).pt(13.5),
    button("cmdlose", "Quit", 3360, 5280, 735, 855).pic("quit").hidden(),
    label("lblelife", "", 6360, 0, 735, 735).hidden(),
    label("lblmoney", "", 0, 5520, 3135, 375).pt(13.5).hidden(),
    // Into the castle and its cups.
    button("cmdstart", "Go in the Castle", 2880, 2760, 1455, 495),
    // The Gates of Nilrem and the Final Battle.
    button("Command53", "Continue", 240, 4800, 975, 495).hidden(),
    image("Image8", "disc", 1800, 5520, 480, 480).draggable("Cheat").hidden(),
};

void onLose(Game& g) {
    g.message("Too bad you lost now right, " + g.state.playername + "?");
    g.end();
}

constexpr std::array clicks{ClickBinding{"cmdlose", &onLose}};

}  // namespace

const ScreenPart arrival{.controls = controls, .clicks = clicks};

// The arrival at Nilrem's castle. Its messages come while the first journey
// screen is still in front.
void load(Game& g) {
    Screen& f = g.screen("Form3");
    g.message("You arrive at Nilrem's castle.");
    f["Label1"].setCaption(g.state.heroclass);
    g.state.life = 500;
    writeLife(g, f);
    // A knight's magic keeps its value and his magic label stays empty.
    if (g.state.heroclass == "Wizard") {
        g.state.magic = 1000;
        writeMagic(g, f);
    }
    g.state.invisible = 0;
    g.message(
        "Since you have gotten this far, here's a code to continue on from here if you die. The Code is "
        "ZKWQXRVMBLA. Enter it in exactly, and you will continue on from here.");
    // The second code skips the whole screen: only the way to the Gates is left.
    if (g.state.jumpcode == "TEKAVURM") {
        f["cmdstart"].hide();
        f["Command53"].show();
    }
}

}  // namespace vendral::form3
