// The Items panel of the first store, as the story steps after it use it.
#pragma once

#include "core/game.h"

namespace vendral::form1 {

// Hide the three use buttons of the Items panel (a death that takes the
// hero's potions from him).
void hideUseButtons(Game& g);

// A magic or refilling potion of the Items panel enables every spell button
// of the journey again; hidden ones stay hidden.
void unlockAllSpells(Game& g);

}  // namespace vendral::form1
