// The window against rough handling: names of every kind shown exactly as
// typed, clicks on a screen behind an open message box, Enter held down
// through a fight, and a screen closed from its title bar at any moment.
// Clicks and key presses go in through the window system's own door (the
// one Qt's test library uses), so modal boxes and the focus rule them as
// they rule a real mouse and keyboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../monkey/monkey.h"
#include "core/game.h"
#include "screens/screens.h"
#include "ui/qt_platform.h"

// Exported by Qt's GUI library for its test library: input as the window
// system delivers it.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text = QString(), bool autorep = false, ushort count = 1);

namespace vendral {
namespace {

int inputClock = 1000;

// A left click in the middle of the widget, as the mouse gives it.
void realClick(QWidget* w) {
    QWidget* top = w->window();
    QWindow* window = top->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint centre = w->rect().center();
    const QPointF local = w->mapTo(top, centre);
    const QPointF global = w->mapToGlobal(centre);
    qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress, {},
                        inputClock += 10);
    qt_handleMouseEvent(window, local, global, {}, Qt::LeftButton, QEvent::MouseButtonRelease, {}, inputClock += 10);
}

// One press and release of Enter on the window that has the keyboard: an
// open box, else the screen.
bool pressEnter(QWidget* screen) {
    QWidget* modal = QApplication::activeModalWidget();
    QWindow* target = modal ? modal->windowHandle() : screen->windowHandle();
    if (!target) return false;
    qt_handleKeyEvent(target, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    qt_handleKeyEvent(target, QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    return true;
}

// Notes every message box as it is shown, answers the name prompt and
// (unless Enter is left to do it) closes every box; `duringBox` runs once
// for each box while it is open, before it is closed.
class Answerer : public QObject {
public:
    Answerer() {
        qApp->installEventFilter(this);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }
    ~Answerer() override { qApp->removeEventFilter(this); }
    QString name = QStringLiteral("Tom");
    bool byEnter = false;  // leave the boxes to the Enter key
    std::function<void(QMessageBox*)> duringBox;
    std::vector<QString> boxes;
    QString typed;  // what stood in the prompt's field when it was accepted

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(o)) boxes.push_back(box->text());
        return false;
    }

private:
    void answer() {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            // Each box is seen once (a new box may take an old one's place in memory).
            if (box->property("seen").toBool()) return;
            box->setProperty("seen", true);
            if (duringBox) duringBox(box);
            if (!byEnter && QApplication::activeModalWidget() == box) box->button(QMessageBox::Ok)->click();
        } else if (auto* dialog = qobject_cast<QInputDialog*>(w)) {
            dialog->setTextValue(name);
            typed = dialog->textValue();
            dialog->accept();
        }
    }
    QTimer timer_;
};

// A game that ended outside the main loop (as a test may end one) leaves Qt
// refusing every later modal loop; one turn of the main loop clears that.
void clearEndedLoops() {
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

// The window's platform, with the random source's seed fixed when a test
// needs the same dice every run.
struct TestPlatform : QtPlatform {
    std::optional<std::uint64_t> seed;
    std::uint64_t randomSeed() override { return seed ? *seed : QtPlatform::randomSeed(); }
};

struct Window {
    Answerer answerer;
    TestPlatform platform;
    Game game{platform, allScreens()};

    explicit Window(const QString& name = QStringLiteral("Tom"), std::optional<std::uint64_t> seed = {}) {
        clearEndedLoops();
        platform.seed = seed;
        answerer.name = name;
        platform.attach(game);
        game.start();
    }
    QWidget* widget(const char* screen, const char* name) const {
        ScreenWindow* w = platform.window(screen);
        return w ? w->findChild<QWidget*>(QString::fromLatin1(name)) : nullptr;
    }
    void press(const char* screen, const char* name) {
        auto* b = qobject_cast<QPushButton*>(widget(screen, name));
        ASSERT_NE(b, nullptr) << screen << "." << name;
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << screen << "." << name;
        b->click();
    }
    // Straight to the Final Battle by the second code.
    void toBattle(const char* hero) {
        press("Form1", hero);
        static_cast<QLineEdit*>(widget("Form1", "txtjump"))->setText(QStringLiteral("TEKAVURM"));
        press("Form1", "cmdverify");
        press("Form1", "Command138");
        press("Form3", "Command53");
        ASSERT_TRUE(game.screen("Form4").visible());
    }
    bool anyWindowShown() const {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) return true;
        return false;
    }
};

