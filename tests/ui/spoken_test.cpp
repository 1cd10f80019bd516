// Spoken play in the real window: what reaches a screen reader through Qt's
// accessibility layer after each step played by keys (the news in the
// scripted player's words, once, never a clock tick), where the focus goes
// when the pressed button hides, the repeat key, internal names kept out of
// descriptions, and the disc dragged with the keys.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <QWindow>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

#include "core/game.h"
#include "replay/headless.h"
#include "replay/replay.h"
#include "screens/screens.h"
#include "ui/qt_platform.h"
#include "ui/widgets.h"

// Exported by Qt's GUI library for its test library: input as the window
// system delivers it.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text = QString(), bool autorep = false, ushort count = 1);

namespace vendral {
namespace {

// The window's platform with the headless player's seed, so both throw the same dice.
struct SeededPlatform : QtPlatform {
    std::uint64_t randomSeed() override { return 1; }
};

// A game in the window, played by keys, its boxes answered, with the news
// it handed over noted line by line as the scripted player writes them.
struct Played {
    // What a screen reader found after each action through the
    // accessibility layer: the name of a label that took the focus to be
    // read from, or a notification that came on show in a status bar.
    std::vector<QString> heard;
    QString focusRead, noticeRead;
    std::string lines;
    QTimer answerer;
    SeededPlatform platform;
    Game game{platform, allScreens()};

