#include "ui/window_driver.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "core/game.h"
#include "core/hit.h"
#include "core/script_clock.h"
#include "replay/headless.h"
#include "ui/qt_platform.h"
#include "ui/widgets.h"

namespace vendral {

namespace {

std::string text(Refusal r) { return std::string(refusalText(r)); }
std::string utf8(const QString& s) { return s.toStdString(); }

// The window binding with what a scripted run fixes in advance: the seed,
// the queued random draws and a clock that moves only when the script waits.
// The clock labels read that clock from nine in the morning of the first day
// of 2000, as the headless player's do, so both write the same transcript.
class ScriptedWindowPlatform : public QtPlatform {
public:
    explicit ScriptedWindowPlatform(std::uint64_t seed) : seed_(seed) { useManualClock(true); }

    std::function<void(const std::string&)> onLine;
    void queueRoll(int d) { rolls_.push_back(d); }

    std::uint64_t randomSeed() override { return seed_; }
    std::optional<int> scriptedRoll() override {
        if (rolls_.empty()) return std::nullopt;
        const int d = rolls_.front();
        rolls_.pop_front();
        return d;
    }
    std::string timeText() override { return scriptedTimeText(nowMs()); }
    std::string dateText() override { return scriptedDateText(nowMs()); }
    void endProgram() override {
        if (onLine) onLine("end");
        QtPlatform::endProgram();
    }

private:
    std::uint64_t seed_;
    std::deque<int> rolls_;
};

// What kind of control a widget of a screen window stands for.
std::optional<Kind> kindOf(const QWidget* w) {
    if (!w) return std::nullopt;
    if (qobject_cast<const QPushButton*>(w)) return Kind::Button;
    if (qobject_cast<const QLineEdit*>(w)) return Kind::TextBox;
    if (qobject_cast<const QLabel*>(w)) return Kind::Label;
    if (dynamic_cast<const PictureView*>(w)) return Kind::Image;
    return std::nullopt;
}

// The caption as the player reads it off the widget.
std::string captionOf(const QWidget* w, Kind kind) {
    switch (kind) {
    case Kind::Button: {
        // The button's text doubles every ampersand so none becomes a mnemonic.
        QString shown = static_cast<const QPushButton*>(w)->text();
        shown.replace(QLatin1String("&&"), QLatin1String("&"));
        return utf8(shown);
    }
    case Kind::Label: return utf8(static_cast<const QLabel*>(w)->text());
    case Kind::TextBox: return utf8(static_cast<const QLineEdit*>(w)->text());
    case Kind::Image:
    case Kind::Timer: break;
    }
    return {};
}

class WindowDriver : public ReplayDriver {
public:
    WindowDriver(std::uint64_t seed, std::span<const ScreenDef* const> screens)
        : platform_(seed), game_(platform_, screens) {
        platform_.attach(game_);
        platform_.onLine = [this](const std::string& l) { pending_ += l + "\n"; };
        // Every modal dialog the game opens is read and answered as soon as
        // its event loop runs; a mouse button left down by a picked-up
        // picture is let go the same way.
        poll_.setInterval(0);
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { answer(); });
        poll_.start();
    }
    ~WindowDriver() override { poll_.stop(); }

    void queueName(const std::string* answer) override {
        names_.push_back(answer ? std::optional<std::string>(*answer) : std::nullopt);
    }
    void queueRoll(int d) override { platform_.queueRoll(d); }
    void start() override {
        game_.start();
        settle();
    }
    bool ended() const override { return game_.ended(); }

    std::string click(const std::string& form, const std::string& control) override {
        ScreenWindow* win = nullptr;
        QWidget* w = nullptr;
        Control* c = nullptr;
        if (std::string why = find(form, control, &win, &w, &c); !why.empty()) return why;
        const auto kind = kindOf(w);
        if (!kind || *kind == Kind::TextBox) return text(Refusal::NotClickable);
        if (!win->isVisible()) return text(Refusal::ScreenHidden);
        if (!w->isVisibleTo(win)) return text(Refusal::ControlHidden);
        if (!w->isEnabled()) return text(Refusal::ControlDisabled);
        // The mouse goes down and up where a player's click on the control
        // lands, on whatever lies on top there.
        QPoint point;
        QWidget* top = nullptr;
        if (std::string why = landing(win, *c, &point, &top); !why.empty()) return why;
        press(top, top->mapFrom(win, point));
        settle();
        return {};
    }

