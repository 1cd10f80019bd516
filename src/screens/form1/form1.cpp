#include "screens/form1/form1.h"

#include <array>

#include "screens/screens.h"

namespace vendral::form1 {

void load(Game& g);  // title.cpp

namespace {
constexpr std::array<const ScreenPart*, 12> parts{&title,     &store,   &dragon,  &apprentice, &evilWizard, &stormer,
                                                  &upgrade,   &sickness, &treasure, &nilrem,   &jump,       &cheat};
}  // namespace

}  // namespace vendral::form1

namespace vendral::form1 {
const ScreenDef screen{
    .name = "Form1",
    .caption = "The Vendral for The Treasure of Karthune",
    .width = 7200,
    .height = 6570,
    .parts = parts,
    .load = &load,
    .hasBackground = true,
    .background = {192, 192, 192},
};
}  // namespace vendral::form1
