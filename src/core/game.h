// The engine: the game state, the six screens (created on first use and
// never destroyed), the timers on the game's clock, and the doors through
// which the player's clicks, drops and the passing of time reach the story.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"
#include "core/random.h"
#include "core/refusal.h"
#include "core/screen.h"
#include "core/state.h"

namespace vendral {

class Game {
public:
    // `screens` lists every screen the game knows, Form1 first.
    Game(Platform& platform, std::span<const ScreenDef* const> screens);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameState state;

    Platform& platform() const { return *platform_; }

    // Program start: load Form1 (its load step asks the name) and show it.
    void start();

    // --- What story handlers call ---------------------------------------
    void message(const std::string& text);
    std::optional<std::string> prompt(const std::string& title, const std::string& text);
    // Load a screen if it is not loaded yet (running its load step once).
    Screen& load(std::string_view screen);
    // Load if needed, then show it (modeless).
    Screen& show(std::string_view screen);
    void hide(std::string_view screen);
    // The screen, which must already be loaded.
    Screen& screen(std::string_view name);
    // The next random digit 0..9.
    int roll();
    void seedRandom();
    // End the program at once.
    void end();
    bool ended() const { return ended_; }
    std::string timeText() { return platform_->timeText(); }
    std::string dateText() { return platform_->dateText(); }

    // --- What the player does ---------------------------------------------
    // A click on the control by name, landing where the mouse would land on
    // it (core/hit.h): the click runs the handler of whatever receives the
    // mouse there, which for a label or picture that lets clicks through is
    // what lies beneath it, perhaps nothing.
    Refusal click(std::string_view screen, std::string_view control);
    // The control's own widget took a click, or Enter on the keyboard: run its
    // click handler if the player could, wherever other controls lie.
    Refusal press(std::string_view screen, std::string_view control);
    // Replace a text box's text (typing does not run any handler).
    Refusal type(std::string_view screen, std::string_view control, std::string text);
    // Drag an image and drop it on a control, where a click on it would land;
    // only a label with a drop handler receiving the mouse there reacts.
    Refusal drag(std::string_view fromScreen, std::string_view image, std::string_view toScreen,
                 std::string_view target);
    // Which control a name points at, or why it cannot be used.
    Refusal lookUp(std::string_view screen, std::string_view control, Control** out);

    // --- Time -------------------------------------------------------------
    std::int64_t now() const { return platform_->nowMs(); }
    // Run every timer tick that is due by the game's clock now, in time order.
    void runDueTimers();
    // When a timer started at `t` first ticks.
    std::int64_t firstDue(const Control& timer, std::int64_t t) const;
    // When the next tick that would change something falls due, if any.
    std::optional<std::int64_t> nextDue() const;

    // Loaded screens in the order they were loaded.
    const std::vector<Screen*>& loadedScreens() const { return loadOrder_; }
    std::span<const ScreenDef* const> screenDefs() const { return defs_; }
    const ScreenDef* findDef(std::string_view name) const;
    Screen* findLoaded(std::string_view name) const;
    // A handler is running (the player is inside one of its message boxes).
    bool busy() const { return depth_ > 0; }
    // The label is a clock's: a clock timer's tick (ControlDef::clock) has
    // written its caption. Its ticks are never read out (core/spoken.h).
    bool showsClock(const Control& label) const;

    // Called by the screen model.
    void noteControlChanged(Control& c, bool timerFlagChanged);
    void noteScreenChanged(Screen& s);

private:
    // The control of a click or press, or why the player cannot click it.
    Refusal clickable(std::string_view screen, std::string_view control, Control** out);
    void runHandler(Handler h);
    void startTimers(Screen& s);
    Control* earliestDue(bool includeIdle) const;

    Platform* platform_;
    std::span<const ScreenDef* const> defs_;
    std::vector<std::unique_ptr<Screen>> screens_;
    std::vector<Screen*> loadOrder_;
    // Every timer of the loaded screens, in load order: the scheduler looks
    // only at these, not at every control, on each tick.
    std::vector<Control*> timers_;
    RandomSource random_;
    bool ended_ = false;
    int depth_ = 0;
    // Tell the platform a step is over, unless a handler still waits in a box.
    void stepDone(const Control* tick = nullptr);
    int clockTicks_ = 0;  // clock timers ticking now
    std::vector<const Control*> clockLabels_;
};

}  // namespace vendral
