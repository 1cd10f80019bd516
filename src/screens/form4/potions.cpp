// The potions of both fighters, the Reviving Potion that brings the fallen
// back, and the secret FURY attack. None of them gets an answer from Nilrem
// or draws a new roll.
#include <array>

#include "core/game.h"
#include "screens/form4/battle.h"
#include "screens/form4/form4.h"

namespace vendral::form4 {

namespace {

// One potion button: whom it serves, which stock it draws on, what it fills.
// The hero and Flamel share the three stocks.
struct Potion {
    Actor fighter;
    Num GameState::*count;
    bool life;   // fills life (hero 1000, Flamel 500)
    bool magic;  // fills magic (hero 2000, Flamel 1000) and gives the actions back
    std::string_view message;
};

constexpr Potion heroLife{Actor::Hero, &GameState::lifepotions, true, false, "Life refilled."};
constexpr Potion heroMagic{Actor::Hero, &GameState::magicpotions, false, true, "Magic refilled"};
constexpr Potion heroRefill{Actor::Hero, &GameState::refillpotions, true, true, "Life and Magic refilled."};
constexpr Potion flamelLife{Actor::Flamel, &GameState::lifepotions, true, false, "Life refilled."};
constexpr Potion flamelMagic{Actor::Flamel, &GameState::magicpotions, false, true, "Magic refilled"};
constexpr Potion flamelRefill{Actor::Flamel, &GameState::refillpotions, true, true,
                              "Flamel's Life and Magic refilled."};

void fill(Game& g, const Potion& p) {
    GameState& s = g.state;
    const bool hero = p.fighter == Actor::Hero;
    if (p.life) {
        (hero ? s.life : s.flamellife) = hero ? 1000 : 500;
        hero ? writeHeroLife(g) : writeFlamelLife(g);
    }
    if (p.magic) {
        (hero ? s.magic : s.flamelmagic) = hero ? 2000 : 1000;
        hero ? writeHeroMagic(g) : writeFlamelMagic(g);
    }
}

// A potion sets the value to the full amount, never adds. A click with the
// stock empty only disables the button; the other fighter's button of the
// same kind stays enabled until it is clicked in turn.
void drink(Game& g, const Potion& p, std::string_view button) {
    Num& count = g.state.*p.count;
    if (count > 0) {
        // A life potion writes its label before its message; the others
        // speak first.
        if (p.magic) {
            g.message(std::string(p.message));
            fill(g, p);
        } else {
            fill(g, p);
            g.message(std::string(p.message));
        }
        count -= 1;
        if (p.magic) p.fighter == Actor::Hero ? giveBackWizardActions(g) : giveBackFlamelActions(g);
    }
    if (count <= 0) board(g)[button].disable();
}

void onHeroLife(Game& g) { drink(g, heroLife, "UL"); }
void onHeroMagic(Game& g) { drink(g, heroMagic, "UM"); }
void onHeroRefill(Game& g) { drink(g, heroRefill, "UR"); }
void onFlamelLife(Game& g) { drink(g, flamelLife, "UFLP"); }
void onFlamelMagic(Game& g) { drink(g, flamelMagic, "UFLM"); }
void onFlamelRefill(Game& g) { drink(g, flamelRefill, "UFLR"); }

// One Reviving Potion raises every fallen fighter with 1 life; it gives
// back no magic and does not end a stun.
void onRevive(Game& g) {
    Screen& f = board(g);
    GameState& s = g.state;
    if (s.revives == 0) {
        f["cmdrevive"].disable();
        g.message("You are out of Reviving potions!");
    }
    if (isWizard(g) && s.life <= 0 && s.revives > 0) {
        giveBackWizardActions(g);
        s.life = 1;
        writeHeroLife(g);
        g.message("Revived!");
        // Enabled whatever the stocks hold.
        f.enable({"UM", "UL", "UR"});
    } else if (isKnight(g) && s.life <= 0 && s.revives > 0) {
        f["knightba"].show();
        f["knightss"].enable();
        f["knightsw"].show();
        s.life = 1;
        writeHeroLife(g);
        g.message("Revived!");
        f["UL"].enable();
    }
    if (s.flamellife <= 0 && s.revives > 0) {
        f["flamelf"].show();
        f.enable({"flamelfb", "flamellnt", "flamelhit", "UFLP", "UFLM", "UFLR"});
        s.flamellife = 1;
        writeFlamelLife(g);
        g.message("Revived!");
    }
    // A potion is used even when nobody was down.
    if (s.revives > 0) {
        f["cmdrevive"].disable();
        s.revives -= 1;
    }
}

// The secret attack: ends the battle at once while either fighter stands,
// whatever the roll, the magic, a stun or hard mode.
void onFury(Game& g) {
    GameState& s = g.state;
    g.message("Congratulations! You have found the secret attack!");
    if (s.life <= 0 && s.flamellife <= 0) return;
    const char* mist =
        "Before Nilrem can do anything, the Sphere hits Nilrem, and he falls down and disappears in a mist, as is "
        "common with the death of a Supreme Dark Wizard.";
    if (isWizard(g)) {
        g.message("You and Flamel channel your magic into a Sphere of Magic.");
        g.message(mist);
        s.enemylife = 0;
        board(g)["lblelife"].setCaption("Nilrem's life:0");
        g.message("You and Flamel have defeated Nilrem, the Supreme Dark Wizard!");
        g.message("Both of you are magically transported to the Wizard's Council.");
        handOver(g);
    } else if (isKnight(g)) {
        g.message("Your sword is instantly covered with magical fire.");
        g.message(
            "You thrust your sword forward, and the fire combines with Flamel's Fireball to create a Sphere called "
            "the Flaming Inferno.");
        g.message(mist);
        s.enemylife = 0;
        board(g)["lblelife"].setCaption("Nilrem's life:0");
        g.message("You and Flamel travel to the Union of Knights where you will bring them news of Nilrem.");
        handOver(g);
    }
}

constexpr std::array clicks{
    ClickBinding{"UL", &onHeroLife},        ClickBinding{"UM", &onHeroMagic},
    ClickBinding{"UR", &onHeroRefill},      ClickBinding{"UFLP", &onFlamelLife},
    ClickBinding{"UFLM", &onFlamelMagic},   ClickBinding{"UFLR", &onFlamelRefill},
    ClickBinding{"cmdrevive", &onRevive},   ClickBinding{"cmdfury", &onFury},
};

}  // namespace

const ScreenPart potions{.clicks = clicks};

}  // namespace vendral::form4
