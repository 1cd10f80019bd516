// The life cheat of the second journey: during a boss fight a click on the
// enemy's life label reveals the disc, and the disc dropped on the class
// label gives 1000 life and marks the player a cheater.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form3/form3.h"

namespace vendral::form3 {

namespace {

void onEnemyLifeClick(Game& g) { g.screen("Form3")["Image8"].show(); }

// Here the player is renamed before the message, unlike on the first screen.
void onClassDrop(Game& g, Control& source) {
    source.hide();
    if (source.tag() != "Cheat") return;
    g.state.playername = "Cheater";
    g.message("You have cheated!");
    g.state.life += 1000;
    writeLife(g, g.screen("Form3"));
}

constexpr std::array clicks{ClickBinding{"lblelife", &onEnemyLifeClick}};
constexpr std::array drops{DropBinding{"Label1", &onClassDrop}};

}  // namespace

const ScreenPart cheat{.clicks = clicks, .drops = drops};

}  // namespace vendral::form3
