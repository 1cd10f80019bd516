// The life cheat of the first journey: during a boss fight a click on the
// enemy's life label reveals the disc, and the disc dropped on the class
// label gives 1000 life and marks the player a cheater.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

void onEnemyLifeClick(Game& g) { board(g)["Image2"].show(); }

void onClassDrop(Game& g, Control& source) {
    source.hide();
    if (source.tag() != "Cheat") return;
    g.message("You have cheated!");
    g.state.playername = "Cheater";
    g.state.life += 1000;
    writeLife(g, board(g));
}

constexpr std::array clicks{ClickBinding{"lblelife", &onEnemyLifeClick}};
constexpr std::array drops{DropBinding{"Label1", &onClassDrop}};

}  // namespace

const ScreenPart cheat{.clicks = clicks, .drops = drops};

}  // namespace vendral::form1