    std::string type(const std::string& form, const std::string& control, const std::string& typed) override {
        ScreenWindow* win = nullptr;
        QWidget* w = nullptr;
        if (std::string why = find(form, control, &win, &w); !why.empty()) return why;
        auto* box = qobject_cast<QLineEdit*>(w);
        if (!box) return text(Refusal::NotTextBox);
        if (!win->isVisible()) return text(Refusal::ScreenHidden);
        if (!box->isVisibleTo(win)) return text(Refusal::ControlHidden);
        box->setText(QString::fromStdString(typed));
        settle();
        return {};
    }

    // The drop is delivered as Qt delivers a real one where a click on the
    // target would land: to the widget there, or the nearest parent that
    // takes drops, entered, moved over and let go. (A real QDrag cannot be
    // steered under every platform: offscreen ends it at once.)
    std::string drag(const std::string& form, const std::string& image, const std::string& toForm,
                     const std::string& target) override {
        ScreenWindow* win = nullptr;
        QWidget* w = nullptr;
        if (std::string why = find(form, image, &win, &w); !why.empty()) return why;
        auto* picture = dynamic_cast<PictureView*>(w);
        if (!picture || !picture->draggable) return text(Refusal::NotDraggable);
        if (!win->isVisible()) return text(Refusal::ScreenHidden);
        if (!picture->isVisibleTo(win)) return text(Refusal::ControlHidden);
        ScreenWindow* toWin = nullptr;
        QWidget* to = nullptr;
        Control* c = nullptr;
        if (std::string why = find(toForm, target, &toWin, &to, &c); !why.empty()) return why;
        // A drop on a hidden target does nothing.
        if (toWin->isVisible() && to && to->isVisibleTo(toWin)) {
            QPoint point;
            QWidget* top = nullptr;
            if (std::string why = landing(toWin, *c, &point, &top); !why.empty()) return why;
            drop(picture, top, top->mapFrom(toWin, point));
        }
        settle();
        return {};
    }

    void wait(std::int64_t ms) override {
        platform_.advance(ms);
        settle();
    }

    std::string screen(const std::string& form) override {
        if (!game_.findDef(form)) return {};
        ScreenWindow* win = platform_.window(form);
        if (!win) return "screen " + form + " not loaded\n";
        std::string out = "screen " + utf8(win->objectName()) + " visible=" + (win->isVisible() ? "yes" : "no") +
                          " caption=" + quoted(utf8(win->windowTitle())) + "\n";
        // The controls in the order of the screen's table, each read off its widget.
        for (const Control& c : win->screen().controls()) {
            QWidget* w = win->widgetFor(c);
            const auto kind = kindOf(w);
            if (!kind || !w->isVisibleTo(win)) continue;
            out += "  " + utf8(w->objectName()) + " kind=" + std::string(kindName(*kind)) +
                   " caption=" + quoted(captionOf(w, *kind)) + " enabled=" + (w->isEnabled() ? "yes" : "no") +
                   "\n";
        }
        return out;
    }

    std::string state() override { return describeState(game_); }

    void flush(std::ostream& out) override {
        out << pending_;
        pending_.clear();
    }

private:
    // The window, widget and control of FORM.CONTROL, or why the player cannot reach it.
    std::string find(const std::string& form, const std::string& control, ScreenWindow** win, QWidget** w,
                     Control** c = nullptr) {
        if (game_.ended()) return text(Refusal::Ended);
        Control* found = nullptr;
        if (Refusal r = game_.lookUp(form, control, &found); r != Refusal::None) return text(r);
        if (c) *c = found;
        *win = platform_.window(found->screen());
        *w = *win ? (*win)->widgetFor(*found) : nullptr;
        if (!*win) return text(Refusal::NotLoaded);
        return {};
    }

    void send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        const QPointF local(at);
        const QPointF inWindow(target->mapTo(target->window(), at));
        const QPointF global(target->mapToGlobal(at));
        QMouseEvent e(type, local, inWindow, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }

    void press(QWidget* target, QPoint at) {
        held_ = target;
        heldAt_ = at;
        send(target, QEvent::MouseButtonPress, at, Qt::LeftButton);
        release();
    }

