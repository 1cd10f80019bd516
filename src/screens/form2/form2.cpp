// The introduction: what the game is about, five tips on the way back, a
// hint series that can be read once, a credits line and the cheat's
// instructions hidden in the empty corner.
#include <array>

#include "core/game.h"
#include "screens/screens.h"

namespace vendral::form2 {

namespace {

constexpr std::string_view introduction =
    "This is the introduction to the Vendral game. This game is a sequel to the Farwander game. The Vendral game "
    "is better than the Farwander game in my opinion. In this game, you need to beat the challenges that I will "
    "present to you and recover the Treasure of Karthune for the Village of Karthune. You will pick from two "
    "choices. You can either be a Master Wizard or Master of Knights. You became one of these in the Farwander "
    "Game. Once you recover the Treasure, you will need to go back to the village beating the new challenges. ";

constexpr std::array controls{
    label("Label1", introduction, 120, 0, 6495, 4095).pt(13.5),
    button("Command1", "Go back", 1440, 4440, 1215, 495),
    button("Command2", "Quit", 2880, 4440, 1215, 495),
    button("Command3", "Hint", 4560, 5280, 1215, 495),
    label("Label2",
          "This button will give you a hint on the game so you will probably go farther if you use it. You'll "
          "know what the hint is about when you get to that challenge.",
          4440, 4080, 2055, 1215),
    label("Label3", "", 120, 4920, 4215, 1215).pt(12),
};

void onGoBack(Game& g) {
    g.message("If you're a wizard and you run out of magic, use the Magic Potion or the Refilling Potion if you have "
              "one.");
    g.message("If you face an enemy with life, look in the top right corner of the game to see how much life the "
              "enemy has.");
    g.message("There may be some challenges where you need to get hurt a certain amount to beat the challenge.");
    g.message("Also, for those people out there that want to cheat, there is a cheat you can use but it'll make the "
              "end ill for you.");
    g.message("And don't forget, whenever you fall ill, pay attention and you'll get better.");
    g.show("Form1");
    g.hide("Form2");
}

void onQuit(Game& g) {
    g.message("WHAT! Did you not want to play or accidently hit this button, " + g.state.playername + "?");
    g.end();
}

void onHint(Game& g) {
    g.message("When you get to the first store, buy at least 8 Life potions.");
    g.message("If you buy Refilling Potions, then you don't need to buy as many Life Potions.");
    g.message("There are only three shops in the game.");
    g.message("Two sell things and in one you get ten free things.");
    g.message("At an inn, they sell potions if you get the luxury room. It has the cheapest prices.");
    g.message("It's also the last place to get potions.");
    g.message("Keep at least 20000 coins when you go to buy potions.");
    // The hint series can be read once.
    g.screen("Form2").hide({"Command3", "Label2"});
}

void onCredits(Game& g) {
    g.screen("Form2")["Label3"].setCaption("Vendral was written by the Vendral team in 2026, story and pictures included.");
}

void onCheatHelp(Game& g) {
    g.message("For the cheat, whenever you fight a boss, click around the words Life left: and you'll see a CD at the "
              "bottom.");
    g.message("Drag the CD over the word Wizard or Knight and let go of the mouse then.");
    g.message("You'll receive 1000 life.");
}

constexpr std::array clicks{
    ClickBinding{"Command1", &onGoBack}, ClickBinding{"Command2", &onQuit}, ClickBinding{"Command3", &onHint},
    ClickBinding{"Label2", &onCredits},  ClickBinding{"Label3", &onCheatHelp},
};

constexpr ScreenPart part{.controls = controls, .clicks = clicks};
constexpr std::array<const ScreenPart*, 1> parts{&part};

}  // namespace

const ScreenDef screen{.name = "Form2", .caption = "Introduction", .width = 6690, .height = 6210, .parts = parts};

}  // namespace vendral::form2
