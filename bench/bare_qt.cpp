// The toolkit's floor: a bare Qt Widgets program doing, at its simplest,
// what the game's window does in each benchmark, so that every figure of
// the game can be read next to the same figure for Qt itself.
//
//   bench-bare-qt startup   one window made, the name prompt shown (and left
//                           open: the watcher ends the program)
//   bench-bare-qt memory    the prompt answered, one message box, the window
//                           shown; prints peak_rss_kb one second later
//   bench-bare-qt clock     the window with a label rewritten every second,
//                           like a screen's clock; prints its CPU over 10 s
//   bench-bare-qt credits   six labels rising one pixel per tick of six
//                           timers at 4 to 9 ms, started 1.5 s apart; prints
//                           its CPU over 10 s once all six run
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTime>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <memory>
#include <vector>

#include "qt_bench.h"

namespace {

// The same application set-up as the game's own.
void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Vendral"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vendral"));
    QApplication::setQuitOnLastWindowClosed(false);
}

// One plain top-level window with a label and a button.
std::unique_ptr<QWidget> makeWindow() {
    auto w = std::make_unique<QWidget>();
    w->setWindowTitle(QStringLiteral("Bare window"));
    w->setFixedSize(480, 438);
    auto* label = new QLabel(QStringLiteral("A label"), w.get());
    label->setObjectName(QStringLiteral("label"));
    label->setGeometry(10, 10, 300, 40);
    auto* button = new QPushButton(QStringLiteral("A button"), w.get());
    button->setGeometry(10, 60, 120, 30);
    (void)w->winId();
    return w;
}

QString askName(QWidget* parent) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Vendral"));
    dialog.setLabelText(QStringLiteral("Please put in your name"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.exec();
    return dialog.textValue();
}

void tell(QWidget* parent, const QString& text) {
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Vendral"));
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

int runStartup() {
    auto window = makeWindow();
    askName(nullptr);
    tell(nullptr, QStringLiteral("Hello"));
    window->show();
    return QApplication::exec();
}

int runMemory() {
    bench::trace("application made");
    bench::AutoAnswer answer(QStringLiteral("Tom"));
    auto window = makeWindow();
    if (askName(nullptr) != QLatin1String("Tom")) bench::fail("the prompt was not answered");
    tell(nullptr, QStringLiteral("Hello"));
    bench::trace("name prompt answered");
    window->show();
    bench::pump(1000);
    bench::trace("window shown");
    if (!window->isVisible()) bench::fail("the window is not shown");
    bench::report("peak_rss_kb", static_cast<double>(bench::peakRssKb()));
    return 0;
}

int runClock() {
    auto window = makeWindow();
    auto* label = window->findChild<QLabel*>(QStringLiteral("label"));
    QTimer tick;
    tick.setInterval(1000);
    QObject::connect(&tick, &QTimer::timeout, label, [label] { label->setText(QTime::currentTime().toString()); });
    tick.start();
    window->show();
    bench::pump(1000);
    const bench::Load load = bench::measure(10000);
    bench::report("cpu_percent", load.cpuPercent);
    bench::report("wakeups_per_s", load.wakeupsPerSecond);
    bench::report("main_wakeups_per_s", load.mainWakeupsPerSecond);
    return 0;
}

int runCredits() {
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare credits"));
    window.setFixedSize(584, 406);
    std::vector<QLabel*> lines;
    std::vector<std::unique_ptr<QTimer>> timers;
    for (int i = 0; i < 6; ++i) {
        auto* l = new QLabel(QStringLiteral("A line of the credits"), &window);
        l->setGeometry(248, 368 + (i == 1 ? 16 : 8), 150, 33);
        l->hide();
        lines.push_back(l);
        auto t = std::make_unique<QTimer>();
        t->setInterval(4 + i);
        QObject::connect(t.get(), &QTimer::timeout, l, [l] {
            l->show();
            l->move(l->x(), l->y() - 1);
        });
        timers.push_back(std::move(t));
    }
    window.show();
    // One more line starts rising every 1.5 s.
    for (auto& t : timers) {
        bench::pump(1500);
        t->start();
    }
    bench::pump(200);
    const bench::Load load = bench::measure(10000);
    bench::report("cpu_percent", load.cpuPercent);
    bench::report("wakeups_per_s", load.wakeupsPerSecond);
    bench::report("main_wakeups_per_s", load.mainWakeupsPerSecond);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setUpApplication();
    const char* mode = argc > 1 ? argv[1] : "";
    if (!std::strcmp(mode, "startup")) return runStartup();
    if (!std::strcmp(mode, "memory")) return runMemory();
    if (!std::strcmp(mode, "clock")) return runClock();
    if (!std::strcmp(mode, "credits")) return runCredits();
    std::fprintf(stderr, "usage: bench-bare-qt startup|memory|clock|credits\n");
    return 2;
}
