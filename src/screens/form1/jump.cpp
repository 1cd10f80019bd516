// The jump-ahead codes of the title screen, and the last "Continue" of the
// first journey, which hands the game over to the second journey screen.
// An accepted code shows that same "Continue" at once.
#include <array>
#include <string>
#include <string_view>

#include "core/game.h"
#include "screens/form1/form1.h"
#include "screens/form1/story.h"

namespace vendral::form1 {

namespace {

// Handed out on arrival at the castle: a new game starts there.
constexpr std::string_view castleCode = "ZKWQXRVMBLA";
// Handed out at the Final Battle: a new game goes straight to the Gates.
constexpr std::string_view gatesCode = "TEKAVURM";

constexpr std::array controls{
    button("Command138", "Continue", 720, 4680, 975, 495).hidden(),
};

// The cases are tried in this order. The codes are compared exactly: no
// other case and no spaces. Until a hero is chosen no code is accepted.
void onVerify(Game& g) {
    Screen& f = board(g);
    const std::string code = f["txtjump"].caption();
    const bool castle = code == castleCode;
    const bool gates = code == gatesCode;
    if (castle && isWizard(g)) {
        g.message("Correct! Click on the button to jump ahead.");
    } else if (castle && isKnight(g)) {
        g.message("Correct! Click on the button to jump ahead.");
    } else if (gates && isWizard(g)) {
        g.message(
            "Correct! Click on the button to jump ahead. And then, when you get to the next form, click on the "
            "button Continue.");
    } else if (gates && isKnight(g)) {
        g.message("Correct! Click on the button to jump ahead.");
    } else {
        g.message("Choose a character or enter in the correct password!");
        return;
    }
    f.hide({"cmdverify", "txtjump", "cmdstart"});
    f["Command138"].show();
    // A jumped game is remembered by its cure tries (the wizard's ending reads them).
    g.state.curetries = 6;
    if (gates) g.state.jumpcode = std::string(gatesCode);
}

// The hand-over to the second journey.
void onCommand138(Game& g) {
    Screen& f = board(g);
    g.state.heroclass = f["Label1"].caption();
    // A hero who lost on the way and still went on is branded.
    if (f["cmdlose"].visible()) g.state.playername = "Cheater";
    g.show("Form3");
    g.hide("Form1");
}

constexpr std::array clicks{
    ClickBinding{"cmdverify", &onVerify},
    ClickBinding{"Command138", &onCommand138},
};

}  // namespace

const ScreenPart jump{.controls = controls, .clicks = clicks};

}  // namespace vendral::form1
