#include "ui/qt_platform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPixmapCache>
#include <QScreen>
#include <QShortcut>
#include <QTime>
#include <algorithm>
#include <limits>
#include <utility>

#include "core/hit.h"
#include "core/pictures.h"
#include "ui/widgets.h"

namespace vendral {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The screens were laid out for a narrow sans-serif face at 8 points; Liberation
// Sans keeps their captions inside their boxes, any sans-serif face stands in.
QFont screenFont() {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(8.25);
    return f;
}

void applyFont(QWidget* w, const Font& font) {
    if (font.points <= 0 && !font.bold) return;
    QFont f = w->font();
    if (font.points > 0) f.setPointSizeF(font.points);
    f.setBold(font.bold);
    w->setFont(f);
}

// A label's text wraps inside its box; where the stand-in face still runs
// longer than the box, the text is set a little smaller so none of it is lost.
void fitLabel(QLabel* l, const Font& designed) {
    QFont f = l->font();
    qreal size = designed.points > 0 ? designed.points : screenFont().pointSizeF();
    f.setPointSizeF(size);
    const QRect box(0, 0, l->width(), 100000);
    while (size > 6) {
        f.setPointSizeF(size);
        const QRect need = QFontMetrics(f).boundingRect(box, Qt::TextWordWrap, l->text());
        if (need.height() <= l->height() && need.width() <= l->width()) break;
        size -= 0.5;
    }
    if (l->font().pointSizeF() != f.pointSizeF()) l->setFont(f);
}

}  // namespace

// ---------------------------------------------------------------------------

ScreenWindow::ScreenWindow(QtPlatform& owner, Screen& screen) : owner_(&owner), screen_(&screen) {
    const ScreenDef& def = screen.def();
    setObjectName(qs(def.name));
    // Internal names are for tools, never read out to players (widgets.h).
    const bool ids = accessibleIds();
    if (ids) setAccessibleDescription(qs(def.name));
    setWindowTitle(QString::fromStdString(screen.caption()));
    setFixedSize(pixelsOf(def.width), pixelsOf(def.height));
    // The window itself can hold the focus, so a button that hides or greys
    // itself does not hand the Enter key to another choice.
    setFocusPolicy(Qt::ClickFocus);
    setFont(screenFont());
    // The screens keep their own light colours under a dark desktop theme, so
    // black captions stay readable on their grey and white.
    setPalette(QPalette(QColor(240, 240, 240)));
    if (def.hasBackground) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(def.background.r, def.background.g, def.background.b));
        setPalette(pal);
        setAutoFillBackground(true);
    }
    const QString screenName = qs(def.name);
    Game& game = owner.game();
    widgets_.reserve(screen.controls().size());
    for (Control& c : screen.controls()) {
        const ControlDef& d = c.def();
        const QString name = qs(d.name);
        QWidget* w = nullptr;
        switch (d.kind) {
        case Kind::Button: {
            auto* b = new GameButton(this);
            b->setFocusPolicy(Qt::StrongFocus);
            b->setAutoDefault(false);
            QObject::connect(b, &QPushButton::clicked, b, [&game, screenName, name] {
                game.press(screenName.toStdString(), name.toStdString());
            });
            if (d.hasBackground) {
                QPalette pal = b->palette();
                const QColor colour(d.background.r, d.background.g, d.background.b);
                pal.setColor(QPalette::Button, colour);
                pal.setColor(QPalette::ButtonText, Qt::white);
                b->setPalette(pal);
            }
            w = b;
            break;
        }
        case Kind::Label: {
            auto* l = new GameLabel(this, screenName, name);
            if (c.onClick)
                l->onClick = [&game, screenName, name] { game.press(screenName.toStdString(), name.toStdString()); };
            if (c.onDrop) {
                l->setAcceptDrops(true);
                l->onDrop = [&game, screenName, name](const QString& source) {
                    const auto dot = source.indexOf(QLatin1Char('.'));
                    if (dot < 0) return;
                    game.drag(source.left(dot).toStdString(), source.mid(dot + 1).toStdString(),
                              screenName.toStdString(), name.toStdString());
                };
            }
            w = l;
            break;
        }
        case Kind::Image: {
            auto* p = new PictureView(this, screenName, name);
            p->stretch = d.stretch;
            p->draggable = d.dragAuto;
            if (c.onClick) {
                p->onClick = [&game, screenName, name] { game.press(screenName.toStdString(), name.toStdString()); };
                // A picture that does something is reached with Tab and pressed with Enter or Space.
                p->setFocusPolicy(Qt::StrongFocus);
            } else if (d.dragAuto) {
                // A picture that can be dragged is reached with Tab too, and
                // dragged with the keys (widgets.h).
                p->setFocusPolicy(Qt::StrongFocus);
                p->dropTargets = [this] { return dropTargets(); };
                p->say = [this](const QString& text) { announcer_->say(text); };
                p->onKeyDrop = [this, &game, screenName, name](QLabel* target) {
                    const Control* to = controlFor(target);
                    if (!to) return;
                    // The core's drop: it lands where a click on the label
                    // would, as the pointer's does.
                    const Refusal r = game.drag(screenName.toStdString(), name.toStdString(), screenName.toStdString(),
                                                std::string(to->name()));
                    if (r != Refusal::None) announcer_->say(qs(refusalText(r)));
                };
            }
            w = p;
            break;
        }
        case Kind::TextBox: {
            auto* t = new QLineEdit(this);
            QObject::connect(t, &QLineEdit::textChanged, t, [&game, screenName, name](const QString& text) {
                game.type(screenName.toStdString(), name.toStdString(), text.toStdString());
            });
            w = t;
            break;
        }
        case Kind::Timer:
            break;
        }
        if (w) {
            // A label or picture that does nothing lets a click through to
            // what lies beneath (core/hit.h, which the scripted player follows).
            if (!takesMouse(c)) w->setAttribute(Qt::WA_TransparentForMouseEvents);
            w->setObjectName(name);
            if (ids) w->setAccessibleDescription(name);
            applyFont(w, d.font);
        }
        widgets_.push_back(w);
    }
    // Buttons and the text box lie above labels and pictures, whatever the
    // table order: an overlapping label never swallows a button's click. The
    // stacking of core/hit.h, which the scripted player follows.
    for (QWidget* w : widgets_)
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QLineEdit*>(w)) w->raise();
    announcer_ = new Announcer(this);
    // The repeat key: no control of the game uses it, and screen readers
    // leave a bare F2 to the program.
    auto* repeat = new QShortcut(QKeySequence(Qt::Key_F2), this);
    repeat->setContext(Qt::WindowShortcut);
    QObject::connect(repeat, &QShortcut::activated, this, [&owner] { owner.repeatKey(); });
    applyAll();
}

