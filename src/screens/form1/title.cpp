// The title state of the first screen: the name prompt and the help messages
// of the load step, the choice of hero, "Start Vendral", the way into the
// introduction, the clock, and the defeat button of the whole first journey.
#include <array>

#include "core/game.h"
#include "core/rules.h"
#include "screens/form1/form1.h"

namespace vendral::form1 {

namespace {

constexpr std::array controls{
    label("lblchoose", "Do you wish to be a...", 0, 5280, 3495, 495).pt(18),
    button("cmdwizard", "Master Wizard", 3960, 0, 3255, 5775).pic("wizard"),
    button("cmdknight", "Master of Knights", 0, 0, 3855, 5175).pic("knight"),
    label("Label1", "", 0, 0, 1575, 615).pt(24),
    button("cmdstart", "Start Vendral", 0, 4320, 1215, 855).pic("start").hidden(),
    label("lbllife", "", 1680, 0, 2055, 615).pt(18),
    label("lblmagic", "", 3840, 0, 1935, 615).pt(18),
    label("Label2", "", 0, 720, 6615, 2055).pt(24),
    button("cmdlose", "Quit", 3480, 5880, 1215, 495).hidden(),
    label("Label3", "Money:10000", 2400, 3480, 4215, 375).pt(13.5, true).hidden(),
    label("Label4", "Items", 4440, 3960, 855, 375).pt(13.5, true).hidden(),
    label("lblelife", "Life left:200", 5880, 0, 1215, 615).pt(9.75, true).hidden(),
    button("cmdintroduction", "See Introduction ", 1560, 5760, 1815, 495),
    label("lblthink", "", 5160, 6120, 135, 135).hidden(),
    label("lbltime", "", 5640, 6120, 1455, 375),
    label("lbldate", "", 0, 6120, 1575, 375).hidden(),
    textbox("txtjump", 3600, 5880, 2535, 375),
    button("cmdverify", "Verify", 6240, 5880, 975, 375),
    timer("tmtime", 1000, true).clock(),
    image("Image1", "stormer", 3720, 1800, 3375, 1695).stretched().hidden(),
    image("Image2", "disc", 2520, 6000, 480, 480).draggable("Cheat").hidden(),
};

// Both hero buttons end alike: the choice is made, the start button waits.
void heroChosen(Game& g, const char* classWord) {
    Screen& f = g.screen("Form1");
    f["Label1"].setCaption(classWord);
    f.hide({"cmdwizard", "cmdknight", "lblchoose"});
    f["cmdstart"].show();
    f["cmdintroduction"].hide();
}

void onWizard(Game& g) {
    g.message("You are Master Wizard!");
    heroChosen(g, "Wizard");
}

void onKnight(Game& g) {
    g.message("You are the Master of Knights!");
    heroChosen(g, "Knight");
}

void onStart(Game& g) {
    Screen& f = g.screen("Form1");
    f["lbldate"].show();
    g.message("Whenever you beat a challenge, a Continue button will be seen around this button.");
    g.message("If you see a continue button here, press it even though you didn't beat a challenge.");
    g.state.life = 60;
    writeLife(g, f);
    f["Label2"].setCaption("A dragon is in your way. What do you do?");
    const std::string& hero = f["Label1"].caption();
    if (hero == "Wizard") {
        g.state.magic = 100;
        writeMagic(g, f);
    }
    if (hero == "Wizard")
        f["Command1"].show();
    else if (hero == "Knight")
        f.show({"Command2", "Command3"});
    f["cmdstart"].hide();
    // Label3 still shows its design caption, which equals the money now.
    f["Label3"].show();
    g.state.upgradechoice = 0;
    // Once the journey has started no code can be entered.
    f.hide({"txtjump", "cmdverify"});
}

void onIntroduction(Game& g) {
    g.show("Form2");
    g.screen("Form1")["cmdintroduction"].hide();
    g.hide("Form1");
}

void onLose(Game& g) {
    g.message("I bet you lost or found a bug, " + g.state.playername + "!");
    g.end();
}

void onClock(Game& g) {
    Screen& f = g.screen("Form1");
    f["lbltime"].setCaption(g.timeText());
    // The date is kept current even while its label is hidden.
    f["lbldate"].setCaption(g.dateText());
}

void onTimeClick(Game& g) { g.message("WOW! THIS IS THE TIME!"); }
void onDateClick(Game& g) { g.message("WOW! THIS IS THE DATE!"); }

constexpr std::array clicks{
    ClickBinding{"cmdwizard", &onWizard},
    ClickBinding{"cmdknight", &onKnight},
    ClickBinding{"cmdstart", &onStart},
    ClickBinding{"cmdintroduction", &onIntroduction},
    ClickBinding{"cmdlose", &onLose},
    ClickBinding{"lbltime", &onTimeClick},
    ClickBinding{"lbldate", &onDateClick},
};

constexpr std::array ticks{TickBinding{"tmtime", &onClock}};

}  // namespace

void load(Game& g) {
    g.seedRandom();
    g.state.money = 10000;
    // The name is kept exactly as typed; Cancel counts as nothing typed.
    g.state.playername = g.prompt("Vendral", "Please put in your name").value_or("");
    if (g.state.playername.empty()) {
        g.message("You didn't put in your name, stranger!!");
        g.state.playername = "Stranger";
    }
    const std::string& name = g.state.playername;
    if (name == "Cheater" || name == "cheater" || name == "Nilrem") {
        g.message("You can't use that name!");
        g.state.playername = "Stranger";
    }
    g.message(
        "And, there is a lot of repetition in the game, on the bosses, except for the final one, they have Life "
        "as you do, so you probably will have to use the same command over and over again to kill them. So, if "
        "you think you can be careful enough, just click on the command you want to use, then hold down the "
        "Enter key until you want to stop. And, you'll probably have to use potions.");
    g.message(
        "Enter in the code to jump ahead if you have received it in the textbox provided after you have selected "
        "your character.");
}

const ScreenPart title{.controls = controls, .clicks = clicks, .ticks = ticks};

}  // namespace vendral::form1
