// The life cheat of the Final Battle, and the hidden spot that shows FURY.
// Nilrem's life label is always visible, so the disc can be revealed at any
// time. Dropped on the class label it heals the hero and Flamel; dropped on
// Nilrem's life label it adds to all four of their values.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form4/form4.h"

namespace vendral::form4 {

namespace {

constexpr std::array controls{
    image("imgcheat", "disc", 6600, 1560, 495, 495).stretched().draggable("Cheat").hidden(),
    label("lblactivate", "", 7080, 0, 135, 255),
};

Screen& battlefield(Game& g) { return g.screen("Form4"); }

void onNilremLifeClick(Game& g) { battlefield(g)["imgcheat"].show(); }

// The cheat drops write "Your life:" and "Flamel's life:" in lower case,
// unlike the battle's own labels; the labels keep that until the battle
// rewrites them.
void onClassDrop(Game& g, Control& source) {
    Screen& f = battlefield(g);
    source.hide();
    if (source.tag() != "Cheat") return;
    g.state.life += 1000;
    g.state.flamellife += 1000;
    f["lblmlife"].setCaption(withValue("Your life:", g.state.life));
    f["lblflife"].setCaption(withValue("Flamel's life:", g.state.flamellife));
    g.message("You have cheated!");
    g.state.playername = "Cheater";
}

// The larger cheat: the disc is hidden only after the labels are written.
// The knight's magic rises too, though his magic label stays hidden.
void onNilremLifeDrop(Game& g, Control& source) {
    Screen& f = battlefield(g);
    if (source.tag() != "Cheat") return;
    g.state.life += 1000;
    g.state.magic += 1000;
    g.state.flamellife += 1000;
    g.state.flamelmagic += 1000;
    f["lblmlife"].setCaption(withValue("Your life:", g.state.life));
    f["lblmmagic"].setCaption(withValue("Your magic:", g.state.magic));
    f["lblflife"].setCaption(withValue("Flamel's Life:", g.state.flamellife));
    f["lblfmagic"].setCaption(withValue("Flamel's Magic:", g.state.flamelmagic));
    f["imgcheat"].hide();
    g.message("You have Cheated!");
    g.state.playername = "Cheater";
}

// The hidden spot in the top right corner.
void onActivate(Game& g) { battlefield(g)["cmdfury"].show(); }

constexpr std::array clicks{
    ClickBinding{"lblelife", &onNilremLifeClick},
    ClickBinding{"lblactivate", &onActivate},
};
constexpr std::array drops{
    DropBinding{"Label1", &onClassDrop},
    DropBinding{"lblelife", &onNilremLifeDrop},
};

}  // namespace

const ScreenPart cheat{.controls = controls, .clicks = clicks, .drops = drops};

}  // namespace vendral::form4