const Control* ScreenWindow::controlFor(const QWidget* w) const {
    for (std::size_t i = 0; i < widgets_.size(); ++i)
        if (w && widgets_[i] == w) return &screen_->controls()[i];
    return nullptr;
}

std::vector<QLabel*> ScreenWindow::dropTargets() const {
    // The labels on show that take a drop, top to bottom, then left to right.
    std::vector<const Control*> found;
    for (const Control& c : screen_->controls())
        if (c.kind() == Kind::Label && c.onDrop && c.visible()) found.push_back(&c);
    std::stable_sort(found.begin(), found.end(), [](const Control* a, const Control* b) {
        return a->top() != b->top() ? a->top() < b->top() : a->left() < b->left();
    });
    std::vector<QLabel*> labels;
    for (const Control* c : found) labels.push_back(static_cast<QLabel*>(widgetFor(*c)));
    return labels;
}

void ScreenWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) owner_->windowActivated(this);
}

QWidget* ScreenWindow::widgetFor(const Control& c) const {
    const auto& all = screen_->controls();
    const auto index = static_cast<std::size_t>(&c - all.data());
    return index < widgets_.size() ? widgets_[index] : nullptr;
}

void ScreenWindow::apply(const Control& c) {
    QWidget* w = widgetFor(c);
    if (!w) return;
    const ControlDef& d = c.def();
    // focusWidget(), not hasFocus(): while a message box is active the window
    // still remembers the button, and would hand the focus on when the box closes.
    if ((!c.visible() || !c.enabled()) && focusWidget() == w) {
        setFocus(Qt::OtherFocusReason);
        focusParked = true;
    }
    w->setGeometry(pixelsOf(c.left()), pixelsOf(c.top()), pixelsOf(d.width), pixelsOf(d.height));
    const QString caption = QString::fromStdString(c.caption());
    switch (d.kind) {
    case Kind::Button: {
        auto* b = static_cast<GameButton*>(w);
        b->setCaption(caption);
        b->setPictureName(QString::fromStdString(c.picture()));
        break;
    }
    case Kind::Label: {
        // Fitting lays the text out, which is slow: only a new text needs it.
        // A label that merely moves (the rising credits) keeps its fit.
        auto* l = static_cast<QLabel*>(w);
        if (l->text() != caption) {
            l->setText(caption);
            fitLabel(l, d.font);
        }
        break;
    }
    case Kind::Image: {
        auto* p = static_cast<PictureView*>(w);
        p->setPictureName(QString::fromStdString(c.picture()));
        // A screen reader says what the picture shows, not its file name.
        const QString description = QString::fromStdString(pictureWordsOf(c));
        if (p->accessibleName() != description) p->setAccessibleName(description);
        break;
    }
    case Kind::TextBox: {
        auto* t = static_cast<QLineEdit*>(w);
        if (t->text() != caption) t->setText(caption);
        break;
    }
    case Kind::Timer:
        break;
    }
    w->setEnabled(c.enabled());
    w->setVisible(c.visible());
}

