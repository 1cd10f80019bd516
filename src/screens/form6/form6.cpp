// The ending: the reward for the hero who defeated Nilrem. The wizard is
// promoted to Supreme Wizard and hears how well he handled the sickness of
// the first journey; the knight cycles through three legendary swords and
// takes one with a word to remember. Then the credits float up the screen.
// A player marked "Cheater" gets only the reason why, and "Quit".
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/game.h"
#include "screens/screens.h"

namespace vendral::form6 {

namespace {

constexpr std::array controls{
    label("lbltext", "", 0, 0, 8655, 2415).pt(9.75),
    label("lblclick", "Click on the picture to be promoted to Supreme Wizard!", 1560, 3480, 2415, 495).hidden(),
    label("lblenergize", "Click on the sword to magically energize it!", 5160, 3120, 2175, 495).hidden(),
    button("cmdquit", "Quit", 3360, 4080, 975, 495).hidden(),
    label("lbla", "Credits", 3720, 5520, 855, 495).hidden(),
    label("lblb", "Game by the Vendral team", 3720, 5760, 1815, 255).hidden(),
    label("lblc", "Tested by the Vendral team and its friends", 3720, 5640, 2295, 495).hidden(),
    label("lbld", "Pictures drawn by the Vendral team", 3720, 5640, 1695, 495).hidden(),
    label("lble", "Thank you for reading the credits this far!", 3720, 5640, 2415, 495).hidden(),
    label("lblf", "Goodbye!", 3720, 5640, 735, 495).hidden(),
    button("cmdselect", "Select sword", 7440, 3240, 735, 495).hidden(),
    image("suprwizard", "supreme_wizard", 600, 3720, 1920, 2325).hidden(),
    image("swrd", "sword", 5160, 3600, 2190, 675).hidden(),
    // The three named swords are picture stores: swrd takes a copy of one.
    image("swrdgdthard", "sword_gladonthard", 3240, 4800, 2190, 675).hidden(),
    image("swrduthler", "sword_uthler", 6000, 4560, 2190, 675).hidden(),
    image("swrdvrath", "sword_valrath", 5640, 5520, 2190, 675).hidden(),
    timer("tmrstart", 1500, false),
    timer("tmra", 4, false),
    timer("tmrb", 5, false),
    timer("tmrc", 6, false),
    timer("tmrd", 7, false),
    timer("tmre", 8, false),
    timer("tmrf", 9, false),
};

Screen& ending(Game& g) { return g.screen("Form6"); }

// The sword on display: 0 before the first click on it, then 1 Gladonthard,
// 2 Uthler, 3 Valrath. The ending is loaded once per run and its load step
// sets it to 0.
int swordState = 0;

constexpr std::string_view closingText =
    "Thanks for playing my game! If I feel like it, I might make a game called The Duskmere, where you will go "
    "slay the High Dark Wizard, Polyform and become a High Knight or Wizard. Maybe, though, I will have different "
    "journeys, so if you're a knight, you have to slay the High Dark Knight, and if you're a Wizard, you have to "
    "slay the High Dark Wizard.";

constexpr std::string_view gladonthardText =
    "This sword is Gladonthard, once used by the great King Taglism. It has a special ability to shoot spheres of "
    "energy at enemies.";

void onLoad(Game& g) {
    Screen& f = ending(g);
    const std::string& hero = g.state.heroclass;
    const std::string& name = g.state.playername;
    if (hero == "Wizard") {
        f["lbltext"].setCaption(
            "You and Flamel arrive in a dimly lit room. The Famed 10 Wizards sit in jeweled chairs before you. They "
            "say 'We know of the death of Nilrem. We can only thank you. Thus, Flamel is promoted to Master Wizard, "
            "skipping the stage of Wizard, and you, " +
            name +
            ", are promoted to Supreme Wizard. Perhaps you will become a High Wizard, the highest title anyone can "
            "acheive, if you defeat the Greatest Dark Wizard of All Time, PolyForm! Ah yes, your hat will be "
            "changed and you will receive a staff! We have sent the Treasure to the Village of Karthune for you, "
            "and to repay you, the villagers will give you anything you want when you ask.'");
        f.show({"suprwizard", "lblclick"});
    }
    if (hero == "Knight") {
        f["lbltext"].setCaption(
            "You and Flamel arrive in the Hall of the Union of Knights. The High Knight says, 'We know of the Death "
            "of Nilrem, The Supreme Dark Wizard! We can only thank you, " +
            name +
            ", for your courage in slaying him to free the land from that scoundrel. Thus, you are promoted to "
            "Supreme Knight! Your sword will be magically enchanted because of your new title. Flamel will go to "
            "the Wizard's Council later. We have sent the Treasure to the Village of Karthune for you, and to "
            "repay you, they will give you anything you want when you ask.'");
        f.show({"swrd", "lblenergize"});
    }
    swordState = 0;
    if (name == "Cheater") {
        f["lbltext"].setCaption(
            "You have cheated, or used a bug in the program. You have done something such as cheating, or you have "
            "lost, but in the code it displayed the button to quit, but you were able to continue on your Vendral. "
            "Because of this, you will not get to see the ending until you beat it the right way.");
        f.hide({"suprwizard", "lblclick", "lblenergize", "swrd"});
        // The cheater never sees the credits: nothing starts tmrstart.
        f["cmdquit"].show();
    }
}

// The wizard's word on how he handled the sickness of the first journey;
// 6 marks a game started by a jump-ahead code. 5 wrong cures are fatal, so
// that value (and any other) gets no comment.
const char* sicknessComment(std::int64_t curetries) {
    switch (curetries) {
    case 0:
        return "Ah, I see you know how to take care of yourself in case of illness. You have done incredible work on "
               "healing yourself from being caught unaware from a dark wizard's spell.";
    case 1:
        return "You need to practice a little bit more so you won't be confused on what to do. You have done "
               "incredible work on healing yourself from being caught unaware from a dark wizard's spell.";
    case 2:
        return "Perhaps you should go see one of our doctors to get more practice on healing yourself. That dark "
               "wizard must be happy to delay you for that long.";
    case 3:
        return "Ah, you were getting close to death from that dark wizard's spell.";
    case 4:
        return "I have enrolled you as a student of one of our top doctors. You were really close to death after "
               "that dark wizard got you with that spell.";
    case 6:
        return "Ah, you have jumped. Perhaps next time you can play Vendral from beginning to end next time.";
    default:
        return nullptr;
    }
}

void onSupremeWizard(Game& g) {
    Screen& f = ending(g);
    g.message("You are now " + g.state.playername + ", the Supreme Wizard!");
    // An empty curetries (no wrong cure ever) counts as 0.
    if (const char* comment = sicknessComment(g.state.curetries)) g.message(comment);
    f.hide({"suprwizard", "lblclick"});
    f["lbltext"].setCaption(std::string(closingText));
    f["cmdquit"].show();
    f["tmrstart"].start();
}

// Each click shows the next sword, Gladonthard again after Valrath.
void onSword(Game& g) {
    Screen& f = ending(g);
    switch (swordState) {
    case 0:
        f["swrd"].setPicture(f["swrdgdthard"].picture());
        g.message(std::string(gladonthardText));
        swordState = 1;
        f["cmdselect"].show();
        break;
    case 1:
        f["swrd"].setPicture(f["swrduthler"].picture());
        g.message(
            "This sword is Uthler, once used by Lord Palletis in the War against the Valreq. It has a special ability "
            "to change the energy around the sword to magical fire and cut down enemies easily.");
        swordState = 2;
        break;
    case 2:
        f["swrd"].setPicture(f["swrdvrath"].picture());
        g.message(
            "This sword is Valrath, once used by King Aster when he aided Lord Palletis to defeat the Valreq. It has "
            "the special ability to create things whenever the wielder wants to.");
        swordState = 3;
        break;
    default:
        f["swrd"].setPicture(f["swrdgdthard"].picture());
        g.message(std::string(gladonthardText));
        swordState = 1;
        break;
    }
}

// The knight takes the sword on display and is told its word.
void onSelect(Game& g) {
    Screen& f = ending(g);
    switch (swordState) {
    case 1:
        g.message(
            "Your sword is Gladonthard. You must develop your skills so you may wield the power in the sword. May "
            "you learn how to use it well.");
        g.message("Remember this word. Brovika.");
        break;
    case 2:
        g.message(
            "Your sword is Uthler. You must develop your skills so you may cut down enemies with ease. May you learn "
            "how to use it well.");
        g.message("Remember this word. Telmun.");
        break;
    case 3:
        g.message(
            "Your sword is Valrath. You must develop your skills so you may create objects to stop your enemies and "
            "keep yourself alive. May you learn how to use it well.");
        g.message("Remember this word. Olvek.");
        break;
    default:
        break;  // "Select sword" only shows after the first click on the sword
    }
    f["swrd"].hide();
    f["cmdquit"].show();
    f.hide({"cmdselect", "lblenergize"});
    f["lbltext"].setCaption(
        std::string(closingText) +
        " Remember the word you were told, since if I make another game, then it would require that you have "
        "beaten this game and acquired the word to wield your sword.");
    f["tmrstart"].start();
}

// Every 1.5 s the next credits line starts rising, lbla first.
void onCreditsStart(Game& g) {
    Screen& f = ending(g);
    if (f["tmre"].running())
        f["tmrf"].start();
    else if (f["tmrd"].running())
        f["tmre"].start();
    else if (f["tmrc"].running())
        f["tmrd"].start();
    else if (f["tmrb"].running())
        f["tmrc"].start();
    else if (f["tmra"].running())
        f["tmrb"].start();
    else
        f["tmra"].start();
}

// Once the last line rises, tmrstart keeps ticking without effect.
bool creditsAllStarted(const Game& g) {
    const Screen* f = g.findLoaded("Form6");
    return f && (*f)["tmrf"].running();
}

// The lines rise for as long as the ending stays open, long after they have
// left the top of the screen. So that a line's position can never run out
// of range (the fastest line would get there after about a week), a line
// that has risen past kFarAbove is carried kLap twips back down; it is then
// still millions of twips above the screen, so the player never sees it.
constexpr int kFarAbove = -1'000'000'000;
constexpr int kLap = 990'000'000;  // a whole number of 15-twip steps
static_assert(kLap % 15 == 0 && kFarAbove + kLap < -1'000'000);

void rise(Game& g, std::string_view line) {
    Control& c = ending(g)[line];
    c.show();
    int top = c.top();
    if (top < kFarAbove + 15) top += kLap;
    c.move(c.left(), top - 15);
}

void onLineA(Game& g) { rise(g, "lbla"); }
void onLineB(Game& g) { rise(g, "lblb"); }
void onLineC(Game& g) { rise(g, "lblc"); }
void onLineD(Game& g) { rise(g, "lbld"); }
void onLineE(Game& g) { rise(g, "lble"); }
void onLineF(Game& g) { rise(g, "lblf"); }

void onQuit(Game& g) {
    g.message("Hoped you enjoyed the game. Goodbye, " + g.state.playername + "!");
    g.message("The Credits aren't very good, but oh well.");
    g.end();
}

constexpr std::array clicks{
    ClickBinding{"suprwizard", &onSupremeWizard},
    ClickBinding{"swrd", &onSword},
    ClickBinding{"cmdselect", &onSelect},
    ClickBinding{"cmdquit", &onQuit},
};

constexpr std::array ticks{
    TickBinding{"tmrstart", &onCreditsStart, &creditsAllStarted},
    TickBinding{"tmra", &onLineA},
    TickBinding{"tmrb", &onLineB},
    TickBinding{"tmrc", &onLineC},
    TickBinding{"tmrd", &onLineD},
    TickBinding{"tmre", &onLineE},
    TickBinding{"tmrf", &onLineF},
};

constexpr ScreenPart part{.controls = controls, .clicks = clicks, .ticks = ticks};
constexpr std::array<const ScreenPart*, 1> parts{&part};

}  // namespace

const ScreenDef screen{.name = "Form6",
                       .caption = "Vendral",
                       .width = 8760,
                       .height = 6090,
                       .parts = parts,
                       .load = &onLoad};

}  // namespace vendral::form6
