// What tools outside the game see of its windows: every control under its
// own name (object name, and accessible description when tools ask for it
// with VENDRAL_ACCESSIBLE_IDS=1), nothing else described,
// captions and pictures as accessible names; the event loop ending with 0
// when the game ends; and the scripted player's window driver, which clicks
// whatever lies on top and words its refusals as the headless player does.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <set>
#include <sstream>
#include <utility>

#include "screens/screens.h"
#include "ui/qt_platform.h"
#include "ui/widgets.h"
#include "ui/window_driver.h"

namespace vendral {
namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
QString accessible(QWidget* w, QAccessible::Text t) { return QAccessible::queryAccessibleInterface(w)->text(t); }

// Answers the game's dialogs (the name "Tom", then OK) and counts those in
// which some widget carries an accessible description or a tooltip.
class DialogInspector {
public:
    DialogInspector() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { inspect(); });
        timer_.start(0);
    }
    int dialogs = 0, described = 0;
    std::function<void()> insteadOfOk;  // run once in place of answering a message box

private:
    void inspect() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        ++dialogs;
        QList<QWidget*> all = dialog->findChildren<QWidget*>();
        all << dialog;
        for (QWidget* w : all) described += !w->accessibleDescription().isEmpty() || !w->toolTip().isEmpty();
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            if (auto run = std::exchange(insteadOfOk, nullptr)) return run();
            box->button(QMessageBox::Ok)->click();
        } else if (auto* prompt = qobject_cast<QInputDialog*>(dialog)) {
            prompt->setTextValue(QStringLiteral("Tom"));
            prompt->accept();
        }
    }
    QTimer timer_;
};

// Runs `body` inside the application's event loop, as the game runs, and
// returns what the loop returned (99 if a fault left it running).
int inEventLoop(const std::function<void()>& body, bool endLoop = true) {
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    QTimer::singleShot(0, [&] {
        body();
        if (endLoop) QCoreApplication::exit(0);
    });
    return QApplication::exec();
}

class AllScreens : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("VENDRAL_ACCESSIBLE_IDS", "1");
        platform.useManualClock(true);
        platform.attach(game);
        inEventLoop([&] {
            game.start();
            for (const ScreenDef* d : allScreens()) game.load(d->name);
        });
        qunsetenv("VENDRAL_ACCESSIBLE_IDS");
    }
    QWidget* widget(std::string_view screen, std::string_view control) {
        return platform.window(screen)->findChild<QWidget*>(qs(control));
    }
    DialogInspector inspector;
    QtPlatform platform;
    Game game{platform, allScreens()};
};

TEST_F(AllScreens, EveryControlIsItsOwnWidgetUnderItsNameAndNoOtherWidgetIsDescribed) {
    int controls = 0;
    for (const ScreenDef* def : allScreens()) {
        SCOPED_TRACE(std::string(def->name));
        ScreenWindow* window = platform.window(def->name);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->objectName(), qs(def->name));
        EXPECT_EQ(accessible(window, QAccessible::Description), qs(def->name));
        // A loaded screen is on the desktop's list before it is first shown.
        EXPECT_NE(window->internalWinId(), WId(0));
        std::set<QWidget*> named;
        for (const ScreenPart* part : def->parts) {
            for (const ControlDef& c : part->controls) {
                SCOPED_TRACE(std::string(c.name));
                const QList<QWidget*> found = window->findChildren<QWidget*>(qs(c.name));
                ASSERT_EQ(found.size(), c.kind == Kind::Timer ? 0 : 1);
                if (c.kind == Kind::Timer) continue;
                QWidget* w = found.front();
                EXPECT_EQ(w->accessibleDescription(), qs(c.name));
                EXPECT_EQ(accessible(w, QAccessible::Description), qs(c.name));
                EXPECT_TRUE(w->toolTip().isEmpty());  // it would stand in for an empty description
                const char* expectedClass = c.kind == Kind::Button    ? "QPushButton"
                                            : c.kind == Kind::Label   ? "QLabel"
                                            : c.kind == Kind::TextBox ? "QLineEdit"
                                                                      : "QWidget";
                EXPECT_TRUE(w->inherits(expectedClass));
                EXPECT_TRUE(c.kind != Kind::Image || dynamic_cast<PictureView*>(w));
                named.insert(w);
                ++controls;
            }
        }
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (named.count(w)) continue;
            EXPECT_TRUE(w->accessibleDescription().isEmpty() && w->toolTip().isEmpty())
                << w->metaObject()->className();
        }
    }
    EXPECT_GT(controls, 300);
    // The name prompt and the message boxes of the load steps carry nothing either.
    EXPECT_GE(inspector.dialogs, 5);
    EXPECT_EQ(inspector.described, 0);
    // Screens loaded but never shown stay hidden (the quit screen shows itself as it loads).
    for (const char* hidden : {"Form2", "Form3", "Form4", "Form6"}) EXPECT_FALSE(platform.window(hidden)->isVisible());
}

