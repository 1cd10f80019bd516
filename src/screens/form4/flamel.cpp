// Flamel's actions beside the hero: his flames, his fireball, his lightning
// and his staff. Nilrem never stuns him and never hurts the hero in answer.
#include <array>

#include "core/game.h"
#include "screens/form4/battle.h"
#include "screens/form4/form4.h"

namespace vendral::form4 {

namespace {

// Nilrem's openings when Flamel acts; the fireball comes at Flamel for his
// flames and lightning but "at you" for his fireball and staff.
constexpr Openings atFlamel{
    Lines{"Nilrem raises his hands...", "And, dirt flies up in the air, meets in front of Nilrem's hands...",
          "Turns into a huge ball, and flies towards Flamel!"},
    Lines{"Nilrem raises his hands and a huge wind blows against Flamel."},
    Lines{"Nilrem raises his hands, and a huge fireball comes right at Flamel."},
    Lines{"Nilrem raises his hands and water flies from his hands toward Flamel."},
    Lines{"Nilrem fires lightning at you."},
    Lines{"Nilrem strikes at you with his staff."},
    Lines{"Nilrem casts a stunning spell."},
    Lines{"Nilrem casts a Death Spell."},
    Lines{"Nilrem forms a shield around him."},
    Lines{"Nilrem uses the all powerful and mighty Shadow Spell."},
};

constexpr Openings fireballAtYou(Openings o) {
    o[2] = Lines{"Nilrem raises his hands, and a huge fireball comes right at you."};
    return o;
}
constexpr Openings atFlamelFireballAtYou = fireballAtYou(atFlamel);

// Flamel's flames.
constexpr Action flames{
    .control = "flamelf",
    .actor = Actor::Flamel,
    .cost = 50,
    .payment = Payment::Flamel,
    .openings = &atFlamel,
    .answers = {{
        {{"Flamel surrounds the dirt with flames and it burns up."}, nothing},
        {{"Flamel stands his ground and sends flames towards Nilrem."}, nilremLoses(250)},
        {{"Flamel surrounds himself with flames and the flames cancel the fireball out."}, nothing},
        {{"Flamel extinguishes the water with flames."}, nothing},
        {{"Flamel sends flames, but the lightning strikes Flamel down."}, flamelLoses(400)},
        {{"Flamel sends flames and they burn Nilrem."}, nilremLoses(50)},
        {{"Flamel blocks the spell with flames."}, nothing},
        {{"Flamel dies."}, flamelDies},
        {{"Flamel flames the shield and hurts Nilrem a little."}, nilremLoses(50, "Nilrem's Life:")},
        {{"Flamel tries to dodge it, in vain."}, flamelDies},
    }},
};

// Flamel's fireball.
constexpr Action fireball{
    .control = "flamelfb",
    .actor = Actor::Flamel,
    .cost = 150,
    .payment = Payment::Flamel,
    .openings = &atFlamelFireballAtYou,
    .answers = {{
        {{"Flamel shoots the fireball, and it burns the dirt up.",
          "Unfortunately, the fireball disappears and Nilrem is not hurt."},
         nothing},
        {{"Flamel shoots the fireball, but it comes around and smashes into Flamel."}, flamelLoses(300)},
        {{"Flamel shoots the fireball, and it combines with the other fireball, but since Nilrem's force was stronger "
          "the fireball comes towards Flamel. Flamel knows how to survive through fire, so he manages to tough the "
          "fireball out."},
         nothing},
        {{"Flamel shoots the fireball, but the water extinguishes it and slams Flamel into the wall."},
         flamelLoses(200)},
        {{"Flamel shoots the fireball and it absorbs the lightning and engulfs Nilrem."}, nilremLoses(700)},
        {{"Flamel shoots the fireball, and Nilrem raises his staff up and it absorbs it."}, nothing},
        {{"Flamel shoots and deflects it."}, nothing},
        {{"Flamel dies."}, flamelDies},
        {{"Flamel shoots, but the shield reflects it and Flamel is engulfed."}, flamelLoses(499)},
        {{"Knowing only the Supreme Dark Wizards use the Shadow Spell, Flamel tries to dodge it.",
          "It turns out to be a vain attempt.", "Flamel dies."},
         flamelDies},
    }},
};

// Flamel's lightning.
constexpr Action lightning{
    .control = "flamellnt",
    .actor = Actor::Flamel,
    .cost = 150,
    .payment = Payment::Flamel,
    .openings = &atFlamel,
    .answers = {{
        {{"Flamel fires lightning and blows it up."}, nothing},
        {{"The lightning whips around and hits Flamel."}, flamelLoses(250, "Flamel's life:")},
        {{"Flamel's lightning adds to the power of the fireball and engulfs Flamel."}, flamelLoses(400)},
        {{"Flamel's lightning turns the water around and it electrocutes Nilrem."}, nilremLoses(200)},
        {{"Flamel decides to raise his staff and it absorbs the lightning."}, nothing},
        {{"Flamel backs away and shoots lightning."}, flamelLoses(50)},
        {{"Flamel hits the spell with lightning and it disappears."}, nothing},
        {{"Flamel dies."}, flamelDies},
        {{"Flamel shoots lightning and it blows the shield away and hurts Nilrem a little."},
         nilremLoses(50, "Nilrem's Life:")},
        {{"Flamel tries to dodge it, in vain."}, flamelDies},
    }},
};

// Flamel's staff.
constexpr Action staff{
    .control = "flamelhit",
    .actor = Actor::Flamel,
    .cost = 0,
    .payment = Payment::None,
    .openings = &atFlamelFireballAtYou,
    .answers = {{
        {{"Nilrem is out of reach, and Flamel is unable to reach Nilrem so he is hit."}, flamelLoses(300)},
        {{"Nilrem is out of reach, and Flamel is unable to reach Nilrem so he is hit."}, flamelLoses(250)},
        {{"Nilrem is out of reach, and Flamel is unable to reach Nilrem so he is hit."}, flamelLoses(400)},
        {{"Nilrem is out of reach, and Flamel is unable to reach Nilrem so he is hit."}, flamelLoses(100)},
        {{"Flamel's staff absorbs the lightning."}, nothing},
        {{"Flamel also strikes but the staffs clash and Flamel is thrown back."}, flamelLoses(50)},
        {{"Flamel's staff deflects it."}, nothing},
        {{"Flamel dies."}, flamelDies},
        {{"Flamel merely waits for it to wear off."}, nothing},
        {{"Flamel's staff absorbs the spell, and then lashes out at Nilrem with the power of the Shadow Spell."},
         nilremLoses(5000)},
    }},
};

void onFlames(Game& g) { runAction(g, flames); }
void onFireball(Game& g) { runAction(g, fireball); }
void onLightning(Game& g) { runAction(g, lightning); }
void onStaff(Game& g) { runAction(g, staff); }

constexpr std::array clicks{
    ClickBinding{"flamelf", &onFlames},
    ClickBinding{"flamelfb", &onFireball},
    ClickBinding{"flamellnt", &onLightning},
    ClickBinding{"flamelhit", &onStaff},
};

}  // namespace

const std::array<const Action*, 4> flamelActions{&flames, &fireball, &lightning, &staff};

const ScreenPart flamel{.clicks = clicks};

}  // namespace vendral::form4