// Runs the main loop until the game asks it to stop; 99 if it never does.
int runUntilExit(const std::function<void()>& act) {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    QTimer::singleShot(0, act);
    return QApplication::exec();
}

// --- Names ----------------------------------------------------------------------

TEST(Robust, EveryKindOfNameIsShownExactlyAsTyped) {
    for (const std::string& raw : monkey::oddTexts()) {
        const QString name = QString::fromStdString(raw);
        SCOPED_TRACE(oneLine(raw.substr(0, 40)));
        Window w(name);
        const std::string typed = w.answerer.typed.toStdString();
        const bool stranger = typed.empty() || monkey::reservedName(typed);
        const std::string kept = stranger ? "Stranger" : typed;
        EXPECT_EQ(w.game.state.playername, kept);
        // Straight to the ending, where the text and two boxes carry the name.
        w.toBattle("cmdwizard");
        realClick(w.widget("Form4", "lblactivate"));
        w.press("Form4", "cmdfury");
        ASSERT_TRUE(w.game.screen("Form6").visible());
        auto* text = static_cast<QLabel*>(w.widget("Form6", "lbltext"));
        EXPECT_EQ(text->text(), QString::fromStdString(w.game.screen("Form6")["lbltext"].caption()));
        EXPECT_TRUE(text->text().contains(QString::fromStdString(", " + kept + ", are promoted")));
        realClick(w.widget("Form6", "suprwizard"));
        ASSERT_GE(w.answerer.boxes.size(), 2u);
        EXPECT_EQ(w.answerer.boxes[w.answerer.boxes.size() - 2],
                  QString::fromStdString("You are now " + kept + ", the Supreme Wizard!"));
        EXPECT_EQ(runUntilExit([&] { w.press("Form6", "cmdquit"); }), 0);
        EXPECT_TRUE(w.game.ended());
        EXPECT_EQ(w.answerer.boxes[w.answerer.boxes.size() - 2],
                  QString::fromStdString("Hoped you enjoyed the game. Goodbye, " + kept + "!"));
    }
}

// --- Modal boxes ----------------------------------------------------------------

TEST(Robust, ClicksOnAScreenBehindAMessageBoxNeverReachIt) {
    Window w;
    auto* knight = static_cast<QPushButton*>(w.widget("Form1", "cmdknight"));
    auto* intro = static_cast<QPushButton*>(w.widget("Form1", "cmdintroduction"));
    int knightClicks = 0, introClicks = 0;
    QObject::connect(knight, &QPushButton::clicked, [&] { ++knightClicks; });
    QObject::connect(intro, &QPushButton::clicked, [&] { ++introClicks; });
    int tried = 0;
    w.answerer.duringBox = [&](QMessageBox* box) {
        if (box->text() != "You are Master Wizard!") return;
        // The knight's button and the introduction are still on show behind the box.
        ASSERT_TRUE(knight->isVisible());
        realClick(knight);
        realClick(intro);
        ++tried;
    };
    realClick(w.widget("Form1", "cmdwizard"));
    EXPECT_EQ(tried, 1);
    EXPECT_EQ(knightClicks, 0);
    EXPECT_EQ(introClicks, 0);
    EXPECT_EQ(w.game.screen("Form1")["Label1"].caption(), "Wizard");
    EXPECT_EQ(w.game.findLoaded("Form2"), nullptr);
    EXPECT_EQ(std::count(w.answerer.boxes.begin(), w.answerer.boxes.end(), QString("You are the Master of Knights!")), 0);
    // With no box open, the same kind of click does reach a button.
    auto* start = static_cast<QPushButton*>(w.widget("Form1", "cmdstart"));
    int startClicks = 0;
    QObject::connect(start, &QPushButton::clicked, [&] { ++startClicks; });
    realClick(start);
    EXPECT_EQ(startClicks, 1);
    EXPECT_EQ(w.game.state.life, 60);
}

