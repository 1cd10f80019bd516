// The inn five miles from Lake Osgalath: passing it by or taking the free
// room is death; the regular room leads straight on, the Nafar room opens
// the last potion shop of the journey.
#include <array>

#include "screens/form3/form3.h"
#include "screens/form3/steps.h"

namespace vendral::form3 {

namespace {

using steps::board;
using steps::fallen;
using steps::isKnight;
using steps::isWizard;
using steps::writeMoney;

constexpr std::array controls{
    button("Command11", "Yes", 480, 1440, 615, 495).hidden(),
    button("Command12", "No", 1320, 1440, 615, 495).hidden(),
    button("Command13", "Regular", 240, 1440, 855, 495).hidden(),
    button("Command14", "Nafar", 1200, 1440, 735, 495).hidden(),
    button("Command15", "Cheapest", 2040, 1440, 975, 495).hidden(),
    button("Command16", "Continue", 360, 4800, 975, 495).hidden(),
    button("Command17", "Buy a life potion", 120, 2040, 1455, 495).hidden(),
    button("Command18", "Buy a magic potion", 1680, 2040, 1695, 495).hidden(),
    button("Command19", "Buy a refilling potion", 960, 2640, 1695, 495).hidden(),
    button("Command20", "Go rest", 240, 4800, 855, 495).hidden(),
};

void onGoIn(Game& g) {
    g.message("You go in and the innkeeper asks you for what kind of room you want.");
    g.message("Do you want a regular room, a Nafar(Nafar means luxury) room, or our cheapest room?");
    Screen& f = board(g);
    f.show({"Command13", "Command14", "Command15"});
    f.hide({"Command12", "Command11"});
    f["lblchallenge"].setCaption("");
}

void onPassBy(Game& g) {
    g.message("You go on, and all of a sudden you are surrounded by Nakkers. You are killed by them.");
    fallen(g, {"Command12", "Command11"});
}

// Neither paid room asks whether the hero can pay: the price is simply
// taken from the purse.
void onRegularRoom(Game& g) {
    Screen& f = board(g);
    f.hide({"Command13", "Command14", "Command15"});
    g.message("The innkeeper takes you to the regular room.");
    g.message("You pay the innkeeper 5000 coins.");
    g.state.money -= 5000;
    writeMoney(g);
    g.message(
        "You wake refreshed and the innkeeper tells you that a gang of Nakkers are around these parts so you should "
        "be careful.");
    g.message("You remember that Nakkers are evil folk and are employed by all dark Wizards.");
    g.message("You thank him for the information and leave.");
    f["Command16"].show();
}

void onNafarRoom(Game& g) {
    g.message("A good choice Sir!");
    g.message("You pay the innkeeper 20000 coins.");
    g.state.money -= 20000;
    writeMoney(g);
    g.message("Servants come in and help you.");
    g.message("The inn has heard of your journey and will help you.");
    g.message("You can buy potions here for a cheaper price then anywhere else.");
    g.message("Also, there is no other place beyond here that has potions.");
    Screen& f = board(g);
    f.hide({"Command13", "Command14", "Command15"});
    // The knight is sold life potions only.
    if (isWizard(g))
        f.show({"Command17", "Command18", "Command19"});
    else if (isKnight(g))
        f["Command17"].show();
    f["Command20"].show();
}

void onCheapestRoom(Game& g) {
    g.message("The innkeeper shows you their cheapest room.");
    g.message("It costs nothing and the walls are very thin.");
    g.message("In the night, a sword slices through the wall and a Nakker kills you before you wake.");
    fallen(g, {"Command13", "Command14", "Command15"});
}

// A refused purchase greys out what the purse cannot pay for, for the rest
// of the visit: all three when not even a life potion is affordable.
// One purchase at the luxury room's shop: an unaffordable potion refuses
// with its message and greys the buttons it names; a bought one is counted
// and paid for.
void buyPotion(Game& g, std::int64_t price, const char* refusal, std::initializer_list<std::string_view> greyed,
               const char* bought, Num& count) {
    if (g.state.money <= price - 1) {
        g.message(refusal);
        board(g).disable(greyed);
        return;
    }
    g.message(bought);
    count += 1;
    g.state.money -= price;
    writeMoney(g);
}

void onBuyLifePotion(Game& g) {
    buyPotion(g, 100, "You can't buy any more potions.", {"Command17", "Command18", "Command19"},
              "Bought 1 life potion.", g.state.lifepotions);
}

void onBuyMagicPotion(Game& g) {
    buyPotion(g, 200, "Not enough money.", {"Command18", "Command19"}, "Bought 1 magic potion.", g.state.magicpotions);
}

void onBuyRefillingPotion(Game& g) {
    buyPotion(g, 200, "Not enough money.", {"Command18", "Command19"}, "Bought one refilling potion.",
              g.state.refillpotions);
}

void onGoRest(Game& g) {
    g.message("You wake refreshed and prepare to leave.");
    g.message("The innkeeper tells you that there are a gang of Nakkers around these parts.");
    g.message("You remember that Nakkers are an evil folk and are employed by all dark Wizards.");
    g.message("You thank the innkeeper for the information and you leave.");
    Screen& f = board(g);
    f["Command20"].hide();
    f["Command16"].show();
    f.hide({"Command17", "Command18", "Command19"});
}

void onLeaveTheInn(Game& g) {
    Screen& f = board(g);
    f["lblchallenge"].setCaption(
        "You walk along the path and all of a sudden, you hear leaves hitting the ground. You think that the leaves "
        "are falling until you remember what the innkeeper said about Nakkers. Your teacher a long time ago said "
        "Nakkers walk like leaves hitting the ground. You prepare for a battle.");
    f["Command16"].hide();
    f["Command27"].show();
}

constexpr std::array clicks{
    ClickBinding{"Command11", &onGoIn},
    ClickBinding{"Command12", &onPassBy},
    ClickBinding{"Command13", &onRegularRoom},
    ClickBinding{"Command14", &onNafarRoom},
    ClickBinding{"Command15", &onCheapestRoom},
    ClickBinding{"Command16", &onLeaveTheInn},
    ClickBinding{"Command17", &onBuyLifePotion},
    ClickBinding{"Command18", &onBuyMagicPotion},
    ClickBinding{"Command19", &onBuyRefillingPotion},
    ClickBinding{"Command20", &onGoRest},
};

}  // namespace

const ScreenPart inn{.controls = controls, .clicks = clicks};

}  // namespace vendral::form3
