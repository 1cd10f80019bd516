// The first screen: the title and the choice of hero, then the whole first
// journey. Each chapter of the road brings its own controls and handlers;
// the screen is the sum of them, in this order.
#pragma once

#include "core/screen.h"

namespace vendral::form1 {

extern const ScreenPart title;      // title state, hero choice, start, clock, defeat button
extern const ScreenPart jump;       // the jump-ahead codes and the last "Continue"
extern const ScreenPart cheat;      // the life cheat on the class label
extern const ScreenPart store;      // the first store and the Items panel
extern const ScreenPart dragon;     // the dragon and the bandits
extern const ScreenPart apprentice; // the apprentice and the two dragons
extern const ScreenPart evilWizard; // the evil wizard and the knights
extern const ScreenPart stormer;    // the Black Knight, Earthman and Stormer the Dragon
extern const ScreenPart upgrade;    // the upgrade offer, the free potions and the serpent
extern const ScreenPart sickness;   // the sickness and the dark wizard of the treasure room
extern const ScreenPart treasure;   // the Treasure, the way back, Flamel, the first servants
extern const ScreenPart nilrem;     // Nilrem's dragon, wizard and knight

}  // namespace vendral::form1