// --- Enter held down ------------------------------------------------------------

// Presses Enter every millisecond on the screen or the box open over it,
// `presses` times. Each press is posted, as the keyboard's are: it comes in
// whichever loop runs, a box's own included.
int holdEnter(QWidget* screen, int presses) {
    int posted = 0, sent = 0, missed = 0;
    QTimer key;
    key.setInterval(1);
    QObject::connect(&key, &QTimer::timeout, [&] {
        if (posted >= presses) return;
        ++posted;
        QMetaObject::invokeMethod(
            qApp, [&] { pressEnter(screen) ? ++sent : ++missed; }, Qt::QueuedConnection);
    });
    key.start();
    QElapsedTimer clock;
    clock.start();
    while (sent + missed < presses && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    key.stop();
    return sent;
}

TEST(Robust, EnterHeldThroughTheDragonFightStopsAtTheDefeat) {
    Window w;
    w.press("Form1", "cmdknight");
    w.press("Form1", "cmdstart");
    ASSERT_EQ(w.game.state.life, 60);
    QWidget* sword = w.widget("Form1", "Command2");
    ASSERT_TRUE(sword->isVisible());
    w.platform.window("Form1")->activateWindow();
    sword->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(sword->hasFocus());
    // From here on the boxes are closed by Enter too.
    w.answerer.byEnter = true;
    EXPECT_EQ(holdEnter(w.platform.window("Form1"), 300), 300);
    // Six blows from 60 life, then the defeat; the Enter key went on
    // without pressing anything else: Quit is on offer, not pressed.
    const auto count = [&](const char* text) {
        return std::count(w.answerer.boxes.begin(), w.answerer.boxes.end(), QString::fromLatin1(text));
    };
    EXPECT_EQ(count("The dragon scorches you with its fiery breath."), 6);
    EXPECT_EQ(count("You have lost."), 1);
    EXPECT_EQ(w.game.state.life, 0);
    EXPECT_EQ(static_cast<QLabel*>(w.widget("Form1", "lbllife"))->text(), "Life:0");
    EXPECT_TRUE(w.widget("Form1", "cmdlose")->isVisible());
    EXPECT_FALSE(sword->isVisible());
    EXPECT_FALSE(w.game.ended());
    EXPECT_FALSE(w.game.busy());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A button greyed out while a box is open keeps the keyboard on its screen:
// when the box closes the focus must not pass on to the next button in tab
// order, or Enter held on would press Flamel's actions, then "Quit", then the
// confirmation's "Yes".
TEST(Robust, EnterHeldForLongInTheFinalBattleKeepsTheBoardTrue) {
    // Fixed dice: on some throws Nilrem stuns the knight and kills Flamel at
    // once, leaving nothing to hold Enter on.
    Window w(QStringLiteral("Tom"), 1);
    // The battle's own timers stand still: what is held here is the Enter key,
    // however slowly a checked build presses it (Nilrem's reveal and a stun
    // running out on the real clock would open boxes of their own).
    w.platform.useManualClock(true);
    w.toBattle("cmdknight");
    w.answerer.byEnter = true;
    ScreenWindow* board = w.platform.window("Form4");
    const std::size_t before = w.answerer.boxes.size();
    // Round after round the player puts the focus on an action still on
    // offer (the knight's swing, Flamel's staff, a potion, the revive) and
    // holds Enter on it.
    int rounds = 0;
    for (; rounds < 12 && board->isVisible(); ++rounds) {
        QWidget* action = nullptr;
        for (const char* name : {"knightss", "flamelhit", "cmdrevive", "UL", "UFLP", "UFLM"}) {
            QWidget* b = w.widget("Form4", name);
            if (b->isVisible() && b->isEnabled()) {
                action = b;
                break;
            }
        }
        if (!action) break;
        board->activateWindow();
        action->setFocus();
        QCoreApplication::processEvents();
        ASSERT_TRUE(action->hasFocus());
        EXPECT_EQ(holdEnter(board, 150), 150);
    }
    // Let go: nothing more runs, no box stays open.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(w.game.busy());
    EXPECT_GT(w.answerer.boxes.size(), before + 10);
    // The board is still there: Enter never reached "Quit".
    EXPECT_TRUE(board->isVisible());
    EXPECT_EQ(w.game.findLoaded("Form5"), nullptr);
    EXPECT_GE(rounds, 2);
    // Every label still tells its number, and the window mirrors the model.
    Screen& f = w.game.screen("Form4");
    const GameState& s = w.game.state;
    const auto endsWith = [](const std::string& text, const std::string& tail) {
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    };
    EXPECT_TRUE(endsWith(f["lblflife"].caption(), ":" + s.flamellife.str())) << f["lblflife"].caption();
    EXPECT_TRUE(endsWith(f["lblmlife"].caption(), ":" + s.life.str())) << f["lblmlife"].caption();
    EXPECT_EQ(f.caption(), "Final Battle" + s.battleroll.str());
    for (const Control& c : f.controls()) {
        QWidget* widget = w.platform.window("Form4")->widgetFor(c);
        if (!widget) continue;
        EXPECT_EQ(widget->isVisibleTo(w.platform.window("Form4")), c.visible()) << c.name();
        EXPECT_EQ(widget->isEnabled(), c.enabled()) << c.name();
    }
    EXPECT_FALSE(w.game.ended());
}

// --- Closing a screen -------------------------------------------------------------

TEST(Robust, ClosingAnyScreenFromItsTitleBarEndsTheGame) {
    struct Moment {
        const char* name;
        std::function<void(Window&)> reach;
        const char* screen;  // the one closed
    };
    const std::vector<Moment> moments{
        {"title", [](Window&) {}, "Form1"},
        {"introduction, Form1 hidden",
         [](Window& w) { w.press("Form1", "cmdintroduction"); }, "Form2"},
        {"second journey, Form1 hidden",
         [](Window& w) {
             w.press("Form1", "cmdknight");
             static_cast<QLineEdit*>(w.widget("Form1", "txtjump"))->setText(QStringLiteral("ZKWQXRVMBLA"));
             w.press("Form1", "cmdverify");
             w.press("Form1", "Command138");
         },
         "Form3"},
        {"battle", [](Window& w) { w.toBattle("cmdknight"); }, "Form4"},
        {"quit confirmation, Form4 hidden behind it",
         [](Window& w) {
             w.toBattle("cmdwizard");
             w.press("Form4", "cmdlose");
         },
         "Form5"},
        {"ending",
         [](Window& w) {
             w.toBattle("cmdknight");
             realClick(w.widget("Form4", "lblactivate"));
             w.press("Form4", "cmdfury");
         },
         "Form6"},
    };
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.name);
        Window w;
        m.reach(w);
        ScreenWindow* shown = w.platform.window(m.screen);
        ASSERT_NE(shown, nullptr);
        ASSERT_TRUE(shown->isVisible());
        EXPECT_EQ(runUntilExit([&] { shown->close(); }), 0);
        EXPECT_TRUE(w.game.ended());
        EXPECT_FALSE(w.anyWindowShown());
    }
}

TEST(Robust, ClosingTheScreenBehindAnOpenBoxEndsTheGameAndShowsNothingMore) {
    Window w;
    w.press("Form1", "cmdintroduction");
    // "Go back" shows five tips and then Form1 again; the player closes the
    // introduction while the first tip is up.
    int boxesSeen = 0;
    w.answerer.duringBox = [&](QMessageBox*) {
        if (++boxesSeen == 1) w.platform.window("Form2")->close();
    };
    const std::size_t before = w.answerer.boxes.size();
    EXPECT_EQ(runUntilExit([&] { realClick(w.widget("Form2", "Command1")); }), 0);
    EXPECT_TRUE(w.game.ended());
    EXPECT_EQ(w.answerer.boxes.size(), before + 1);
    EXPECT_FALSE(w.game.screen("Form1").visible() && w.platform.window("Form1")->isVisible());
    EXPECT_FALSE(w.anyWindowShown());
}

}  // namespace
}  // namespace vendral
