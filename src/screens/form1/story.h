// What the story steps of the first journey share: the board, the hero's
// class as Label1 shows it, the money label, and the locking of spells when
// magic runs out.
#pragma once

#include <array>
#include <initializer_list>
#include <string_view>

#include "core/game.h"

namespace vendral::form1 {

inline Screen& board(Game& g) { return g.screen("Form1"); }
// On this screen the hero's class is only the caption of Label1.
inline bool isWizard(Game& g) { return board(g)["Label1"].caption() == "Wizard"; }
inline bool isKnight(Game& g) { return board(g)["Label1"].caption() == "Knight"; }

// Label3 := "Money:" & money.
void writeMoney(Game& g);

// The wizard's spell buttons that a magic or refilling potion of the Items
// panel enables again, and the ones the new potions enable.
extern const std::array<std::string_view, 31> spellButtons;
extern const std::array<std::string_view, 4> newPotionSpells;

// Disable (never hide) the spells of an encounter that ran out of magic.
void lockSpells(Game& g, std::initializer_list<std::string_view> buttons);

// A wizard whose locked spells no potion in his hands can unlock has no way
// on: the defeat button is shown too, so he can leave through it.
// Call it after the lock's own message.
void quitIfStranded(Game& g, std::initializer_list<std::string_view> lockedButtons);

}  // namespace vendral::form1
