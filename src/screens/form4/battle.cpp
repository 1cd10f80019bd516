// The Final Battle screen: its controls, the set-up when it loads, the roll
// of Nilrem's next answer, the four timers (Nilrem showing himself, the
// clock, the revive watcher, the stun countdown), the rules that end every
// action (the falls and the victory check), and the way out through "Quit".
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form4/battle.h"
#include "screens/form4/form4.h"

namespace vendral::form4 {

namespace {

// The whole board but the cheat icon and the hidden FURY spot, which the
// cheat brings along.
constexpr std::array controls{
    label("Label1", "", 0, 0, 1575, 615).pt(24),
    label("lbltime", "", 1680, 0, 1335, 375),
    button("cmdlose", "Quit", 3120, 120, 1215, 495).bg({0, 0, 255}),
    label("lblelife", "Nilrem's life:75000", 4440, 0, 2415, 1095).pt(24),
    label("lblmlife", "Your Life:1000", 0, 720, 1335, 735).pt(13.5),
    label("lblmmagic", "Your Magic:2000", 1440, 720, 1455, 735).pt(13.5).hidden(),
    button("UR", "Use Refilling Potion", 3000, 1080, 1095, 495),
    label("lblexplain", "Nilrem is displayed below here.", 4440, 1200, 2775, 255),
    image("Image1", "shadow", 4080, 1200, 3375, 5415),
    image("Image2", "nilrem", 3720, 1440, 4095, 5175).hidden(),
    image("wizardlnt", "lightning", 0, 1440, 1215, 975).hidden(),
    image("knightba", "arrows", 0, 1560, 1935, 2055).hidden(),
    button("wizardso", "Shoot objects", 1560, 1560, 1335, 495).hidden(),
    button("knightss", "Use special swing", 1800, 1680, 1575, 495).hidden(),
    button("cmdfury", "FURY", 6720, 2160, 735, 375).hidden(),
    button("UL", "Use Life Potion", 2280, 2280, 1335, 375),
    button("wizardif", "Turn invisible and fight", 0, 2520, 1935, 495).hidden(),
    button("UM", "Use Magic Potion", 2160, 2760, 1455, 375),
    button("wizardchange", "Shoot Electric Ball of Energy", 0, 3240, 2175, 495).hidden(),
    image("knightsw", "sword", 1440, 3240, 2295, 735).hidden(),
    button("cmdrevive", "Reviving Potion", 3120, 3720, 1095, 495).disabled(),
    label("lblflife", "Flamel's Life:500", 0, 4080, 1335, 735).pt(13.5),
    label("lblfmagic", "Flamel's Magic:1000", 1440, 4080, 1575, 735).pt(13.5),
    image("flamelf", "flames", 0, 4920, 1335, 975),
    button("flamelfb", "Fireball Nilrem", 1560, 4920, 1215, 495),
    button("UFLP", "Use Life Potion", 3000, 4800, 1095, 495),
    button("UFLM", "Use Magic Potion", 3000, 5400, 1095, 615),
    button("flamellnt", "Shoot lightning", 1560, 5520, 1335, 495),
    button("flamelhit", "Hit Nilrem with your staff", 0, 6120, 1935, 495),
    button("UFLR", "Use Refilling Potion", 2880, 6120, 1095, 495),
    timer("tmrnilrem", 15000, true),
    timer("tmrtime", 1000, true).clock(),
    timer("tmrrefill", 1, true),
    timer("tmrstun", 1000, false),
};

// --- Timers -----------------------------------------------------------------

void onNilremReveals(Game& g) {
    Screen& f = board(g);
    // He shows himself once: the timer stops before its message, so a box
    // left open cannot let it fire again.
    f["tmrnilrem"].stop();
    g.message("Nilrem reveals himself.");
    f["Image1"].hide();
    f["Image2"].show();
}

void onClock(Game& g) { board(g)["lbltime"].setCaption(g.timeText()); }

bool someoneDown(const GameState& s) { return s.life <= 0 || s.flamellife <= 0; }

// The watcher only ever enables the Reviving Potion; once it is enabled, or
// while both fighters stand, a tick would change nothing.
bool reviveWatcherIdle(const Game& g) {
    const Screen* f = g.findLoaded("Form4");
    return f == nullptr || !someoneDown(g.state) || (*f)["cmdrevive"].enabled();
}

void onReviveWatch(Game& g) {
    if (someoneDown(g.state)) board(g)["cmdrevive"].enable();
}

// One second of the stun: the stunned hero (and a fallen Flamel) bleed one
// life, the spell wears off on the first tick that finds the count at 0,
// and a hero drained to nothing dies.
void onStunTick(Game& g) {
    Screen& f = board(g);
    GameState& s = g.state;
    // The drain looks at the lightning picture, not the class: a knight
    // always bleeds, a wizard only while his lightning is taken away.
    if (!f["wizardlnt"].visible() && s.stun > 0) {
        s.life -= 1;
        writeHeroLife(g);
    }
    // Only a fallen Flamel has his staff disabled: his life goes below 0.
    if (!f["flamelhit"].enabled() && s.stun > 0) {
        s.flamellife -= 1;
        writeFlamelLife(g);
    }
    if (isWizard(g) && s.stun == 0) {
        f["tmrstun"].stop();
        giveBackWizardActions(g);
        g.message("The Stun spell wears off and your magic power is refilled.");
        s.magic = 2000;
        writeHeroMagic(g);
    }
    if (isKnight(g) && s.stun == 0) {
        f["tmrstun"].stop();
        f["knightba"].show();
        f["knightss"].enable();
        f["knightsw"].show();
        g.message("The Stun spell wears off.");
    }
    if (s.stun > 0) s.stun -= 1;
    // The stun is not tied to the screen: a countdown still running after
    // the battle was won or left may still end in this message.
    if (s.life <= 0) {
        f["tmrstun"].stop();
        f["wizardchange"].disable();
        f["wizardlnt"].hide();
        f.disable({"wizardif", "wizardso"});
        f["knightba"].hide();
        f["knightss"].disable();
        f["knightsw"].hide();
        f["cmdlose"].show();
        g.message("You have died.");
    }
}

// --- Quit -------------------------------------------------------------------

void onQuit(Game& g) {
    g.message("WHAT! You know it takes a long time to get here," + g.state.playername + "!");
    g.message("However, mistakes do happen, and if you pressed this button by accident, here's a second chance.");
    g.hide("Form4");
    g.load("Form5");
    g.show("Form5");
}

constexpr std::array clicks{ClickBinding{"cmdlose", &onQuit}};

constexpr std::array ticks{
    TickBinding{"tmrnilrem", &onNilremReveals},
    TickBinding{"tmrtime", &onClock},
    TickBinding{"tmrrefill", &onReviveWatch, &reviveWatcherIdle},
    TickBinding{"tmrstun", &onStunTick},
};

}  // namespace

const ScreenPart battle{.controls = controls, .clicks = clicks, .ticks = ticks};

// --- Shared rules -------------------------------------------------------------

void writeHeroLife(Game& g) { board(g)["lblmlife"].setCaption(withValue("Your Life:", g.state.life)); }
void writeHeroMagic(Game& g) { board(g)["lblmmagic"].setCaption(withValue("Your Magic:", g.state.magic)); }
void writeFlamelLife(Game& g) { board(g)["lblflife"].setCaption(withValue("Flamel's Life:", g.state.flamellife)); }
void writeFlamelMagic(Game& g) {
    board(g)["lblfmagic"].setCaption(withValue("Flamel's Magic:", g.state.flamelmagic));
}
void writeNilremLife(Game& g) { board(g)["lblelife"].setCaption(withValue("Nilrem's life:", g.state.enemylife)); }

void drawRoll(Game& g) {
    g.state.battleroll = g.roll();
    board(g).setCaption("Final Battle" + g.state.battleroll.str());
}

void takeHeroActions(Game& g, bool potionsToo) {
    Screen& f = board(g);
    if (isKnight(g)) {
        f.hide({"knightba", "knightsw"});
        f["knightss"].disable();
        if (potionsToo) f["UL"].disable();
    }
    if (isWizard(g)) {
        f["wizardlnt"].hide();
        f.disable({"wizardchange", "wizardso", "wizardif"});
        if (potionsToo) f.disable({"UM", "UL", "UR"});
    }
}

void takeFlamelControls(Game& g) {
    Screen& f = board(g);
    f["flamelf"].hide();
    f.disable({"flamelhit", "flamelfb", "flamellnt", "UFLP", "UFLM", "UFLR"});
}

void giveBackWizardActions(Game& g) {
    Screen& f = board(g);
    f["wizardchange"].enable();
    f["wizardlnt"].show();
    f.enable({"wizardif", "wizardso"});
}

void giveBackFlamelActions(Game& g) {
    Screen& f = board(g);
    f["flamelf"].show();
    f.enable({"flamelfb", "flamellnt", "flamelhit"});
}

void heroFalls(Game& g) {
    if (g.state.life > 0) return;
    g.state.life = 0;
    writeHeroLife(g);
    takeHeroActions(g, true);
}

void flamelFalls(Game& g) {
    if (g.state.flamellife > 0) return;
    g.state.flamellife = 0;
    writeFlamelLife(g);
    takeFlamelControls(g);
}

void handOver(Game& g) {
    g.hide("Form4");
    g.load("Form6");
    g.show("Form6");
}

void victoryCheck(Game& g) {
    if (g.state.enemylife > 0) return;
    // The label stops at 0 although Nilrem's life may have gone below it.
    board(g)["lblelife"].setCaption("Nilrem's life:0");
    g.message("You and Flamel have killed Nilrem, the Supreme Dark Wizard!");
    if (isWizard(g)) {
        g.message("You and Flamel are magically transported to the Wizard's Council.");
        handOver(g);
    } else if (isKnight(g)) {
        g.message("Flamel accompanies you to the Union of Knights, where you will tell them of the death of Nilrem.");
        handOver(g);
    }
}

// --- Set-up -------------------------------------------------------------------

void load(Game& g) {
    Screen& f = board(g);
    GameState& s = g.state;
    g.message("Congrats! You probably have played for a while. Here's the code to get to here:TEKAVURM.");
    f["Label1"].setCaption(s.heroclass);
    g.message(
        "You see Nilrem standing across the room. He jumps toward you so he's halfway across the room. He says "
        "Prepare for Battle! You shall fall or fly before me.");
    g.message("You and Flamel stand apart and prepare to fight.");
    g.message("Click on the image or button to do something.");
    g.message("Your controls are below your life and Flamel's controls are below his life.");
    if (isWizard(g)) {
        g.message("Both of you get an upgrade of Life and Magic.");
        s.magic = 2000;
        f.show({"lblmmagic", "wizardlnt", "wizardif", "wizardchange", "wizardso"});
    }
    if (isKnight(g)) {
        g.message("You get an upgrade of Life and Flamel gets an upgrade of Life and Magic.");
        f.show({"knightba", "knightsw", "knightss"});
    }
    // The labels already read these values, so none is rewritten. The
    // refilling potions are only those the hero brought, and the knight's
    // magic stays as it was.
    s.revives = 100;
    s.life = 1000;
    s.enemylife = 75000;
    s.flamellife = 500;
    s.flamelmagic = 1000;
    s.lifepotions += 100;
    s.magicpotions += 100;
    if (isKnight(g)) f.hide({"UM", "UR"});
    // Hard mode, for the one name that knows it (exact letters).
    if (s.playername == "Valoro") {
        s.enemylife = 750000;
        writeNilremLife(g);
    }
    drawRoll(g);
}

}  // namespace vendral::form4
