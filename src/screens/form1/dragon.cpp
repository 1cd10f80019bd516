#include <array>

#include "screens/form1/form1.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    button("Command1", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command2", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command3", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command4", "Change thing into stone", 120, 3480, 2055, 495).hidden(),
    button("Command5", "Turn invisible and run", 960, 2880, 1815, 495).hidden(),
    button("Command6", "Continue", 480, 4680, 975, 495).hidden(),
    button("Command7", "Spells", 0, 2880, 855, 495).hidden(),
    button("Command8", "Turn invisible and run", 960, 2880, 1815, 495).hidden(),
    button("Command9", "Change bandits into stone", 120, 3480, 2175, 495).hidden(),
    button("Command10", "Fight with sword", 3360, 2880, 1575, 495).hidden(),
    button("Command11", "Fight with arrows", 5040, 2880, 1575, 495).hidden(),
    button("Command12", "Blast bandits with lightning", 0, 4080, 2175, 495).hidden(),
    button("Command13", "Continue", 480, 4680, 975, 495).hidden(),
};

}  // namespace

const ScreenPart dragon{.controls = controls};

}  // namespace vendral::form1
