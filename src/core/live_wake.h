// When a game on a real clock is next woken to run its timers. Ticks that
// fall due close together are gathered into one wake-up at most every 15 ms
// and then run in time order: the rising credits move as far on the game's
// clock without waking the program a thousand times a second. The desktop
// window and the web page both arm their one timer from here.
#pragma once

#include <cstdint>
#include <optional>

namespace vendral {

class Game;

class LiveWake {
public:
    // The shortest time between two wake-ups while ticks are still to come.
    static constexpr std::int64_t gatherMs = 15;

    // The moment on the game's clock to wake for a tick due at `due`, the
    // clock reading `now`: a tick already due wakes at once (at `due`, not
    // later than now); one still to come no sooner than 15 ms after the
    // last wake-up.
    std::int64_t at(std::int64_t due, std::int64_t now) const;
    // When to wake the game for its next tick that would change something,
    // or nothing when no tick is to come (none due, or the game has ended).
    std::optional<std::int64_t> next(const Game& game, std::int64_t now) const;
    // The game was woken at `now`.
    void woke(std::int64_t now) { last_ = now; }

private:
    std::optional<std::int64_t> last_;
};

}  // namespace vendral
