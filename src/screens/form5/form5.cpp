// The quit confirmation of the Final Battle: the one place where quitting
// can be taken back.
#include <array>

#include "core/game.h"
#include "screens/screens.h"

namespace vendral::form5 {

namespace {

constexpr std::array controls{
    label("Label1", "Do you want really want to quit?", 840, 240, 2295, 255),
    button("Command1", "Yes", 840, 840, 975, 495),
    button("Command2", "No", 2640, 840, 1095, 495),
};

void onLoad(Game& g) { g.show("Form5"); }

void onYes(Game& g) {
    g.message("Goodbye, " + g.state.playername + "!");
    g.end();
}

void onNo(Game& g) {
    g.message("Why did you quit?");
    g.hide("Form5");
    g.show("Form4");
}

constexpr std::array clicks{ClickBinding{"Command1", &onYes}, ClickBinding{"Command2", &onNo}};

constexpr ScreenPart part{.controls = controls, .clicks = clicks};
constexpr std::array<const ScreenPart*, 1> parts{&part};

}  // namespace

const ScreenDef screen{.name = "Form5",
                       .caption = "Vendral",
                       .width = 4680,
                       .height = 3195,
                       .parts = parts,
                       .load = &onLoad,
                       .centreOnOwner = true};

}  // namespace vendral::form5