void ScreenWindow::applyAll() {
    for (const Control& c : screen_->controls()) apply(c);
}

void ScreenWindow::closeEvent(QCloseEvent* e) {
    // The game has no way back from a closed screen: closing any of them ends it.
    e->ignore();
    owner_->windowClosed();
}

// ---------------------------------------------------------------------------

QtPlatform::QtPlatform() {
    // The style keeps a finished picture of every button face it has drawn,
    // one per size and state, for as long as its cache has room: the big
    // picture buttons of the title would stay in memory long after they are
    // hidden for good. A smaller cache keeps the faces of the buttons in use
    // and redraws the rare others when they show again.
    QPixmapCache::setCacheLimit(1024);
    clock_.start();
    wallOffset_ = QDateTime::currentMSecsSinceEpoch();
    wakeTimer_.setSingleShot(true);
    wakeTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wakeTimer_, &QTimer::timeout, this, [this] { wake(); });
    speechTimer_.setSingleShot(true);
    QObject::connect(&speechTimer_, &QTimer::timeout, this, [this] { trySpeak(true); });
}

QtPlatform::~QtPlatform() = default;

ScreenWindow* QtPlatform::window(const Screen& s) const {
    auto it = windows_.find(&s);
    return it == windows_.end() ? nullptr : it->second.get();
}

ScreenWindow* QtPlatform::window(std::string_view name) const {
    for (const auto& [screen, w] : windows_)
        if (screen->name() == name) return w.get();
    return nullptr;
}

QWidget* QtPlatform::activeWindow() const {
    if (!game_) return nullptr;
    const auto& order = game_->loadedScreens();
    // The screen the player looks at: the active one, else the last shown.
    for (Screen* s : order)
        if (ScreenWindow* w = window(*s); w && w->isVisible() && w->isActiveWindow()) return w;
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (ScreenWindow* w = window(**it); w && w->isVisible()) return w;
    return nullptr;
}

ScreenWindow* QtPlatform::topWindow() const {
    const Screen* top = game_ ? topScreen(*game_) : nullptr;
    return top ? window(*top) : nullptr;
}

void QtPlatform::stepEnded(const Control* tick) {
    if (!watch_) return;
    const Announcement a = watch_->step(tick);
    if (a.empty()) return;
    if (onSpoken) onSpoken(a.lines, false);
    QString text = qs(a.text());
    // Where the pressed control hid or greyed itself, reading starts again
    // at the label the core names, which takes the focus: its name then
    // carries the news, so it is spoken once, as the focus arrives.
    bool parked = false;
    for (auto& [screen, w] : windows_) {
        parked = parked || (w->focusParked && w->focusWidget() == w.get());
        w->focusParked = false;
    }
    if (parked && a.readFrom) {
        ScreenWindow* w = window(a.readFrom->screen());
        if (auto* label = dynamic_cast<GameLabel*>(w ? w->widgetFor(*a.readFrom) : nullptr)) {
            // The label's own caption first, when the news does not start with it.
            const QString caption = QString::fromStdString(a.readFrom->caption());
            if (a.lines.front() != a.readFrom->caption()) text = caption + QLatin1Char('\n') + text;
            lastSpoken_ = text;
            label->readOut(text);
            return;
        }
    }
    pendingSpeech_ = pendingSpeech_.isEmpty() ? text : pendingSpeech_ + QLatin1Char('\n') + text;
    trySpeak(false);
}

