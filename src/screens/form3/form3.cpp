#include "screens/form3/form3.h"

#include <array>

#include "screens/screens.h"

namespace vendral::form3 {

namespace {
constexpr std::array<const ScreenPart*, 7> parts{&arrival, &cups, &village, &inn, &lake, &island, &cheat};
}  // namespace

const ScreenDef screen{
    .name = "Form3",
    .caption = "The Vendral for the Treasure of Karthune",
    .width = 7185,
    .height = 6225,
    .parts = parts,
    .load = &load,
};

}  // namespace vendral::form3