    Played() {
        answerer.setInterval(1);
        QObject::connect(&answerer, &QTimer::timeout, [] {
            QWidget* w = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(w)) box->button(QMessageBox::Ok)->click();
            if (auto* prompt = qobject_cast<QInputDialog*>(w)) {
                prompt->setTextValue(QStringLiteral("Ann"));
                prompt->accept();
            }
        });
        answerer.start();
        platform.useManualClock(true);
        platform.attach(game);
        platform.onSpoken = [this](const std::vector<std::string>& told, bool repeat) {
            for (const std::string& l : told) lines += (repeat ? "repeat: " : "spoken: ") + oneLine(l) + "\n";
        };
        game.start();
        platform.flushSpeech();
        hear();
    }
    void hear() {
        for (const ScreenDef* d : allScreens()) {
            ScreenWindow* w = platform.window(d->name);
            if (!w || !w->isVisible()) continue;
            if (QWidget* f = w->focusWidget(); qobject_cast<QLabel*>(f)) {
                const QString name = QAccessible::queryAccessibleInterface(f)->text(QAccessible::Name);
                if (name != std::exchange(focusRead, name)) heard.push_back(name);
            }
            QAccessibleInterface* note = QAccessible::queryAccessibleInterface(w->announcer().notification());
            if (note->state().invisible) continue;
            EXPECT_EQ(note->role(), QAccessible::Notification);
            EXPECT_EQ(note->parent()->role(), QAccessible::StatusBar);  // spoken without its role
            const QString name = note->text(QAccessible::Name);
            if (name != std::exchange(noticeRead, name)) heard.push_back(name);
        }
    }
    QWidget* widget(const char* screen, const char* name) const {
        return platform.window(screen)->findChild<QWidget*>(QString::fromLatin1(name));
    }
    // The key goes to whatever has the focus on the screen, as the keyboard's does.
    void key(int k, const char* screen = "Form4") { key(k, platform.window(screen)->focusWidget()); }
    void key(int k, QWidget* to) {
        ASSERT_NE(to, nullptr);
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(to, &press);
        platform.flushSpeech();
        hear();
    }
    // Puts the focus on a choice, as Tab would, and presses Enter on it.
    void choose(const char* screen, const char* name) {
        QWidget* w = widget(screen, name);
        ASSERT_TRUE(w->isVisible() && w->isEnabled()) << name;
        platform.window(screen)->activateWindow();
        w->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        key(Qt::Key_Return, w);
    }
};

// The spoken and repeat lines of a headless run of the same moves.
std::string headlessSpoken(const std::string& script) {
    std::string transcript;
    replayHeadless("name Ann\n" + script, transcript, 1, allScreens(), true);
    std::istringstream in(transcript);
    std::string out, line;
    while (std::getline(in, line))
        if (line.rfind("spoken: ", 0) == 0 || line.rfind("repeat: ", 0) == 0) out += line + "\n";
    return out;
}

TEST(Spoken, TheKnightsDragonFightIsToldAsTheScriptedPlayerTellsItOnceAndInOrder) {
    Played p;
    // The title's clock turns for a while: nothing is told.
    const std::vector<QString> atTitle = p.heard;
    p.platform.advance(3500);
    p.platform.flushSpeech();
    p.hear();
    EXPECT_EQ(p.heard, atTitle);
    p.choose("Form1", "cmdknight");
    // The pressed button hid: the focus is on the news's first label, never
    // on a choice, and it is read with the whole news as its name.
    QWidget* focus = p.platform.window("Form1")->focusWidget();
    EXPECT_EQ(focus, p.widget("Form1", "Label1"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name),
              "Knight\nChoices: Start Vendral, Verify");
    // Tab from there reaches a choice.
    p.key(Qt::Key_Tab, "Form1");
    QWidget* next = p.platform.window("Form1")->focusWidget();
    EXPECT_TRUE(qobject_cast<QPushButton*>(next) && next->isVisible()) << next->objectName().toStdString();
    p.choose("Form1", "cmdstart");
    for (int blow = 0; blow < 6; ++blow) p.choose("Form1", "Command2");
    // After the defeat the sword is gone: the focus is on the life label.
    EXPECT_EQ(p.platform.window("Form1")->focusWidget(), p.widget("Form1", "lbllife"));
    // The repeat key comes through the window system, where shortcuts are matched.
    p.platform.window("Form1")->activateWindow();
    QCoreApplication::processEvents();
    QWindow* form1 = p.platform.window("Form1")->windowHandle();
    qt_handleKeyEvent(form1, QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    qt_handleKeyEvent(form1, QEvent::KeyRelease, Qt::Key_F2, Qt::NoModifier);
    p.hear();
    p.choose("Form1", "cmdlose");

    const std::string script =
        "click Form1.cmdknight\nclick Form1.cmdstart\n"
        "click Form1.Command2\nclick Form1.Command2\nclick Form1.Command2\n"
        "click Form1.Command2\nclick Form1.Command2\nclick Form1.Command2\nrepeat\nclick Form1.cmdlose\n";
    EXPECT_EQ(p.lines, headlessSpoken(script));

    // Each step's news reached the accessibility layer once: as a focused
    // label's name or a notification, its lines as handed over, in order.
    std::string delivered;
    for (const QString& h : p.heard)
        for (const QString& part : h.split(QLatin1Char('\n'))) delivered += oneLine(part.toStdString()) + "\n";
    std::string expected;
    std::istringstream in(p.lines);
    for (std::string line; std::getline(in, line);) expected += line.substr(line.find(": ") + 2) + "\n";
    EXPECT_EQ(delivered, expected);
    // A blow that leaves the sword on offer keeps the focus on it.
    EXPECT_EQ(std::count(p.heard.begin(), p.heard.end(), QStringLiteral("Life:50")), 1);
}

TEST(Spoken, NoDescriptionCarriesAnInternalNameUnlessToolsAskForIt) {
    for (const bool ask : {false, true}) {
        SCOPED_TRACE(ask ? "VENDRAL_ACCESSIBLE_IDS=1" : "unset");
        if (ask)
            qputenv("VENDRAL_ACCESSIBLE_IDS", "1");
        else
            qunsetenv("VENDRAL_ACCESSIBLE_IDS");
        Played p;
        for (const ScreenDef* d : allScreens()) p.game.load(d->name);
        int described = 0, widgets = 0;
        for (const ScreenDef* d : allScreens()) {
            ScreenWindow* w = p.platform.window(d->name);
            QList<QWidget*> all = w->findChildren<QWidget*>();
            all << w;
            for (QWidget* c : all) {
                const QString description = QAccessible::queryAccessibleInterface(c)->text(QAccessible::Description);
                const QString name = QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name);
                if (c->objectName().isEmpty()) continue;
                ++widgets;
                described += description == c->objectName();
                if (!ask) {
                    EXPECT_TRUE(description.isEmpty()) << c->objectName().toStdString();
                    // Not spoken as a name either (a caption may hold words like "Label").
                    EXPECT_NE(name, c->objectName()) << c->objectName().toStdString();
                }
            }
        }
        EXPECT_GT(widgets, 300);
        EXPECT_EQ(described, ask ? widgets : 0);
    }
    qunsetenv("VENDRAL_ACCESSIBLE_IDS");
}

TEST(Spoken, TheDiscIsDraggedWithTheKeysAndLandsAsThePointersDrop) {
    const std::string toBattle =
        "click Form1.cmdknight\ntype Form1.txtjump TEKAVURM\nclick Form1.cmdverify\n"
        "click Form1.Command138\nclick Form3.Command53\nclick Form4.lblelife\n";
    for (const char* target : {"Label1", "lblelife"}) {
        SCOPED_TRACE(target);
        Played p;
        p.choose("Form1", "cmdknight");
        static_cast<QLineEdit*>(p.widget("Form1", "txtjump"))->setText(QStringLiteral("TEKAVURM"));
        p.choose("Form1", "cmdverify");
        p.choose("Form1", "Command138");
        p.choose("Form3", "Command53");
        p.game.press("Form4", "lblelife");  // shows the disc
        auto* disc = dynamic_cast<PictureView*>(p.widget("Form4", "imgcheat"));
        ASSERT_TRUE(disc && disc->isVisible());
        EXPECT_EQ(disc->focusPolicy(), Qt::StrongFocus);
        Announcer& said = p.platform.window("Form4")->announcer();
        const auto caption = [&](const char* name) { return static_cast<QLabel*>(p.widget("Form4", name))->text(); };
        // Picked up, the choice moved both ways (the arrows and Tab), put
        // back: nothing happens.
        const QString onClass = "Drop on: " + caption("Label1"), onNilrem = "Drop on: " + caption("lblelife");
        p.choose("Form4", "imgcheat");
        EXPECT_TRUE(disc->carrying());
        const bool classFirst = said.lastSaid().contains(onClass + ".");
        EXPECT_TRUE(said.lastSaid().startsWith("Picked up the disc. " + (classFirst ? onClass : onNilrem) + "."));
        p.key(Qt::Key_Right);
        EXPECT_EQ(said.lastSaid(), classFirst ? onNilrem : onClass);
        p.key(Qt::Key_Tab);
        EXPECT_EQ(said.lastSaid(), classFirst ? onClass : onNilrem);
        p.key(Qt::Key_Up);
        EXPECT_EQ(said.lastSaid(), classFirst ? onNilrem : onClass);
        const std::string before = describeState(p.game);
        p.key(Qt::Key_Escape);
        EXPECT_FALSE(disc->carrying());
        EXPECT_EQ(describeState(p.game), before);
        EXPECT_TRUE(disc->isVisible());
        // Picked up again and dropped on the target: the same as the pointer's drop.
        p.key(Qt::Key_Space);
        if ((std::string(target) == "Label1") != classFirst) p.key(Qt::Key_Down);
        p.key(Qt::Key_Return);
        std::string headless;
        replayHeadless("name Ann\n" + toBattle + "drag Form4.imgcheat Form4." + target + "\nstate\n", headless);
        EXPECT_NE(headless.find(describeState(p.game)), std::string::npos) << describeState(p.game) << headless;
        EXPECT_FALSE(disc->isVisible());
        // The disc hid itself: reading starts again on a label, not a choice.
        EXPECT_NE(dynamic_cast<GameLabel*>(p.platform.window("Form4")->focusWidget()), nullptr);
    }
}

}  // namespace
}  // namespace vendral
