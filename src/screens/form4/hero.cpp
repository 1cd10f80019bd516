// The hero's actions against Nilrem: the knight's arrows, special swing and
// sword, the wizard's lightning, invisibility, ball of energy and flying
// objects. Each is one table of Nilrem's ten answers, run by the action step.
#include <array>

#include "core/game.h"
#include "screens/form4/battle.h"
#include "screens/form4/form4.h"

namespace vendral::form4 {

namespace {

// Nilrem opens every answer to the hero alike.
constexpr Openings openings{
    Lines{"Nilrem raises his hands...", "And, dirt flies up in the air, meets in front of Nilrem's hands...",
          "Turns into a huge ball, and flies towards you!"},
    Lines{"Nilrem raises his hands and a huge wind blows against you."},
    Lines{"Nilrem raises his hands, and a huge fireball comes right at you."},
    Lines{"Nilrem raises his hands and water flies from his hands toward you."},
    Lines{"Nilrem fires lightning at you."},
    Lines{"Nilrem strikes at you with his staff."},
    Lines{"Nilrem casts a stunning spell."},
    Lines{"Nilrem casts a Death Spell."},
    Lines{"Nilrem forms a shield around him."},
    Lines{"Nilrem uses the all powerful and mighty Shadow Spell."},
};

// The knight's arrows.
constexpr Action knightArrows{
    .control = "knightba",
    .actor = Actor::Hero,
    .cost = 0,
    .payment = Payment::None,
    .openings = &openings,
    .answers = {{
        {{"You shoot an arrow, but it passes through the dirt, and the ball smashes into you."}, heroLoses(400)},
        {{"You shoot an arrow, and its speed manages to overcome the wind and strike Nilrem."}, nilremLoses(300)},
        {{"You shoot an arrow, but it burns up.", "The fireball comes and engulfs you, hurting you severely."},
         heroLoses(999)},
        {{"You sidestep it and hit Nilrem with an arrow."}, nilremLoses(250)},
        {{"The arrow goes around but misses Nilrem.", "The lightning strikes you."}, heroLoses(750)},
        {{"You back away and hit him with an arrow."}, nilremLoses(250)},
        {{"Your arrow does nothing to stop it, and you are stunned."}, heroStunned},
        {{"Your arrow strikes the spell, but nothing happens."}, heroDies},
        {{"Your arrow merely hits it and makes the shield go away."}, nothing},
        {{"Knowing only the Supreme Dark Wizards use the Shadow Spell, you try to dodge it.",
          "It turns out to be a vain attempt.", "You die."},
         heroDies},
    }},
};

// The knight's special swing.
constexpr Action knightSwing{
    .control = "knightss",
    .actor = Actor::Hero,
    .cost = 0,
    .payment = Payment::None,
    .openings = &openings,
    .answers = {{
        {{"You swing your sword, blowing the ball away, and smashing into Nilrem."}, nilremLoses(200)},
        {{"The energy from the sword travels back and smashes into you."}, heroLoses(200)},
        {{"You raise swing your sword, but the fireball still hits you."}, heroLoses(999)},
        {{"Your sword repels the water and it smashes into Nilrem."}, nilremLoses(300)},
        {{"The energy from your sword fails to stop it."}, heroLoses(750)},
        {{"You back away swing your sword."}, nilremLoses(500)},
        {{"Your swing does nothing to stop it, and you are stunned."}, heroStunned},
        {{"The energy in your sword absorbs it and fires it back at Nilrem.", "The energy grazes Nilrem."},
         nilremLoses(100)},
        {{"You swing your sword, smashing into the shield and into Nilrem."}, nilremLoses(300)},
        {{"Knowing only the Supreme Dark Wizards use the Shadow Spell, you swing your sword, hoping it will absorb it.",
          "The sword absorbs it, and fires back at Nilrem.", "It grazes him."},
         nilremLoses(200)},
    }},
};

// The knight's sword.
constexpr Action knightSword{
    .control = "knightsw",
    .actor = Actor::Hero,
    .cost = 0,
    .payment = Payment::None,
    .openings = &openings,
    .answers = {{
        {{"You raise your sword, and it blocks it from hitting you."}, nothing},
        {{"You stand your ground and wait for the wind to go away."}, nothing},
        {{"You raise your sword, and it reflects the fireball back at Nilrem."}, nilremLoses(700)},
        {{"You try to sidestep it, but the water smashes you into the wall."}, heroLoses(300)},
        {{"The lightning travels around the sword and strikes you."}, heroLoses(750)},
        {{"You back away and use all your strength to slash him with your sword."}, nilremLoses(300)},
        {{"Your sword does nothing to stop it, and you are stunned."}, heroStunned},
        {{"Your sword absorbs it, and fires it back.", "Unfortunately, Nilrem sidesteps it."}, nothing},
        {{"You slash at the shield, making it wear off and you hurt Nilrem a little."}, nilremLoses(100)},
        {{"Knowing only the Supreme Dark Wizards use the Shadow Spell, you try to dodge it.",
          "It turns out to be a vain attempt.", "You die."},
         heroDies},
    }},
};

// The wizard's lightning.
constexpr Action wizardLightning{
    .control = "wizardlnt",
    .actor = Actor::Hero,
    .cost = 100,
    .payment = Payment::Lightning,
    .openings = &openings,
    .answers = {{
        {{"You shoot lightning, it hits the ball of dirt, and blows it up.",
          "Unfortunately, your lightning also disappears and nothing happens."},
         nothing},
        {{"The wind is so powerful that once the lightning leaves your hands, it comes back and hits you."},
         heroLoses(300)},
        {{"You fire lightning and it adds to the power of the fireball.",
          "The fireball comes and engulfs you, hurting you severely."},
         heroLoses(999)},
        {{"You barely fire lightning in time to keep it from hitting you and have it travel back and hit Nilrem, "
          "electrocuting him."},
         nilremLoses(1000)},
        {{"Your lightning hits it, and since he is more powerful, his lightning hits you."}, heroLoses(500)},
        {{"You back away and hit him with lightning."}, nilremLoses(200)},
        {{"Your lightning is of no use, and you are stunned."}, heroStunnedKeepsPotions},
        {{"Your lightning deflects it."}, nothing},
        {{"Your lightning merely hits it and makes the shield go away."}, nothing},
        {{"Knowing only the Supreme Dark Wizards use the Shadow Spell, you try to dodge it.",
          "It turns out to be a vain attempt.", "You die."},
         heroDies},
    }},
};

// The wizard turns invisible and fights.
constexpr Action wizardInvisible{
    .control = "wizardif",
    .actor = Actor::Hero,
    .cost = 20,
    .payment = Payment::Spell,
    .openings = &openings,
    .answers = {{
        {{"You shoot the first object you find, it hits the ball of dirt, and blows it up.",
          "Unfortunately, your object misses, and you are hit."},
         heroLoses(100)},
        {{"You respond with your own wind, but his is more powerful and you smash into the wall."}, heroLoses(300)},
        {{"You happen to be lucky, and Nilrem has aimed in the wrong direction."}, nothing},
        {{"The water hits you revealing you and also smashing you into the wall."}, heroLoses(300)},
        {{"You failed to respond, and you are electrocuted to death."}, heroLifeZero},
        {{"You try to hit him with your fist, but he blocks it and brings the staff down upon your head."},
         heroStunned},
        {{"Nilrem misses."}, nothing},
        {{"You manage to jump and use a counterspell.", "The Death spell reflects but Nilrem uses a counterspell.",
          "But, Nilrem is not quick enough and gets hurt."},
         nilremLoses(1000)},
        {{"You merely stand and wait for it to wear off."}, nothing},
        {{"Knowing only the Supreme Dark Wizards use the Shadow Spell, you try to dodge it.",
          "It turns out to be a vain attempt.", "You die."},
         heroDies},
    }},
};

// The wizard's ball of energy.
constexpr Action wizardEnergyBall{
    .control = "wizardchange",
    .actor = Actor::Hero,
    .cost = 200,
    .payment = Payment::Spell,
    .openings = &openings,
    .answers = {{
        {{"You shoot the energy you had stored, and it hits the ball of dirt, and blows it up.",
          "Unfortunately, the energy disappears and Nilrem is not hurt."},
         nothing},
        {{"You shoot the energy, but the wind blows it back and it hits you."}, heroLoses(300)},
        {{"You shoot the energy, and it hits the fireball. Amazingly, they cancel each other out."}, nothing},
        {{"You shoot the energy, and it drives the water back and electrocutes Nilrem."}, nilremLoses(1200)},
        {{"You shoot the energy, it absorbs the lightning and travels towards Nilrem.",
          "Nilrem jumps to the side, and the ball reflects off the wall and comes back towards you.",
          "You manage to jump aside, and it reflects off the wall and smashes into Flamel.", "Flamel dies."},
         flamelDies},
        {{"You shoot, but you miss since it was close range and he stabs at you."}, heroLoses(100)},
        {{"Nilrem misses.", "You shoot, but also miss."}, nothing},
        {{"You shoot the energy, and it deflects the spell.",
          "But, you failed to see that Nilrem cast it twice, and you die."},
         heroDies},
        {{"You shoot, and the energy disintegrates the shield, and there was still enough to hit Nilrem and harm him."},
         nilremLoses(300)},
        {{"Knowing only the Supreme Dark Wizards use the Shadow Spell, you try to dodge it.",
          "It turns out to be a vain attempt.", "You die."},
         heroDies},
    }},
};

// The wizard shoots objects.
constexpr Action wizardObjects{
    .control = "wizardso",
    .actor = Actor::Hero,
    .cost = 40,
    .payment = Payment::Spell,
    .openings = &openings,
    .answers = {{
        {{"You shoot the first object you find, it hits the ball of dirt, and blows it up.",
          "Unfortunately, your object also disappears and nothing happens."},
         nothing},
        {{"The wind is so powerful that the object you shot whirls around, but you duck and it misses."}, nothing},
        {{"You shoot an object, and the firball burns it up and comes toward you.",
          "The fireball comes and engulfs you, hurting you ."},
         heroLoses(300)},
        {{"You barely shoot an object in time to keep it from hitting you and have it travel back, but Nilrem dodges "
          "it."},
         nothing},
        {{"Your object stops it from hitting you."}, nothing},
        {{"You back away and hit him with an object."}, nilremLoses(100)},
        {{"Your object happens to get in the way and blocks it."}, nothing},
        {{"Your object misses, and you die."}, heroDies},
        {{"Your object merely hits it and ricochets. It hits you, knocking you down and hurting you."}, heroLoses(100)},
        {{"Knowing only the Supreme Dark Wizards use the Shadow Spell, you try to dodge it.",
          "It turns out to be a vain attempt.", "You die."},
         heroDies},
    }},
};

void onArrows(Game& g) { runAction(g, knightArrows); }
void onSwing(Game& g) { runAction(g, knightSwing); }
void onSword(Game& g) { runAction(g, knightSword); }
void onLightning(Game& g) { runAction(g, wizardLightning); }
void onInvisible(Game& g) { runAction(g, wizardInvisible); }
void onEnergyBall(Game& g) { runAction(g, wizardEnergyBall); }
void onObjects(Game& g) { runAction(g, wizardObjects); }

constexpr std::array clicks{
    ClickBinding{"knightba", &onArrows},
    ClickBinding{"knightss", &onSwing},
    ClickBinding{"knightsw", &onSword},
    ClickBinding{"wizardlnt", &onLightning},
    ClickBinding{"wizardif", &onInvisible},
    ClickBinding{"wizardchange", &onEnergyBall},
    ClickBinding{"wizardso", &onObjects},
};

}  // namespace

const std::array<const Action*, 7> heroActions{&knightArrows,    &knightSwing,      &knightSword,  &wizardLightning,
                                               &wizardInvisible, &wizardEnergyBall, &wizardObjects};

const ScreenPart hero{.clicks = clicks};

}  // namespace vendral::form4