TEST_F(AllScreens, AccessibleNamesAreTheCaptionsAsShownAndWhatEachPictureShows) {
    EXPECT_EQ(accessible(widget("Form1", "cmdintroduction"), QAccessible::Name), "See Introduction ");
    game.screen("Form1")["cmdverify"].setCaption("Fight & run");
    EXPECT_EQ(accessible(widget("Form1", "cmdverify"), QAccessible::Name), "Fight & run");
    game.screen("Form1")["Label2"].setCaption("<b>Tom</b> & Flamel");
    EXPECT_EQ(accessible(widget("Form1", "Label2"), QAccessible::Name), "<b>Tom</b> & Flamel");
    // Every image is named by what it shows, never by its picture's file name.
    std::set<QString> phrases;
    for (const ScreenDef* def : allScreens())
        for (const ScreenPart* part : def->parts)
            for (const ControlDef& c : part->controls) {
                if (c.kind != Kind::Image) continue;
                const QString name = accessible(widget(def->name, c.name), QAccessible::Name);
                EXPECT_TRUE(!name.isEmpty() && name != qs(c.picture)) << def->name << "." << c.name;
                phrases.insert(name);
            }
    EXPECT_TRUE(phrases.count("the disc") && phrases.count("Stormer the Dragon"));
    // The name follows the picture when the story swaps it.
    game.screen("Form6")["swrd"].setPicture("sword_uthler");
    EXPECT_EQ(accessible(widget("Form6", "swrd"), QAccessible::Name), "the sword Uthler");
}

