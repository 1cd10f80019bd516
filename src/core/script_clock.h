// The clock of a scripted run. It stands still between the script's waits
// and reads nine in the morning of the first day of 2000 at its zero, so a
// transcript never depends on the real time, whichever binding plays it:
// the headless player, the window player and the web page's test mode all
// keep their time here.
#pragma once

#include <cstdint>
#include <string>

namespace vendral {

class Game;

std::string scriptedTimeText(std::int64_t clockMs);  // "09:00:00"
std::string scriptedDateText(std::int64_t clockMs);  // "2000-01-01"

class ScriptedClock {
public:
    std::int64_t now() const { return now_; }
    // Let `ms` pass (none for a negative span), running every timer tick of
    // the game that falls due meanwhile, in time order, each at its own
    // moment on the clock. Without a game (null) the time only passes.
    void advance(Game* game, std::int64_t ms);
    std::string timeText() const { return scriptedTimeText(now_); }
    std::string dateText() const { return scriptedDateText(now_); }

private:
    std::int64_t now_ = 0;
};

}  // namespace vendral
