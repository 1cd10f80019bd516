// What the story steps of the second journey share from the cups to the
// Gates: the board, the hero's class as Label1 shows it, the money label,
// and the two ways an encounter ends (won, or the hero falls).
#pragma once

#include <initializer_list>
#include <string_view>

#include "core/game.h"

namespace vendral::form3::steps {

inline Screen& board(Game& g) { return g.screen("Form3"); }
// The class is read from Label1's caption, which the arrival wrote.
inline bool isWizard(Game& g) { return board(g)["Label1"].caption() == "Wizard"; }
inline bool isKnight(Game& g) { return board(g)["Label1"].caption() == "Knight"; }

// lblmoney := "Money:" & money.
void writeMoney(Game& g);

// A winning choice, after its messages: the encounter's choices go, the
// scene text is cleared and the next "Continue" shows.
void won(Game& g, std::initializer_list<std::string_view> choices, std::string_view next);

// A losing choice, after its death messages: the choices go, lbllife reads
// "Life:0" while life itself keeps its value, and only "Quit" is left.
// The scene text stays as it was unless the step clears it itself.
void fallen(Game& g, std::initializer_list<std::string_view> choices);

}  // namespace vendral::form3::steps
