// The second journey screen: from the arrival at Nilrem's castle back to the
// village and on to the Gates of Nilrem. Each chapter brings its own
// controls and handlers; the screen is the sum of them, in this order.
#pragma once

#include "core/screen.h"

namespace vendral::form3 {

extern const ScreenPart arrival;  // shared labels, defeat button, arrival (load step)
extern const ScreenPart cups;     // the seven cups
extern const ScreenPart village;  // Nilrem's hallucination and the return to the village
extern const ScreenPart inn;      // the inn
extern const ScreenPart lake;     // the Nakkers, the Haft and the sea serpent
extern const ScreenPart island;   // Nilrem's Island, the spiders, the castle guards and the Gates
extern const ScreenPart cheat;    // the life cheat on the class label

void load(Game& g);  // the arrival at the castle

}  // namespace vendral::form3
