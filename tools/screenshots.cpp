// Plays a few short games in real windows and saves a picture of every
// screen: the README's screenshots. Usage: vendral-screenshots OUTDIR [SCALE]
#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "core/game.h"
#include "screens/screens.h"
#include "ui/qt_platform.h"

namespace {

// Answers the name prompt and closes every message box at once.
void answerDialogs() {
    QWidget* w = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        box->button(QMessageBox::Ok)->click();
    } else if (auto* dialog = qobject_cast<QInputDialog*>(w)) {
        dialog->setTextValue(QStringLiteral("Ada"));
        dialog->accept();
    }
}

struct Session {
    Session() {
        platform.attach(game);
        platform.useManualClock(true);
        game.start();
    }
    void click(const char* screen, const char* control) { game.click(screen, control); }
    void type(const char* screen, const char* control, const char* text) { game.type(screen, control, text); }
    bool snap(const char* screen, const QString& file) {
        vendral::ScreenWindow* w = platform.window(screen);
        if (!w || !w->isVisible()) {
            std::fprintf(stderr, "%s is not on screen\n", screen);
            return false;
        }
        QApplication::processEvents();
        return w->grab().save(file);
    }
    vendral::QtPlatform platform;
    vendral::Game game{platform, vendral::allScreens()};
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        std::fprintf(stderr, "usage: vendral-screenshots OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, &answerer, answerDialogs);
    answerer.start(1);
    bool ok = true;
    {
        Session s;
        ok &= s.snap("Form1", out.filePath("1-title.png"));
        s.click("Form1", "cmdintroduction");
        ok &= s.snap("Form2", out.filePath("2-introduction.png"));
        s.click("Form2", "Command1");
        s.click("Form1", "cmdknight");
        s.click("Form1", "cmdstart");
        s.click("Form1", "Command3");
        s.click("Form1", "Command6");
        ok &= s.snap("Form1", out.filePath("3-journey.png"));
    }
    {
        Session s;
        s.click("Form1", "cmdwizard");
        s.type("Form1", "txtjump", "ZKWQXRVMBLA");
        s.click("Form1", "cmdverify");
        s.click("Form1", "Command138");
        s.click("Form3", "cmdstart");
        ok &= s.snap("Form3", out.filePath("4-castle.png"));
    }
    {
        Session s;
        s.click("Form1", "cmdwizard");
        s.type("Form1", "txtjump", "TEKAVURM");
        s.click("Form1", "cmdverify");
        s.click("Form1", "Command138");
        s.click("Form3", "Command53");
        s.platform.advance(15000);  // Nilrem shows himself
        ok &= s.snap("Form4", out.filePath("5-battle.png"));
        s.click("Form4", "cmdlose");
        ok &= s.snap("Form5", out.filePath("6-quit.png"));
        s.click("Form5", "Command2");
        s.click("Form4", "lblactivate");
        s.click("Form4", "cmdfury");
        ok &= s.snap("Form6", out.filePath("7-ending.png"));
    }
    {
        Session s;
        s.click("Form1", "cmdknight");
        s.type("Form1", "txtjump", "TEKAVURM");
        s.click("Form1", "cmdverify");
        s.click("Form1", "Command138");
        s.click("Form3", "Command53");
        s.click("Form4", "lblactivate");
        s.click("Form4", "cmdfury");
        s.click("Form6", "swrd");
        s.click("Form6", "swrd");
        ok &= s.snap("Form6", out.filePath("8-swords.png"));
    }
    return ok ? 0 : 1;
}
