// Rules that many story steps share: the status labels, the three ways a
// blow can be tested against the hero's life, and the two ways a spell's
// cost can be tested against his magic. Every journey screen names its
// labels alike (lbllife, lblmagic, lblelife), so the rules take the screen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/game.h"
#include "core/state.h"

namespace vendral {

class Game;
class Screen;

// A status label's caption: the prefix joined to the value, no space; an
// empty value leaves the bare prefix.
std::string withValue(std::string_view prefix, const Num& value);

// lbllife := "Life:" & life, lblmagic := "Magic:" & magic,
// lblelife := "Life left:" & enemylife on the screen given.
void writeLife(Game& g, Screen& s);
void writeMagic(Game& g, Screen& s);
void writeEnemyLife(Game& g, Screen& s);

// Each returns true when the blow kills the hero; the caller then plays the
// step's own death row.
// Zero-test hit: the blow lands, and only life of exactly 0 is a death (a
// blow that takes life below 0 is not).
bool zeroTestHit(Game& g, Screen& s, std::int64_t damage);
// Guarded hit: a hero with no more life than the blow dies and keeps his
// life; one with more takes the blow.
bool guardedHit(Game& g, Screen& s, std::int64_t damage);
// Test-then-hit: a hero with no more life than the blow dies — his death
// row plays first — and the blow lands either way, so the label ends on the
// lowered life even where the death row wrote "Life:0".
template <typename DeathRow>
bool testThenHit(Game& g, Screen& s, std::int64_t damage, DeathRow deathRow) {
    const bool dies = g.state.life <= damage;
    if (dies) deathRow();
    g.state.life -= damage;
    writeLife(g, s);
    return dies;
}

// Each returns true when the spells must lock for lack of magic.
// Zero-test spend: the cost is paid; magic of exactly 0 locks the spells.
bool zeroTestSpend(Game& g, Screen& s, std::int64_t cost);
// Guarded spend: magic no more than `limit` locks the spells and nothing is
// paid; otherwise the cost is paid.
bool guardedSpend(Game& g, Screen& s, std::int64_t limit, std::int64_t cost);

}  // namespace vendral
