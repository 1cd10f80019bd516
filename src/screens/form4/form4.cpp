#include "screens/form4/form4.h"

#include <array>

#include "screens/screens.h"

namespace vendral::form4 {

namespace {
constexpr std::array<const ScreenPart*, 5> parts{&battle, &hero, &flamel, &potions, &cheat};
}  // namespace

const ScreenDef screen{
    .name = "Form4",
    .caption = "Final Battle",
    .width = 7470,
    .height = 6660,
    .parts = parts,
    .load = &load,
};

}  // namespace vendral::form4
