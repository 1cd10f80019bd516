// The action step that every action of the hero and of Flamel runs: Nilrem
// answers with the answer numbered battleroll, the actor pays his magic, a
// new roll is drawn, the actor's side may fall, and Nilrem may be beaten.
#include "core/game.h"
#include "core/rules.h"
#include "screens/form4/battle.h"

namespace vendral::form4 {

namespace {

void say(Game& g, const Lines& lines) {
    for (std::string_view line : lines)
        if (!line.empty()) g.message(std::string(line));
}

void stunHero(Game& g, bool potionsToo) {
    g.state.stun = 300;
    takeHeroActions(g, potionsToo);
    board(g)["tmrstun"].start();
}

void apply(Game& g, const Outcome& o) {
    Screen& f = board(g);
    GameState& s = g.state;
    switch (o.kind) {
    case Effect::None:
        break;
    case Effect::NilremLoses:
        s.enemylife -= o.amount;
        f["lblelife"].setCaption(withValue(o.prefix.empty() ? "Nilrem's life:" : o.prefix, s.enemylife));
        break;
    case Effect::HeroLoses:
        s.life -= o.amount;
        writeHeroLife(g);
        break;
    case Effect::HeroDies:
        s.life = 0;
        writeHeroLife(g);
        takeHeroActions(g, true);
        break;
    case Effect::HeroLifeZero:
        s.life = 0;
        writeHeroLife(g);
        break;
    case Effect::HeroStunned:
        stunHero(g, true);
        break;
    case Effect::HeroStunnedKeepsPotions:
        stunHero(g, false);
        break;
    case Effect::FlamelLoses:
        s.flamellife -= o.amount;
        f["lblflife"].setCaption(withValue(o.prefix.empty() ? "Flamel's Life:" : o.prefix, s.flamellife));
        break;
    case Effect::FlamelDies:
        s.flamellife = 0;
        writeFlamelLife(g);
        takeFlamelControls(g);
        break;
    }
}

// A wizard without the magic for his spell throws the rest away and loses
// his four actions until a potion or the end of a stun.
void wizardWastes(Game& g) {
    g.state.magic = 0;
    writeHeroMagic(g);
    Screen& f = board(g);
    f["wizardlnt"].hide();
    f.disable({"wizardchange", "wizardso", "wizardif"});
}

void pay(Game& g, const Action& a) {
    GameState& s = g.state;
    switch (a.payment) {
    case Payment::None:
        break;
    case Payment::Spell:
        if (s.magic >= a.cost) {
            s.magic -= a.cost;
            writeHeroMagic(g);
        } else {
            g.message("You waste the rest of your magic trying to do a spell.");
            wizardWastes(g);
        }
        break;
    case Payment::Lightning:
        // The lightning tests the other way round and speaks last.
        if (s.magic < a.cost) {
            Screen& f = board(g);
            f["wizardlnt"].hide();
            f.disable({"wizardchange", "wizardso", "wizardif"});
            s.magic = 0;
            writeHeroMagic(g);
            g.message(
                "You try to do the spell, but realize you don't have enough magic to do it, and waste your "
                "remaining magic.");
        }
        if (s.magic >= a.cost) {
            s.magic -= a.cost;
            writeHeroMagic(g);
        }
        break;
    case Payment::Flamel:
        if (s.flamelmagic >= a.cost) {
            s.flamelmagic -= a.cost;
            writeFlamelMagic(g);
        } else {
            g.message("Flamel wastes the rest of his magic attempting a spell.");
            s.flamelmagic = 0;
            writeFlamelMagic(g);
            Screen& f = board(g);
            f["flamelf"].hide();
            // His staff stays: Flamel can always fight while he lives.
            f.disable({"flamelfb", "flamellnt"});
        }
        break;
    }
}

}  // namespace

void runAction(Game& g, const Action& a) {
    const bool hero = a.actor == Actor::Hero;
    const GameState& s = g.state;
    const Num& life = hero ? s.life : s.flamellife;
    const Num& magic = hero ? s.magic : s.flamelmagic;
    const std::int64_t roll = s.battleroll;
    if (life > 0 && (a.cost == 0 || magic >= a.cost) && roll >= 0 && roll <= 9) {
        const Answer& answer = a.answers[static_cast<std::size_t>(roll)];
        if (a.openings) say(g, (*a.openings)[static_cast<std::size_t>(roll)]);
        say(g, answer.outcome);
        apply(g, answer.effect);
    }
    // The hero pays before the new roll is drawn, Flamel after it: his
    // waste message comes with the next answer already in the caption.
    if (hero) {
        pay(g, a);
        drawRoll(g);
        heroFalls(g);
    } else {
        drawRoll(g);
        pay(g, a);
        flamelFalls(g);
    }
    victoryCheck(g);
}

}  // namespace vendral::form4
