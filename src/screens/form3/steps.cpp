#include "screens/form3/steps.h"

#include "core/rules.h"

namespace vendral::form3::steps {

void writeMoney(Game& g) { board(g)["lblmoney"].setCaption(withValue("Money:", g.state.money)); }

void won(Game& g, std::initializer_list<std::string_view> choices, std::string_view next) {
    Screen& f = board(g);
    f.hide(choices);
    f["lblchallenge"].setCaption("");
    f[next].show();
}

void fallen(Game& g, std::initializer_list<std::string_view> choices) {
    Screen& f = board(g);
    f.hide(choices);
    // Only the label dies: life keeps its value, so a later cheat drop
    // writes the real number again.
    f["lbllife"].setCaption("Life:0");
    f["cmdlose"].show();
}

}  // namespace vendral::form3::steps
