// Where a click lands: the stacking of a screen's controls, the point of a
// control a click on it lands on, and the player's click following both.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/game.h"
#include "core/hit.h"
#include "replay/headless.h"
#include "screens/screens.h"

namespace vendral {
namespace {

std::vector<std::string> heard;
void onLower(Game&) { heard.push_back("lower"); }
void onUpper(Game&) { heard.push_back("upper"); }
void onCup(Game&) { heard.push_back("cup"); }
void onSign(Game&) { heard.push_back("sign"); }
void onShelf(Game&) { heard.push_back("shelf"); }
void onGo(Game&) { heard.push_back("go"); }
void onEdge(Game&) { heard.push_back("edge"); }
void onDropOnSign(Game&, Control& source) { heard.push_back("dropped " + std::string(source.name())); }

// 400 × 133 pixels. Every extent is a whole number of pixels.
constexpr std::array stackControls{
    button("lower", "Lower", 0, 0, 1500, 600),          // pixels 0–99: its centre under "upper"
    button("upper", "Upper", 600, 0, 1500, 600),        // pixels 40–139
    image("cup", "cup", 0, 900, 1500, 900),             // wholly under the clickable sign
    label("sign", "Sign", 0, 900, 1500, 900),
    image("shelf", "cup", 1800, 900, 1500, 900),        // under a label that takes no clicks
    label("glass", "", 1800, 900, 1500, 900),
    label("caption", "Caption", 3600, 0, 1500, 600),    // pixels 240–339, takes no clicks; its centre under "go"
    button("go", "Go", 4200, 0, 1500, 600),             // pixels 280–379
    button("edge", "Edge", 5700, 900, 1500, 600),       // pixels 380–479, half off the screen
    button("gone", "Gone", 6300, 900, 1500, 600),       // wholly off the screen
    image("disc", "disc", 3600, 900, 480, 480).draggable("Cheat"),
};
constexpr std::array stackClicks{
    ClickBinding{"lower", &onLower}, ClickBinding{"upper", &onUpper}, ClickBinding{"cup", &onCup},
    ClickBinding{"sign", &onSign},   ClickBinding{"shelf", &onShelf}, ClickBinding{"go", &onGo},
    ClickBinding{"edge", &onEdge},
};
constexpr std::array stackDrops{DropBinding{"sign", &onDropOnSign}};
constexpr ScreenPart stackPart{.controls = stackControls, .clicks = stackClicks, .drops = stackDrops};
constexpr std::array<const ScreenPart*, 1> stackParts{&stackPart};
constexpr ScreenDef stackScreen{.name = "Stack", .caption = "Stack", .width = 6000, .height = 2000, .parts = stackParts};
constexpr std::array<const ScreenDef*, 1> stackScreens{&stackScreen};

ScreenPoint pixel(int x, int y) { return {x * 15, y * 15}; }

struct StackGame {
    HeadlessPlatform platform;
    Game game{platform, stackScreens};
    Screen& s;
    StackGame() : s((game.start(), game.screen("Stack"))) { heard.clear(); }
    std::string at(int x, int y) {
        const Control* c = controlAt(s, pixel(x, y));
        return c ? std::string(c->name()) : "";
    }
    std::string landsAt(const char* name) {
        const auto p = clickPoint(s[name]);
        if (!p) return "nowhere";
        return std::to_string(pixelsOf(p->x)) + "," + std::to_string(pixelsOf(p->y));
    }
};

TEST(Hit, ButtonsLieAboveLabelsAndPicturesAndLaterRowsAboveEarlierOnes) {
    StackGame g;
    EXPECT_EQ(g.at(20, 20), "lower");
    EXPECT_EQ(g.at(60, 20), "upper");       // the later button
    EXPECT_EQ(g.at(50, 80), "sign");        // the later row, both taking clicks
    EXPECT_EQ(g.at(150, 80), "shelf");      // the glass lets the mouse through
    EXPECT_EQ(g.at(260, 20), "");           // the caption takes no clicks and nothing lies beneath
    EXPECT_EQ(g.at(300, 20), "go");
    EXPECT_EQ(g.at(245, 65), "disc");       // a draggable picture takes the mouse
    EXPECT_EQ(g.at(399, 70), "edge");
    EXPECT_EQ(g.at(400, 70), "");           // past the screen's edge
    EXPECT_EQ(controlAt(g.s, {-300, 15}), nullptr);
    // Twips between two pixels fall in the pixel they round to.
    EXPECT_EQ(controlAt(g.s, {39 * 15 + 7, 300}), &g.s["lower"]);
    EXPECT_EQ(controlAt(g.s, {39 * 15 + 8, 300}), &g.s["upper"]);
    g.s["upper"].hide();
    g.s["sign"].hide();
    EXPECT_EQ(g.at(60, 20), "lower");
    EXPECT_EQ(g.at(50, 80), "cup");
    EXPECT_FALSE(takesMouse(g.s["glass"]) || takesMouse(g.s["caption"]));
    EXPECT_TRUE(takesMouse(g.s["disc"]) && takesMouse(g.s["sign"]) && takesMouse(g.s["lower"]));
}

TEST(Hit, AClickLandsOnTheCentreOrTheNearestPointNothingAboveCovers) {
    StackGame g;
    EXPECT_EQ(g.landsAt("upper"), "89,19");     // free: the centre
    EXPECT_EQ(g.landsAt("lower"), "39,19");     // the centre is under "upper": just left of it
    EXPECT_EQ(g.landsAt("cup"), "nowhere");     // the sign covers all of it
    EXPECT_EQ(g.landsAt("glass"), "169,89");    // nothing that takes clicks above it
    EXPECT_EQ(g.landsAt("caption"), "279,19");  // where "go" does not cover it
    EXPECT_EQ(g.landsAt("edge"), "399,79");     // the part on the screen
    EXPECT_EQ(g.landsAt("gone"), "nowhere");
    g.s["upper"].hide();
    EXPECT_EQ(g.landsAt("lower"), "49,19");
    EXPECT_EQ(g.landsAt("upper"), "nowhere");   // hidden
}

TEST(Hit, ThePlayersClickRunsWhatReceivesTheMouseWhereItLands) {
    StackGame g;
    EXPECT_EQ(g.game.click("Stack", "lower"), Refusal::None);  // not "upper", over its centre
    EXPECT_EQ(g.game.click("Stack", "glass"), Refusal::None);  // falls through to the shelf
    EXPECT_EQ(g.game.click("Stack", "caption"), Refusal::None);  // lands beside "go": nothing
    EXPECT_EQ(g.game.click("Stack", "edge"), Refusal::None);
    EXPECT_EQ(g.game.click("Stack", "cup"), Refusal::Covered);
    EXPECT_EQ(refusalText(Refusal::Covered), "no point of the control can be clicked");
    EXPECT_EQ(g.game.click("Stack", "gone"), Refusal::Covered);
    // A drop lands where a click would.
    EXPECT_EQ(g.game.drag("Stack", "disc", "Stack", "cup"), Refusal::Covered);
    EXPECT_EQ(g.game.drag("Stack", "disc", "Stack", "sign"), Refusal::None);
    // The refusals before it keep their place: a hidden control is hidden, not covered.
    g.s["gone"].hide();
    EXPECT_EQ(g.game.click("Stack", "gone"), Refusal::ControlHidden);
    // A disabled control under the mouse swallows the click.
    g.s["shelf"].disable();
    EXPECT_EQ(g.game.click("Stack", "glass"), Refusal::None);
    // The binding's own widget pressed (or Enter on it) runs its handler
    // wherever the other controls lie.
    EXPECT_EQ(g.game.press("Stack", "cup"), Refusal::None);
    EXPECT_EQ(heard, (std::vector<std::string>{"lower", "shelf", "edge", "dropped disc", "cup"}));
}

// Every control of every screen shown at once, overlapping as it may: where a
// click on a control that takes the mouse lands is the point of it, nearest
// its centre, that it receives, found by looking at every pixel.
TEST(Hit, OnEveryScreenTheSearchFindsTheNearestPointTheControlReceives) {
    HeadlessPlatform platform;
    for (int i = 0; i < 8; ++i) platform.queueName("Tom");
    Game game(platform, allScreens());
    game.start();
    int searched = 0;
    for (const ScreenDef* def : allScreens()) {
        Screen& s = game.load(def->name);
        for (Control& c : s.controls())
            if (c.kind() != Kind::Timer) c.show();
        const int width = pixelsOf(def->width), height = pixelsOf(def->height);
        for (const Control& c : s.controls()) {
            if (c.kind() == Kind::Timer || !takesMouse(c)) continue;
            const int x0 = pixelsOf(c.left()), y0 = pixelsOf(c.top());
            const int x1 = x0 + pixelsOf(c.def().width), y1 = y0 + pixelsOf(c.def().height);
            const int cx = (x0 + x1 - 1) / 2, cy = (y0 + y1 - 1) / 2;
            const auto got = clickPoint(c);
            if (got && controlAt(s, *got) == &c && pixelsOf(got->x) == cx && pixelsOf(got->y) == cy) continue;
            ++searched;
            std::optional<ScreenPoint> best;
            std::int64_t bestDistance = 0;
            for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
                for (int x = std::max(x0, 0); x < std::min(x1, width); ++x) {
                    const std::int64_t d = std::int64_t{x - cx} * (x - cx) + std::int64_t{y - cy} * (y - cy);
                    if ((!best || d < bestDistance) && controlAt(s, pixel(x, y)) == &c) {
                        best = pixel(x, y);
                        bestDistance = d;
                    }
                }
            SCOPED_TRACE(std::string(def->name) + "." + std::string(c.name()));
            ASSERT_EQ(got.has_value(), best.has_value());
            if (best) {
                EXPECT_EQ(got->x, best->x);
                EXPECT_EQ(got->y, best->y);
            }
        }
    }
    EXPECT_GT(searched, 5);  // the screens do overlap their controls
}

}  // namespace
}  // namespace vendral