void QtPlatform::trySpeak(bool force) {
    if (pendingSpeech_.isEmpty()) return;
    ScreenWindow* w = topWindow();
    if (!w) {
        pendingSpeech_.clear();
        return;
    }
    // Never over a message box: the news follows it.
    if (QApplication::activeModalWidget() || !(force || w->isActiveWindow())) {
        speechTimer_.start(1500);
        return;
    }
    speechTimer_.stop();
    lastSpoken_ = std::exchange(pendingSpeech_, QString());
    w->announcer().say(lastSpoken_);
}

void QtPlatform::flushSpeech() {
    if (!QApplication::activeModalWidget()) trySpeak(true);
}

void QtPlatform::windowActivated(ScreenWindow* w) {
    // The window hands its focus back right after this: the screen reader
    // speaks that first, then the news, which nothing cuts off.
    if (w == topWindow() && !pendingSpeech_.isEmpty())
        QTimer::singleShot(0, this, [this] {
            if (ScreenWindow* top = topWindow(); top && top->isActiveWindow()) trySpeak(false);
        });
}

void QtPlatform::repeatKey() {
    if (!game_ || game_->ended()) return;
    flushSpeech();
    ScreenWindow* w = topWindow();
    if (!w) return;
    const Announcement a = repeatAnnouncement(*game_);
    if (onSpoken) onSpoken(a.lines, true);
    lastSpoken_ = qs(a.text());
    w->announcer().say(lastSpoken_);
}

void QtPlatform::windowClosed() {
    if (game_) game_->end();
}

void QtPlatform::messageBox(const std::string& text) {
    QMessageBox box(activeWindow());
    box.setWindowTitle(QStringLiteral("Vendral"));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

std::optional<std::string> QtPlatform::prompt(const std::string& title, const std::string& text) {
    QInputDialog dialog(activeWindow());
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setLabelText(QString::fromStdString(text));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

std::int64_t QtPlatform::nowMs() { return manualClock_ ? manual_.now() : clock_.elapsed(); }

std::optional<std::int64_t> QtPlatform::wallClockOffset() {
    if (manualClock_) return std::nullopt;
    return wallOffset_;
}

std::string QtPlatform::timeText() {
    // The desktop's own long time format carries the seconds; the zone is dropped.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(QTime::currentTime(), format.trimmed()).toStdString();
}

std::string QtPlatform::dateText() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

std::uint64_t QtPlatform::randomSeed() {
    return static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()) * 1000003u +
           static_cast<std::uint64_t>(clock_.nsecsElapsed());
}

void QtPlatform::endProgram() {
    wakeTimer_.stop();
    for (auto& [screen, w] : windows_) w->hide();
    QCoreApplication::exit(0);
}

void QtPlatform::screenLoaded(Screen& s) {
    auto w = std::make_unique<ScreenWindow>(*this, s);
    // The native window exists before the screen is first shown, so the
    // accessibility bus lists a loaded screen as hidden rather than absent.
    (void)w->winId();
    windows_[&s] = std::move(w);
}

void QtPlatform::screenChanged(Screen& s) {
    ScreenWindow* w = window(s);
    if (!w) return;
    w->setWindowTitle(QString::fromStdString(s.caption()));
    if (!s.visible()) {
        w->hide();
        return;
    }
    if (!w->shownOnce) {
        w->shownOnce = true;
        QRect area;
        const ScreenWindow* owner = s.def().centreOnOwner ? window("Form4") : nullptr;
        if (owner)
            area = owner->geometry();
        else if (QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
        if (area.isValid()) w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
    }
    w->show();
    w->raise();
    w->activateWindow();
}

void QtPlatform::controlChanged(Control& c) {
    if (ScreenWindow* w = window(c.screen())) w->apply(c);
}

void QtPlatform::advance(std::int64_t ms) { manual_.advance(game_, ms); }

void QtPlatform::timersChanged() {
    if (!game_ || manualClock_) return;
    // The core gathers ticks due close together into one wake-up
    // (core/live_wake.h); the one timer is armed for it.
    const std::int64_t now = nowMs();
    const auto at = liveWake_.next(*game_, now);
    if (!at) {
        wakeTimer_.stop();
        return;
    }
    const std::int64_t delay = std::clamp<std::int64_t>(*at - now, 0, std::numeric_limits<int>::max());
    wakeTimer_.start(static_cast<int>(delay));
}

void QtPlatform::wake() {
    if (!game_ || game_->ended()) return;
    liveWake_.woke(nowMs());
    game_->runDueTimers();
}

}  // namespace vendral
