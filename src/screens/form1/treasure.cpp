// The Treasure of Karthune in the hero's hands: the choice to bring it home,
// the second store (new potions for coins), the village taken by Nilrem and
// Flamel's offer, then Nilrem's guard and Nilrem's apprentice wizard.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("Command89", "Continue", 480, 4680, 1095, 495).hidden(),
    button("Command90", "Go back to the Village of Karthune", 120, 1800, 2535, 495).hidden(),
    button("Command91", "Take it and sell it somewhere", 2760, 1800, 2415, 495).hidden(),
    button("Command92", "Yes", 2520, 1680, 735, 495).hidden(),
    button("Command93", "No", 3360, 1680, 615, 495).hidden(),
    button("Command94", "Buy a life potion", 0, 2400, 1455, 495).hidden(),
    button("Command95", "Buy a magic potion", 1560, 2400, 1695, 495).hidden(),
    button("Command96", "Buy a refilling potion", 3360, 2400, 1695, 495).hidden(),
    button("cmdgoback", "Go to the Village of Karthune", 0, 4680, 2295, 495).hidden(),
    button("Command97", "Yes", 2520, 1680, 735, 495).hidden(),
    button("Command98", "No", 3360, 1680, 615, 495).hidden(),
    button("Command99", "Continue", 720, 4680, 975, 495).hidden(),
    button("Command100", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command101", "Use your sword", 3360, 2880, 1455, 495).hidden(),
    button("Command102", "Use arrows", 5040, 2880, 1095, 495).hidden(),
    button("Command103", "Use special swing", 4920, 2280, 1575, 495).hidden(),
    button("Command104", "Fire stones", 1080, 2880, 1215, 495).hidden(),
    button("Command105", "Shoot lightning", 480, 3480, 1335, 495).hidden(),
    button("Command106", "Turn invisible and run", 480, 4080, 1815, 495).hidden(),
    button("Command107", "Continue", 720, 4680, 975, 495).hidden(),
    button("Command108", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command109", "Use sword", 3600, 2880, 1095, 495).hidden(),
    button("Command110", "Use arrows", 5040, 2880, 1095, 495).hidden(),
    button("Command111", "Use swing", 4920, 2280, 1095, 495).hidden(),
    button("Command112", "Shoot lightning", 960, 2880, 1335, 495).hidden(),
    button("Command113", "Run for life", 480, 3480, 1215, 495).hidden(),
};

// --- The Treasure and the second store ------------------------------------

void onCommand89(Game& g) {
    Screen& f = board(g);
    g.message("You pick up the Treasure of Karthune.");
    g.message("What do you want to do?");
    f.show({"Command90", "Command91"});
    f["Command89"].hide();
}

void onCommand90(Game& g) {
    Screen& f = board(g);
    g.message("Before you go to The Village of Karthune, you see a store.");
    g.message("Do you want to go in?");
    f.show({"Command92", "Command93"});
    f.hide({"Command90", "Command91"});
}

void onCommand91(Game& g) {
    Screen& f = board(g);
    g.message("Lightning from The Village of Karthune kills you.");
    f["lbllife"].setCaption("Life:0");
    f.hide({"Command90", "Command91"});
    f["cmdlose"].show();
    f.hide({"cmdusepotion", "cmdusempotion", "cmduserefill", "Command70", "Command71", "Command72"});
}

void onCommand92(Game& g) {
    Screen& f = board(g);
    g.message("What do you want to buy?");
    if (isWizard(g)) {
        f.show({"Command94", "Command95", "Command96"});
        f.hide({"Command92", "Command93"});
    } else if (isKnight(g)) {
        f["Command94"].show();
        f.hide({"Command92", "Command93"});
    }
    f["cmdgoback"].show();
}

void onCommand93(Game& g) {
    Screen& f = board(g);
    g.message("You pass the shop.");
    f["cmdgoback"].show();
    f.hide({"Command93", "Command92"});
}

// One purchase in the second store: an unaffordable potion refuses with its
// message, greys the buttons it names and offers the way back; a bought one
// enables the matching new-potion button without showing it (a hero who kept
// the Items panel carries these potions on unseen).
void buyNewPotion(Game& g, std::int64_t price, const char* refusal, std::initializer_list<std::string_view> greyed,
                  const char* bought, Num& count, std::string_view useButton) {
    Screen& f = board(g);
    if (g.state.money <= price - 1) {
        g.message(refusal);
        f.disable(greyed);
        f["cmdgoback"].show();
        return;
    }
    g.message(bought);
    count += 1;
    f[useButton].enable();
    g.state.money -= price;
    writeMoney(g);
}

void onCommand94(Game& g) {
    buyNewPotion(g, 1000, "You can't buy any more potions.", {"Command94", "Command95", "Command96"},
                 "Bought 1 life potion.", g.state.lifepotions, "Command70");
}

void onCommand95(Game& g) {
    buyNewPotion(g, 2000, "Not enough money.", {"Command95", "Command96"}, "Bought 1 magic potion.",
                 g.state.magicpotions, "Command72");
}

void onCommand96(Game& g) {
    buyNewPotion(g, 2000, "Not enough money.", {"Command95", "Command96"}, "Bought one refilling potion.",
                 g.state.refillpotions, "Command71");
}

// --- The village and Flamel -----------------------------------------------

void onGoBack(Game& g) {
    Screen& f = board(g);
    g.message(
        "When you arrive, you find that The Village of Karthune has been taken over by Nilrem, the Supreme Dark "
        "Wizard.");
    g.message("A apprentince wizard approaches you and asks if he can join you to defeat the Dark Wizard.");
    g.message("Do you want to accept his offer or reject?");
    f.show({"Command97", "Command98"});
    f.hide({"cmdgoback", "Command94", "Command95", "Command96"});
}

void onCommand97(Game& g) {
    Screen& f = board(g);
    g.message("The apprentice joins you and tells you that his name is Flamel.");
    g.message("He is pretty good at Fire spells.");
    g.message("He doesn't do as much damage as you do.");
    g.message(
        "He'll meet you at the Gates of Nilrem after he picks up some potions that will revive your ally if he falls "
        "in battle.");
    f["Command99"].show();
    f.hide({"Command97", "Command98"});
}

void onCommand98(Game& g) {
    Screen& f = board(g);
    g.message("The apprentice walks away.");
    g.message("While you were talking to him, one of Nilrem's guards was behind you and killed you.");
    f.hide({"Command97", "Command98"});
    f["cmdlose"].show();
    f.hide({"Command70", "Command71", "Command72"});
}

// --- Nilrem's guard -------------------------------------------------------

void onCommand99(Game& g) {
    Screen& f = board(g);
    f["Label2"].setCaption("You meet a guard from Nilrem. What do you do?");
    if (isWizard(g))
        f["Command100"].show();
    else if (isKnight(g))
        f.show({"Command101", "Command102", "Command103"});
    f["Command99"].hide();
}

void onCommand100(Game& g) { board(g).show({"Command104", "Command105", "Command106"}); }

void onCommand101(Game& g) {
    Screen& f = board(g);
    g.message("Luckily, you have more skill than he does.");
    g.message("You kill him.");
    f.hide({"Command101", "Command102", "Command103"});
    g.state.life = 500;
    writeLife(g, f);
    f["Label2"].setCaption("");
    f["Command107"].show();
}

void onCommand102(Game& g) {
    Screen& f = board(g);
    g.message(
        "The guard is also a skilled archer. He takes out his bow and a couple of arrows and knocks your arrow out of "
        "the air.");
    g.message("He then fires 6 arrows at you.");
    testThenHit(g, f, 200, [&] {
        g.message("You die.");
        f.hide({"Command101", "Command102", "Command103", "Command70"});
        f["cmdlose"].show();
        f["Label2"].setCaption("");
    });
}

void onCommand103(Game& g) {
    Screen& f = board(g);
    g.message("The guard responds with a more powerful swing.");
    g.message("You die.");
    f.hide({"Command101", "Command102", "Command103"});
    f["cmdlose"].show();
    f["lbllife"].setCaption("Life:0");
    f["Label2"].setCaption("");
    f["Command70"].hide();
}

void onCommand104(Game& g) {
    Screen& f = board(g);
    g.message("The guard reflects them back at you with his sword.");
    testThenHit(g, f, 50, [&] {
        g.message("You died.");
        f.hide({"Command100", "Command104", "Command105", "Command106"});
        f["cmdlose"].show();
        f.hide({"Command70", "Command71", "Command72"});
    });
}

void onCommand105(Game& g) {
    Screen& f = board(g);
    g.message("You killed the guard.");
    g.state.life = 500;
    g.state.magic = 1000;
    f.hide({"Command100", "Command104", "Command105", "Command106"});
    f["Command107"].show();
    writeLife(g, f);
    writeMagic(g, f);
    f["Label2"].setCaption("");
}

void onCommand106(Game& g) {
    Screen& f = board(g);
    g.message("The guard's sword is enchanted. He kills you with a slash.");
    f.hide({"Command100", "Command104", "Command105", "Command106"});
    f["cmdlose"].show();
    f["lbllife"].setCaption("Life:0");
    f["Label2"].setCaption("");
    f.hide({"Command70", "Command71", "Command72"});
}

// --- Nilrem's apprentice wizard -------------------------------------------

void onCommand107(Game& g) {
    Screen& f = board(g);
    // Both heroes are refilled, the knight's magic label included.
    g.state.life = 500;
    g.state.magic = 1000;
    writeLife(g, f);
    writeMagic(g, f);
    g.message("A apprentice wizard from Nilrem has come to battle you.");
    if (isWizard(g))
        f["Command108"].show();
    else if (isKnight(g))
        f.show({"Command109", "Command110", "Command111"});
    f["Command107"].hide();
}

void onCommand108(Game& g) { board(g).show({"Command112", "Command113"}); }

void onCommand109(Game& g) {
    Screen& f = board(g);
    g.message("The apprentice quickly shoots a ball of energy at you.");
    g.message("You strike the ball with your sword and the ball kills the apprentice.");
    g.message(
        "Designer's note to player:Life and Magic(wizard only) will be refilled when the Continue button is "
        "pressed.");
    f.hide({"Command109", "Command110", "Command111"});
    f["Command114"].show();
}

void onCommand110(Game& g) {
    Screen& f = board(g);
    g.message("The apprentice fills the arrow with energy and it flies back at you.");
    g.message("The arrow pierces your armor and kills you.");
    f.hide({"Command109", "Command110", "Command111"});
    f.hide({"Command70", "Command71", "Command72"});
    f["cmdlose"].show();
}

void onCommand111(Game& g) {
    Screen& f = board(g);
    g.message("The apprentice has not learned the counterspell yet.");
    g.message("You kill the apprentice.");
    g.message(
        "Designer's note to player:From now on, Life and Magic(wizard only) will be refilled when you press the "
        "Continue button.");
    f.hide({"Command111", "Command110", "Command109"});
    f["Command114"].show();
}

void onCommand112(Game& g) {
    Screen& f = board(g);
    g.message("You killed the apprentice.");
    g.message(
        "Designer's note to player:From now on, whenever you press the Continue button, you're life and "
        "magic(wizard only) will be refilled.");
    f.hide({"Command108", "Command112", "Command113"});
    f["Command114"].show();
    f["Label2"].setCaption("");
}

void onCommand113(Game& g) {
    Screen& f = board(g);
    g.message("The apprentice quickly blasts bolts of electricity with the Rapid Fire spell.");
    g.message("You die.");
    f.hide({"Command108", "Command112", "Command113"});
    f["cmdlose"].show();
    f["lbllife"].setCaption("Life:0");
    f.hide({"Command70", "Command71", "Command72"});
}

constexpr std::array clicks{
    ClickBinding{"Command89", &onCommand89},   ClickBinding{"Command90", &onCommand90},
    ClickBinding{"Command91", &onCommand91},   ClickBinding{"Command92", &onCommand92},
    ClickBinding{"Command93", &onCommand93},   ClickBinding{"Command94", &onCommand94},
    ClickBinding{"Command95", &onCommand95},   ClickBinding{"Command96", &onCommand96},
    ClickBinding{"cmdgoback", &onGoBack},      ClickBinding{"Command97", &onCommand97},
    ClickBinding{"Command98", &onCommand98},   ClickBinding{"Command99", &onCommand99},
    ClickBinding{"Command100", &onCommand100}, ClickBinding{"Command101", &onCommand101},
    ClickBinding{"Command102", &onCommand102}, ClickBinding{"Command103", &onCommand103},
    ClickBinding{"Command104", &onCommand104}, ClickBinding{"Command105", &onCommand105},
    ClickBinding{"Command106", &onCommand106}, ClickBinding{"Command107", &onCommand107},
    ClickBinding{"Command108", &onCommand108}, ClickBinding{"Command109", &onCommand109},
    ClickBinding{"Command110", &onCommand110}, ClickBinding{"Command111", &onCommand111},
    ClickBinding{"Command112", &onCommand112}, ClickBinding{"Command113", &onCommand113},
};

}  // namespace

const ScreenPart treasure{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
