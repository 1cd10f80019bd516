// The game in real windows: one top-level widget per screen mirroring the
// screen model, QMessageBox for messages, a name prompt dialog, one
// single-shot QTimer that wakes the game when its next timer tick falls due,
// and the end of the program.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <map>
#include <memory>
#include <vector>

#include "core/game.h"
#include "core/live_wake.h"
#include "core/script_clock.h"
#include "core/spoken.h"

namespace vendral {

class QtPlatform;

class Announcer;
class GameLabel;

// One screen's window.
class ScreenWindow : public QWidget {
public:
    ScreenWindow(QtPlatform& owner, Screen& screen);
    Screen& screen() const { return *screen_; }
    QWidget* widgetFor(const Control& c) const;
    // The control a widget of this window stands for, or null.
    const Control* controlFor(const QWidget* w) const;
    void apply(const Control& c);
    void applyAll();
    Announcer& announcer() const { return *announcer_; }
    bool shownOnce = false;
    // The focused control hid or greyed itself and the window holds the
    // focus meanwhile, until the step ends and reading starts again.
    bool focusParked = false;

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    std::vector<QLabel*> dropTargets() const;

    QtPlatform* owner_;
    Screen* screen_;
    std::vector<QWidget*> widgets_;  // one per control, null for a timer
    Announcer* announcer_;
};

class QtPlatform : public QObject, public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // Before game.start(): the screen reader's watch starts with the game.
    void attach(Game& game) {
        game_ = &game;
        watch_.emplace(game);
    }
    Game& game() const { return *game_; }
    ScreenWindow* window(const Screen& s) const;
    ScreenWindow* window(std::string_view name) const;
    // The player closed a screen from its title bar: the game ends.
    void windowClosed();
    // While set, the game's clock does not follow real time: a test or the
    // scripted player moves it with advance(), which runs the ticks that
    // fall due meanwhile (core/script_clock.h).
    void useManualClock(bool manual) { manualClock_ = manual; }
    void advance(std::int64_t ms);

    // What a screen reader is told. After each step the core's watch says
    // what changed (core/spoken.h). When the focused control hid or greyed
    // itself, the focus goes to the label where reading starts again, read
    // with the whole news as its name; otherwise the news goes to the top
    // screen's announcer once its window has the keyboard again (a message
    // box closing hands it back a moment later, and the screen reader
    // speaks that hand-over first).
    void stepEnded(const Control* tick) override;
    // Tells now what still waits for its window (tests and the scripted player).
    void flushSpeech();
    // The repeat key (F2): the top screen again, through its announcer.
    void repeatKey();
    // The lines handed over at each step's end, and with `repeat` set those
    // of the repeat key, as the core gave them.
    std::function<void(const std::vector<std::string>& lines, bool repeat)> onSpoken;
    // The text last handed to a screen reader, either way.
    const QString& lastSpoken() const { return lastSpoken_; }

    void messageBox(const std::string& text) override;
    std::optional<std::string> prompt(const std::string& title, const std::string& text) override;
    std::int64_t nowMs() override;
    std::optional<std::int64_t> wallClockOffset() override;
    std::string timeText() override;
    std::string dateText() override;
    std::uint64_t randomSeed() override;
    void endProgram() override;
    void screenLoaded(Screen& s) override;
    void screenChanged(Screen& s) override;
    void controlChanged(Control& c) override;
    void timersChanged() override;

    // A screen's window came to have the keyboard: news waiting for it is told.
    void windowActivated(ScreenWindow* w);

private:
    void wake();
    QWidget* activeWindow() const;
    ScreenWindow* topWindow() const;
    void trySpeak(bool force);

    std::optional<SpokenWatch> watch_;
    QString pendingSpeech_;  // news for the top screen's announcer, not told yet
    QTimer speechTimer_;     // tells it anyway when no window takes the keyboard
    QString lastSpoken_;
    Game* game_ = nullptr;
    std::map<const Screen*, std::unique_ptr<ScreenWindow>> windows_;
    QTimer wakeTimer_;
    QElapsedTimer clock_;
    std::int64_t wallOffset_ = 0;  // wall clock's milliseconds at clock_'s start
    LiveWake liveWake_;
    bool manualClock_ = false;
    ScriptedClock manual_;
};

}  // namespace vendral