TEST(GameEnd, ClosingAScreenWhileAMessageIsOpenEndsTheLoopWithZero) {
    DialogInspector inspector;
    QtPlatform platform;
    Game game(platform, allScreens());
    platform.attach(game);
    const int status = inEventLoop(
        [&] {
            game.start();
            inspector.insteadOfOk = [&] { platform.window("Form1")->close(); };
            static_cast<QPushButton*>(platform.window("Form1")->findChild<QWidget*>("cmdknight"))->click();
        },
        false);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// --- The window driver of the scripted player --------------------------------

void onLower(Game& g) { g.message("the lower button"); }
void onUpper(Game& g) { g.message("the upper button"); }
void onSign(Game& g) { g.message("the sign"); }
void onCup(Game& g) { g.message("the cup"); }
void onShelf(Game& g) { g.message("the shelf"); }
void onPickUp(Game& g) { g.screen("Stack")["upper"].setCaption("A&B"); }
void onDropOnSign(Game& g, Control& source) { g.message("dropped " + std::string(source.name())); }

// Controls stacked as a player meets them: a button half covered by a later
// one; a clickable label wholly over a clickable picture; a label that takes
// no clicks over another picture (clicks fall through it); a disc to drag.
constexpr std::array stackControls{
    button("lower", "Lower", 0, 0, 1500, 600),
    button("upper", "Upper", 600, 0, 1500, 600),
    image("cup", "cup", 0, 900, 1500, 900),
    label("sign", "Sign", 0, 900, 1500, 900),
    image("shelf", "cup", 1800, 900, 1500, 900),
    label("glass", "", 1800, 900, 1500, 900),
    image("disc", "disc", 3600, 0, 480, 480).draggable("Cheat"),
    button("pickup", "Pick up", 3600, 900, 1200, 495),
    textbox("note", 3600, 1500, 1200, 300),
};
constexpr std::array stackClicks{
    ClickBinding{"lower", &onLower}, ClickBinding{"upper", &onUpper}, ClickBinding{"sign", &onSign},
    ClickBinding{"cup", &onCup},     ClickBinding{"shelf", &onShelf}, ClickBinding{"pickup", &onPickUp},
};
constexpr std::array stackDrops{DropBinding{"sign", &onDropOnSign}};
constexpr ScreenPart stackPart{.controls = stackControls, .clicks = stackClicks, .drops = stackDrops};
constexpr std::array<const ScreenPart*, 1> stackParts{&stackPart};
constexpr ScreenDef stackScreen{.name = "Stack", .caption = "Stack", .width = 5000, .height = 2000, .parts = stackParts};
constexpr std::array<const ScreenDef*, 1> stackScreens{&stackScreen};

std::string replay(const std::string& script, std::span<const ScreenDef* const> screens, int* status = nullptr,
                   std::uint64_t seed = 1) {
    std::istringstream in(script);
    std::ostringstream out;
    char name[] = "ui_tests";
    char* argv[] = {name, nullptr};
    const int s = replayInWindow(1, argv, parseScript(in), seed, out, screens);
    if (status) *status = s;
    return out.str();
}

TEST(WindowDriver, AClickLandsWhereTheControlReceivesItAsHeadlessAndTheScreenIsReadOffTheWidgets) {
    int status = -1;
    const std::string script =
        "click Stack.lower\n"  // its centre lies under "upper": pressed beside it
        "click Stack.sign\n"
        "click Stack.glass\n"  // takes no clicks: the click falls through to the shelf
        "click Stack.shelf\n"  // under the glass
        "click Stack.pickup\n"
        "type Stack.note hello there\n"
        "drag Stack.disc Stack.sign\n"
        "screen Stack\n";
    const std::string transcript = replay(script, stackScreens, &status);
    EXPECT_EQ(status, 0);
    std::string headless;
    EXPECT_EQ(replayHeadless(script, headless, 1, stackScreens), 0);
    EXPECT_EQ(transcript, headless);
    EXPECT_EQ(transcript,
              "message: the lower button\nmessage: the sign\nmessage: the shelf\nmessage: the shelf\n"
              "message: dropped disc\n"
              "screen Stack visible=yes caption=\"Stack\"\n"
              "  lower kind=button caption=\"Lower\" enabled=yes\n"
              "  upper kind=button caption=\"A&B\" enabled=yes\n"
              "  cup kind=image caption=\"\" enabled=yes\n"
              "  sign kind=label caption=\"Sign\" enabled=yes\n"
              "  shelf kind=image caption=\"\" enabled=yes\n"
              "  glass kind=label caption=\"\" enabled=yes\n"
              "  disc kind=image caption=\"\" enabled=yes\n"
              "  pickup kind=button caption=\"Pick up\" enabled=yes\n"
              "  note kind=textbox caption=\"hello there\" enabled=yes\n");
    // The cup lies wholly under the sign: both players refuse a click on it,
    // or a drop, alike.
    for (const std::string covered : {"click Stack.cup", "drag Stack.disc Stack.cup"}) {
        const std::string refused = "error: line 1: " + covered + ": no point of the control can be clicked\n";
        EXPECT_EQ(replay(covered + "\n", stackScreens, &status), refused);
        EXPECT_EQ(status, 2);
        EXPECT_EQ(replayHeadless(covered + "\n", headless, 1, stackScreens), 2);
        EXPECT_EQ(headless, refused);
    }
}

TEST(WindowDriver, RefusalsAndTheSeededBattleReadAsTheHeadlessPlayerWritesThem) {
    const std::string toBattle =
        "name Tom\nclick Form1.cmdknight\ntype Form1.txtjump TEKAVURM\nclick Form1.cmdverify\n"
        "click Form1.Command138\nclick Form3.Command53\n";
    const std::pair<std::string, std::string> cases[] = {
        {"cancel\nclick Form1.cmdstart\n", "the control is hidden"},
        {"click Form1.cmdintroduction\nclick Form1.cmdwizard\n", "the screen is hidden"},
        {"click Form2.Command1\n", "the screen is not loaded"},
        {"click Form1.tmtime\n", "the control takes no clicks"},
        {"type Form1.cmdverify x\n", "the control is not a text box"},
        {"drag Form1.Label1 Form1.Label2\n", "the control is not a draggable image"},
        {"click Form7.Command1\n", "no such screen"},
        {toBattle + "click Form4.cmdrevive\n", "the control is disabled"},
        {toBattle + "click Form4.lblelife\ndrag Form4.imgcheat Form4.Nothing\n", "no such control"},
        {"click Form1.cmdintroduction\nclick Form2.Command2\nstate\n", "the game has ended"},
    };
    for (const auto& [script, refusal] : cases) {
        SCOPED_TRACE(script);
        int status = -1;
        const std::string inWindow = replay(script, allScreens(), &status);
        std::string headless;
        replayHeadless(script, headless);
        EXPECT_EQ(status, 2);
        EXPECT_EQ(inWindow, headless);
        EXPECT_NE(inWindow.find(refusal + "\n"), std::string::npos) << inWindow;
    }
    // Nilrem's answers come from the seed given: three seeds, each as headless.
    const std::string battle = toBattle + "click Form4.knightss\nclick Form4.knightss\nclick Form4.knightss\nstate\n";
    std::set<std::string> seen;
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        const std::string inWindow = replay(battle, allScreens(), nullptr, seed);
        std::string headless;
        replayHeadless(battle, headless, seed);
        EXPECT_EQ(inWindow, headless) << "seed " << seed;
        seen.insert(inWindow);
    }
    EXPECT_GE(seen.size(), 2u);
}

}  // namespace
}  // namespace vendral
