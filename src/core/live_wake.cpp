#include "core/live_wake.h"

#include <algorithm>

#include "core/game.h"

namespace vendral {

std::int64_t LiveWake::at(std::int64_t due, std::int64_t now) const {
    if (due <= now || !last_) return due;
    return std::max(due, *last_ + gatherMs);
}

std::optional<std::int64_t> LiveWake::next(const Game& game, std::int64_t now) const {
    if (game.ended()) return std::nullopt;
    const auto due = game.nextDue();
    if (!due) return std::nullopt;
    return at(*due, now);
}

}  // namespace vendral
