// What the game needs from the machine it runs on: message boxes, the name
// prompt, the clock, a seed for the random source, the end of the program,
// and news of every change to the screen model so a window can mirror it.
// The Qt window implements it for players; the headless player for tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vendral {

class Screen;
class Control;

class Platform {
public:
    virtual ~Platform() = default;

    // A modal box with the text, one OK button and the title "Vendral";
    // returns when the player has closed it.
    virtual void messageBox(const std::string& text) = 0;
    // The modal name prompt: the typed text, or nothing for Cancel.
    virtual std::optional<std::string> prompt(const std::string& title, const std::string& text) = 0;

    // Milliseconds on the game's clock (monotonic).
    virtual std::int64_t nowMs() = 0;
    // The local time of day and date, as the desktop writes them.
    virtual std::string timeText() = 0;
    virtual std::string dateText() = 0;
    // On a real clock: the wall clock's milliseconds since 1970 at the game
    // clock's zero (wall time = game time + this). Nothing on a scripted clock.
    virtual std::optional<std::int64_t> wallClockOffset() { return std::nullopt; }
    // The seed taken when the first screen loads.
    virtual std::uint64_t randomSeed() = 0;
    // A draw the player has scripted in advance (tests only), or nothing.
    virtual std::optional<int> scriptedRoll() { return std::nullopt; }

    // The game is over: close every screen and stop.
    virtual void endProgram() = 0;

    // The screen model changed; a window mirrors it. Defaults do nothing.
    virtual void screenLoaded(Screen&) {}
    virtual void screenChanged(Screen&) {}  // visible flag or caption
    virtual void controlChanged(Control&) {}
    // A timer was started or stopped, or ran: the next wake-up may differ.
    virtual void timersChanged() {}
    // A step of the game is over: the start, a click, a press or a drop of
    // the player, or one timer's tick (`tick`, null for the player's steps),
    // has run to its end and no handler waits in a message box. What it
    // changed can be told (core/spoken.h).
    virtual void stepEnded(const Control* /*tick*/) {}
};

}  // namespace vendral
