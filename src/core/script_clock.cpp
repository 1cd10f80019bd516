#include "core/script_clock.h"

#include <cstdio>

#include "core/game.h"

namespace vendral {

std::string scriptedTimeText(std::int64_t clockMs) {
    const long long secs = 9 * 3600 + clockMs / 1000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", secs / 3600 % 24, secs / 60 % 60, secs % 60);
    return buf;
}

std::string scriptedDateText(std::int64_t clockMs) {
    const std::int64_t day = 1 + (9 * 3600 + clockMs / 1000) / 86400;
    return "2000-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
}

void ScriptedClock::advance(Game* game, std::int64_t ms) {
    const std::int64_t target = now_ + (ms > 0 ? ms : 0);
    while (game && !game->ended()) {
        const auto due = game->nextDue();
        if (!due || *due > target) break;
        if (*due > now_) now_ = *due;
        game->runDueTimers();
    }
    if (now_ < target) now_ = target;
}

}  // namespace vendral