    // Lets go of the mouse button if it is still down.
    void release() {
        QPointer<QWidget> target = held_;
        held_.clear();
        if (target) send(target, QEvent::MouseButtonRelease, heldAt_, Qt::NoButton);
    }

    // Where a click or a drop on the control lands in its window (core/hit.h)
    // and the widget on top there, the window itself when none; or why it
    // cannot land.
    std::string landing(ScreenWindow* win, const Control& c, QPoint* point, QWidget** top) {
        const auto at = clickPoint(c);
        if (!at) return text(Refusal::Covered);
        *point = QPoint(pixelsOf(at->x), pixelsOf(at->y));
        const Control* receiver = controlAt(win->screen(), *at);
        QWidget* expected = receiver ? win->widgetFor(*receiver) : nullptr;
        *top = win->childAt(*point);
        if (*top != expected && !(expected && expected->isAncestorOf(*top)))
            return "the window and the screen model disagree on what lies at (" + std::to_string(point->x()) + ", " +
                   std::to_string(point->y()) + ")";
        if (!*top) *top = win;
        return {};
    }

    // Drops the source's data at a point of the widget on top there.
    void drop(PictureView* source, QWidget* top, QPoint point) {
        QWidget* under = top;
        while (under && !under->isWindow() && !under->acceptDrops()) under = under->parentWidget();
        if (!under || !under->acceptDrops()) return;
        std::unique_ptr<QMimeData> mime(source->dragData());
        const QPoint at = top->mapTo(under, point);
        const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
        QDragEnterEvent enter(at, actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(under, &enter);
        if (!enter.isAccepted()) return;
        QDragMoveEvent move(at, actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(under, &move);
        if (!move.isAccepted()) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(under, &leave);
            return;
        }
        QDropEvent dropped(QPointF(at), move.dropAction(), mime.get(), Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(under, &dropped);
    }

    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (!box->isVisible()) return;
            pending_ += "message: " + oneLine(utf8(box->text())) + "\n";
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->accept();
        } else if (auto* dialog = qobject_cast<QInputDialog*>(modal)) {
            if (!dialog->isVisible()) return;
            pending_ += "prompt: " + oneLine(utf8(dialog->windowTitle())) + " | " + oneLine(utf8(dialog->labelText())) +
                        "\n";
            std::optional<std::string> name;
            if (!names_.empty()) {
                name = std::move(names_.front());
                names_.pop_front();
            }
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            if (name) {
                pending_ += "answer: " + oneLine(*name) + "\n";
                dialog->setTextValue(QString::fromStdString(*name));
                if (QAbstractButton* ok = buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr)
                    ok->click();
                else
                    dialog->accept();
            } else {
                pending_ += "answer: (cancel)\n";
                if (QAbstractButton* cancel = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr)
                    cancel->click();
                else
                    dialog->reject();
            }
        } else if (!modal && held_) {
            // A picture picked up for a drag waits for the button to come up.
            release();
        }
    }

    // Lets the window catch up with what the last action changed, as the
    // event loop would between two of the player's actions.
    void settle() { QCoreApplication::processEvents(); }

    ScriptedWindowPlatform platform_;
    Game game_;
    QTimer poll_;
    std::deque<std::optional<std::string>> names_;
    std::string pending_;
    QPointer<QWidget> held_;
    QPoint heldAt_;
};

}  // namespace

std::unique_ptr<ReplayDriver> makeWindowDriver(std::uint64_t seed, std::span<const ScreenDef* const> screens) {
    return std::make_unique<WindowDriver>(seed, screens);
}

int replayInWindow(int argc, char** argv, const std::vector<ScriptLine>& script, std::uint64_t seed,
                   std::ostream& out, std::span<const ScreenDef* const> screens) {
    std::unique_ptr<QApplication> app;
    if (!QApplication::instance()) app = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vendral"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vendral"));
    // As in the game: message boxes before the first screen is shown must
    // not end the run when they close.
    QApplication::setQuitOnLastWindowClosed(false);
    int status = 0;
    // The script plays inside the application's event loop, as a player's
    // actions arrive in the game's.
    QTimer::singleShot(0, [&] {
        {
            WindowDriver driver(seed, screens);
            status = runScript(script, driver, out);
        }
        QCoreApplication::exit(0);
    });
    QApplication::exec();
    return status;
}

}  // namespace vendral
