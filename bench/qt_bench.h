// Helpers shared by the Qt benchmark programs: a player who answers every
// modal box shortly after it appears (without a polling timer, so an idle
// program stays idle), waiting on the event loop, and the load over an
// interval spent in the event loop.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "probe.h"

namespace bench {

class AutoAnswer : public QObject {
public:
    explicit AutoAnswer(QString name, int delayMs = 20) : name_(std::move(name)), delayMs_(delayMs) {
        qApp->installEventFilter(this);
    }
    ~AutoAnswer() override { qApp->removeEventFilter(this); }
    std::vector<QString> messages;  // every message box text, in order
    int prompts = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Show || !o->isWidgetType()) return false;
        if (auto* box = qobject_cast<QMessageBox*>(o)) {
            messages.push_back(box->text());
            QPointer<QMessageBox> p(box);
            QTimer::singleShot(delayMs_, this, [p] {
                if (p && p->isVisible()) p->button(QMessageBox::Ok)->click();
            });
        } else if (auto* dialog = qobject_cast<QInputDialog*>(o)) {
            ++prompts;
            QPointer<QInputDialog> p(dialog);
            QTimer::singleShot(delayMs_, this, [p, this] {
                if (!p || !p->isVisible()) return;
                p->setTextValue(name_);
                p->accept();
            });
        }
        return false;
    }

private:
    QString name_;
    int delayMs_;
};

// Let the event loop run for `ms` milliseconds.
inline void pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Run the event loop until `done` holds (checked every 50 ms), at most `ms`.
inline bool pumpUntil(const std::function<bool()>& done, int ms) {
    for (int waited = 0; waited < ms; waited += 50) {
        if (done()) return true;
        pump(50);
    }
    return done();
}

// CPU and wake-ups while the event loop runs undisturbed for `ms`.
inline Load measure(int ms) {
    const Usage a = usage();
    pump(ms);
    return between(a, usage());
}

inline void report(const char* what, double value) {
    std::printf("%s=%.4f\n", what, value);
    std::fflush(stdout);
}

// With BENCH_TRACE set, the resident memory at each named step goes to stderr.
inline void trace(const char* step) {
    static const bool on = std::getenv("BENCH_TRACE") != nullptr;
    if (on)
        std::fprintf(stderr, "trace %-24s rss %6ld kB (anon %6ld, file %6ld, shared %5ld)  peak %6ld kB\n", step,
                     statusKb("VmRSS:"), statusKb("RssAnon:"), statusKb("RssFile:"), statusKb("RssShmem:"),
                     peakRssKb());
}

[[noreturn]] inline void fail(const std::string& why) {
    std::fprintf(stderr, "bench: %s\n", why.c_str());
    std::fflush(stderr);
    std::exit(3);
}

}  // namespace bench
