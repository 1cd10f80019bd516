// The Final Battle: the hero and Flamel against Nilrem. Each chapter brings
// its own controls and handlers; the screen is the sum of them, in this order.
#pragma once

#include "core/screen.h"

namespace vendral::form4 {

extern const ScreenPart battle;   // the screen, its start values, the roll, the timers, falls, victory, Quit
extern const ScreenPart hero;     // the hero's actions
extern const ScreenPart flamel;   // Flamel's actions
extern const ScreenPart potions;  // the potions of both fighters, the Reviving Potion and FURY
extern const ScreenPart cheat;    // the life cheat, and the hidden spot that shows FURY

void load(Game& g);  // set-up of the battle

}  // namespace vendral::form4
