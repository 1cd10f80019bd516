// The game in real windows: one top-level widget per screen mirroring the
// screen model, QMessageBox for messages, a name prompt dialog, one
// single-shot QTimer that wakes the game when its next timer tick falls due,
// and the end of the program.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "core/game.h"
#include "core/live_wake.h"
#include "core/script_clock.h"

namespace vendral {

class QtPlatform;

// One screen's window.
class ScreenWindow : public QWidget {
public:
    ScreenWindow(QtPlatform& owner, Screen& screen);
    Screen& screen() const { return *screen_; }
    QWidget* widgetFor(const Control& c) const;
    void apply(const Control& c);
    void applyAll();
    bool shownOnce = false;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QtPlatform* owner_;
    Screen* screen_;
    std::vector<QWidget*> widgets_;  // one per control, null for a timer
};

class QtPlatform : public QObject, public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    void attach(Game& game) { game_ = &game; }
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

private:
    void wake();
    QWidget* activeWindow() const;

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
