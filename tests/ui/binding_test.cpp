// The real window under Qt's offscreen platform: message boxes and the name
// prompt as the player meets them, the keyboard, drag and drop onto a label,
// and the layout taken from the control tables.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <string>
#include <vector>

#include "core/game.h"
#include "screens/screens.h"
#include "ui/qt_platform.h"
#include "ui/widgets.h"

namespace vendral {
namespace {

// Answers every modal dialog the game opens, and notes what it showed.
class Answerer {
public:
    Answerer() {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }
    QString name = QStringLiteral("Tom");
    struct Box {
        QString title, text;
        int buttons = 0;
        bool icon = false;
        bool okIsDefault = false;
    };
    std::vector<Box> boxes;
    int prompts = 0;

private:
    void answer() {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            Box b;
            b.title = box->windowTitle();
            b.text = box->text();
            b.buttons = static_cast<int>(box->buttons().size());
            b.icon = box->icon() != QMessageBox::NoIcon;
            b.okIsDefault = box->defaultButton() == box->button(QMessageBox::Ok);
            boxes.push_back(b);
            box->button(QMessageBox::Ok)->click();
        } else if (auto* dialog = qobject_cast<QInputDialog*>(w)) {
            ++prompts;
            dialog->setTextValue(name);
            dialog->accept();
        }
    }
    QTimer timer_;
};

class Binding : public ::testing::Test {
protected:
    void SetUp() override {
        platform.attach(game);
        game.start();
    }
    QWidget* widget(const char* screen, const char* name) {
        ScreenWindow* w = platform.window(screen);
        return w ? w->findChild<QWidget*>(QString::fromLatin1(name)) : nullptr;
    }
    std::vector<QString> texts() const {
        std::vector<QString> out;
        for (const auto& b : answerer.boxes) out.push_back(b.text);
        return out;
    }
    Answerer answerer;
    QtPlatform platform;
    Game game{platform, allScreens()};
};

TEST_F(Binding, TheLoadStepAsksTheNameAndShowsPlainOkBoxesTitledVendral) {
    EXPECT_EQ(answerer.prompts, 1);
    EXPECT_EQ(game.state.playername, "Tom");
    ASSERT_EQ(answerer.boxes.size(), 2u);
    for (const auto& b : answerer.boxes) {
        EXPECT_EQ(b.title, "Vendral");
        EXPECT_EQ(b.buttons, 1);
        EXPECT_FALSE(b.icon);
        EXPECT_TRUE(b.okIsDefault);
    }
    EXPECT_TRUE(answerer.boxes[0].text.startsWith("And, there is a lot of repetition"));
    ScreenWindow* form1 = platform.window("Form1");
    ASSERT_NE(form1, nullptr);
    EXPECT_TRUE(form1->isVisible());
    EXPECT_EQ(form1->windowTitle(), "The Vendral for The Treasure of Karthune");
    // 7200 x 6570 twips at 15 twips a pixel.
    EXPECT_EQ(form1->size(), QSize(480, 438));
    QWidget* verify = widget("Form1", "cmdverify");
    ASSERT_NE(verify, nullptr);
    EXPECT_EQ(verify->geometry(), QRect(416, 392, 65, 25));
    EXPECT_EQ(verify->objectName(), "cmdverify");
    EXPECT_TRUE(verify->accessibleDescription().isEmpty());  // never read out to players
    EXPECT_FALSE(widget("Form1", "cmdstart")->isVisible());
}

TEST_F(Binding, AClickWithTwoMessagesRunsToItsEndAndTheWindowFollowsTheModel) {
    static_cast<QPushButton*>(widget("Form1", "cmdknight"))->click();
    static_cast<QPushButton*>(widget("Form1", "cmdstart"))->click();
    const auto t = texts();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[2], "You are the Master of Knights!");
    EXPECT_EQ(t[3], "Whenever you beat a challenge, a Continue button will be seen around this button.");
    EXPECT_EQ(t[4], "If you see a continue button here, press it even though you didn't beat a challenge.");
    EXPECT_EQ(static_cast<QLabel*>(widget("Form1", "lbllife"))->text(), "Life:60");
    EXPECT_EQ(static_cast<QLabel*>(widget("Form1", "Label1"))->text(), "Knight");
    EXPECT_TRUE(widget("Form1", "Command2")->isVisible());
    EXPECT_FALSE(widget("Form1", "txtjump")->isVisible());
    EXPECT_FALSE(widget("Form1", "cmdstart")->isVisible());
}

