#include "screens/form1/story.h"

#include <algorithm>

#include "core/rules.h"

namespace vendral::form1 {

const std::array<std::string_view, 31> spellButtons{
    "Command15", "Command16", "Command17", "Command18", "Command22", "Command23", "Command24", "Command28",
    "Command31", "Command32", "Command33", "Command35", "Command38", "Command39", "Command40", "Command42",
    "Command45", "Command46", "Command47", "Command49", "Command52", "Command53", "Command54", "Command56",
    "Command60", "Command61", "Command62", "Command82", "Command86", "Command87", "Command88"};

const std::array<std::string_view, 4> newPotionSpells{"Command82", "Command86", "Command87", "Command88"};

void writeMoney(Game& g) { board(g)["Label3"].setCaption(withValue("Money:", g.state.money)); }

void lockSpells(Game& g, std::initializer_list<std::string_view> buttons) {
    for (auto b : buttons) board(g)[b].disable();
}

namespace {

bool usable(Screen& f, std::string_view button) {
    const Control* c = f.find(button);
    return c && c->visible() && c->enabled();
}

template <typename List>
bool unlocksAny(const List& unlocks, std::initializer_list<std::string_view> locked) {
    return std::any_of(locked.begin(), locked.end(), [&](std::string_view b) {
        return std::find(unlocks.begin(), unlocks.end(), b) != unlocks.end();
    });
}

}  // namespace

void quitIfStranded(Game& g, std::initializer_list<std::string_view> lockedButtons) {
    Screen& f = board(g);
    // The Items panel's magic and refilling potions unlock every spell; the
    // new magic and refilling potions only the last four.
    const bool oldPotion = usable(f, "cmdusempotion") || usable(f, "cmduserefill");
    const bool newPotion = usable(f, "Command71") || usable(f, "Command72");
    if (oldPotion && unlocksAny(spellButtons, lockedButtons)) return;
    if (newPotion && unlocksAny(newPotionSpells, lockedButtons)) return;
    f["cmdlose"].show();
}

}  // namespace vendral::form1
