// What the chapters of the Final Battle share: the board and the hero's
// class as Label1 shows it, the roll of Nilrem's next answer, the falls of
// both fighters, the victory check with its hand-over to the ending, and
// the action step that every action of the hero and of Flamel runs.
#pragma once

#include <array>
#include <string_view>

#include "core/game.h"

namespace vendral::form4 {

inline Screen& board(Game& g) { return g.screen("Form4"); }
// On this screen the hero's class is only the caption of Label1.
inline bool isWizard(Game& g) { return board(g)["Label1"].caption() == "Wizard"; }
inline bool isKnight(Game& g) { return board(g)["Label1"].caption() == "Knight"; }

// The status labels of the battle.
void writeHeroLife(Game& g);     // lblmlife := "Your Life:" & life
void writeHeroMagic(Game& g);    // lblmmagic := "Your Magic:" & magic
void writeFlamelLife(Game& g);   // lblflife := "Flamel's Life:" & flamellife
void writeFlamelMagic(Game& g);  // lblfmagic := "Flamel's Magic:" & flamelmagic
void writeNilremLife(Game& g);   // lblelife := "Nilrem's life:" & enemylife

// battleroll := the next digit; the window caption shows it after "Final Battle".
void drawRoll(Game& g);

// The hero's class loses its actions; with the potion buttons as well when
// he falls or is stunned by a blow that leaves him no potion.
void takeHeroActions(Game& g, bool potionsToo);
// Flamel's picture hidden, his actions and potion buttons disabled.
void takeFlamelControls(Game& g);
// A potion or the end of a stun gives the wizard his four actions back.
void giveBackWizardActions(Game& g);
void giveBackFlamelActions(Game& g);

// The falls at the end of an action step: a fighter at or below 0 life is
// set to 0 and loses his controls. No message.
void heroFalls(Game& g);
void flamelFalls(Game& g);

// Nilrem at or below 0 life after an action: the class's victory messages,
// then the hand-over to the ending.
void victoryCheck(Game& g);
// Leave the battle for the ending screen.
void handOver(Game& g);

// --- The action step ------------------------------------------------------

enum class Actor { Hero, Flamel };

// What Nilrem's answer does after its messages.
enum class Effect {
    None,
    NilremLoses,             // enemylife − amount, Nilrem's label rewritten
    HeroLoses,               // life − amount, lblmlife rewritten
    HeroDies,                // life 0, "Your Life:0", the class's actions and potion buttons taken
    HeroLifeZero,            // life 0 and "Your Life:0" only; the hero's fall takes the controls
    HeroStunned,             // stun 300, the class's actions and potion buttons taken, countdown starts
    HeroStunnedKeepsPotions, // the same, but the potion buttons stay
    FlamelLoses,             // flamellife − amount, lblflife rewritten
    FlamelDies,              // flamellife 0, "Flamel's Life:0", Flamel's controls taken
};

struct Outcome {
    Effect kind = Effect::None;
    int amount = 0;
    // A label prefix of the answer's own, where it writes one ("Nilrem's Life:").
    std::string_view prefix = {};
};

constexpr Outcome nothing{};
constexpr Outcome nilremLoses(int n, std::string_view prefix = {}) { return {Effect::NilremLoses, n, prefix}; }
constexpr Outcome heroLoses(int n) { return {Effect::HeroLoses, n, {}}; }
constexpr Outcome heroDies{Effect::HeroDies};
constexpr Outcome heroLifeZero{Effect::HeroLifeZero};
constexpr Outcome heroStunned{Effect::HeroStunned};
constexpr Outcome heroStunnedKeepsPotions{Effect::HeroStunnedKeepsPotions};
constexpr Outcome flamelLoses(int n, std::string_view prefix = {}) { return {Effect::FlamelLoses, n, prefix}; }
constexpr Outcome flamelDies{Effect::FlamelDies};

// Up to four message boxes, in order; the unused places are empty.
using Lines = std::array<std::string_view, 4>;
// Nilrem's opening messages, by battleroll.
using Openings = std::array<Lines, 10>;

struct Answer {
    Lines outcome;  // the action's outcome messages, after Nilrem's opening
    Outcome effect;
};

// How an action pays for its magic.
enum class Payment {
    None,       // the knight's actions and Flamel's staff
    Spell,      // the wizard pays, or wastes his magic with a message first
    Lightning,  // the wizard's lightning: takes the actions away first, its own message last
    Flamel,     // Flamel pays, or wastes his magic
};

struct Action {
    std::string_view control;
    Actor actor = Actor::Hero;
    int cost = 0;
    Payment payment = Payment::None;
    const Openings* openings = nullptr;
    std::array<Answer, 10> answers{};
};

// One click on an action: Nilrem's answer numbered battleroll (if the actor
// can act), the payment, the roll, the actor's fall, the victory check.
void runAction(Game& g, const Action& a);

// The tables, for whoever needs to read them whole.
extern const std::array<const Action*, 7> heroActions;
extern const std::array<const Action*, 4> flamelActions;

}  // namespace vendral::form4