TEST_F(Binding, EnterPressesTheFocusedButtonAndAHiddenButtonPassesTheFocusToNoOther) {
    QWidget* wizard = widget("Form1", "cmdwizard");
    platform.window("Form1")->activateWindow();
    wizard->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(wizard, &enter);
    EXPECT_EQ(game.screen("Form1")["Label1"].caption(), "Wizard");
    // The button hid itself: the focus is on no other button, so holding
    // Enter cannot press a choice the player did not pick.
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == nullptr || qobject_cast<QPushButton*>(focus) == nullptr);
    QKeyEvent keypad(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QWidget* start = widget("Form1", "cmdstart");
    start->setFocus();
    QApplication::sendEvent(start, &keypad);
    EXPECT_EQ(game.state.life, 60);
}

TEST_F(Binding, TextIsPlainEverywhereAndTypingReachesTheGame) {
    auto* box = static_cast<QLineEdit*>(widget("Form1", "txtjump"));
    box->setText(QStringLiteral("<b>code</b> & more"));
    EXPECT_EQ(game.screen("Form1")["txtjump"].caption(), "<b>code</b> & more");
    game.screen("Form1")["Label2"].setCaption("<b>Tom</b> & A&B");
    auto* label = static_cast<QLabel*>(widget("Form1", "Label2"));
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->text(), "<b>Tom</b> & A&B");
    game.screen("Form1")["cmdverify"].setCaption("A&B");
    EXPECT_EQ(static_cast<QPushButton*>(widget("Form1", "cmdverify"))->text(), "A&&B");  // no mnemonic
}

// A probe screen for the drop: an image that can be dragged and two labels,
// one with a drop handler.
void onPictureProbe(Game& g) { g.screen("DropProbe")["plain"].setCaption("picture pressed"); }
void onDropProbe(Game& g, Control& source) {
    source.hide();
    g.screen("DropProbe")["target"].setCaption("dropped " + std::string(source.name()));
}
constexpr std::array dropControls{
    label("target", "", 0, 0, 1500, 1500),
    label("plain", "", 1500, 0, 1500, 1500),
    image("icon", "disc", 3000, 0, 480, 480).draggable("Cheat"),
    image("cup", "cup", 3500, 0, 480, 480),
};
constexpr std::array dropBindings{DropBinding{"target", &onDropProbe}};
constexpr std::array pictureClicks{ClickBinding{"cup", &onPictureProbe}};
constexpr ScreenPart dropPart{.controls = dropControls, .clicks = pictureClicks, .drops = dropBindings};
constexpr std::array<const ScreenPart*, 1> dropParts{&dropPart};
constexpr ScreenDef dropScreen{.name = "DropProbe", .caption = "Drop", .width = 4500, .height = 1500, .parts = dropParts};
constexpr std::array<const ScreenDef*, 1> dropScreens{&dropScreen};

TEST(BindingDrop, AnImageDroppedOnALabelWithADropHandlerReachesTheGame) {
    QtPlatform platform;
    Game game(platform, dropScreens);
    platform.attach(game);
    game.start();
    ScreenWindow* w = platform.window("DropProbe");
    ASSERT_NE(w, nullptr);
    auto dropOn = [&](const char* name) {
        QWidget* target = w->findChild<QWidget*>(QString::fromLatin1(name));
        QMimeData mime;
        mime.setData(kControlMime, "DropProbe.icon");
        // As a real drag does: the label is entered, then the icon let go over it.
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    };
    dropOn("plain");  // no drop handler: nothing happens, the icon stays
    EXPECT_TRUE(game.screen("DropProbe")["icon"].visible());
    EXPECT_FALSE(w->findChild<QWidget*>("plain")->acceptDrops());
    dropOn("target");
    EXPECT_FALSE(game.screen("DropProbe")["icon"].visible());
    EXPECT_FALSE(w->findChild<QWidget*>("icon")->isVisible());
    EXPECT_EQ(static_cast<QLabel*>(w->findChild<QWidget*>("target"))->text(), "dropped icon");
}

TEST(BindingKeyboard, APictureThatDoesSomethingIsReachedByTabAndPressedByEnter) {
    QtPlatform platform;
    Game game(platform, dropScreens);
    platform.attach(game);
    game.start();
    ScreenWindow* w = platform.window("DropProbe");
    QWidget* cup = w->findChild<QWidget*>("cup");
    EXPECT_EQ(cup->focusPolicy(), Qt::StrongFocus);
    // Dragged, never pressed: reached by Tab too, for the keyboard's drag.
    EXPECT_EQ(w->findChild<QWidget*>("icon")->focusPolicy(), Qt::StrongFocus);
    cup->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(cup, &enter);
    EXPECT_EQ(game.screen("DropProbe")["plain"].caption(), "picture pressed");
}

TEST_F(Binding, ClosingAScreenEndsTheGame) {
    platform.window("Form1")->close();
    EXPECT_TRUE(game.ended());
    EXPECT_FALSE(platform.window("Form1")->isVisible());
}

}  // namespace
}  // namespace vendral

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
