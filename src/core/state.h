// The game's memory between two clicks: twenty-two variables that every screen
// reads and writes. A number starts empty: it counts as 0 in sums and
// comparisons and prints as nothing after a label's prefix.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vendral {

class Num {
public:
    constexpr Num() = default;
    constexpr Num(std::int64_t v) : value_(v) {}  // NOLINT: a plain number converts

    constexpr bool empty() const { return !value_.has_value(); }
    constexpr std::int64_t value() const { return value_.value_or(0); }
    constexpr operator std::int64_t() const { return value(); }  // NOLINT

    // Plain decimal, negative numbers included; an empty number is empty text.
    std::string str() const { return value_ ? std::to_string(*value_) : std::string(); }

    constexpr Num& operator+=(std::int64_t d) { value_ = value() + d; return *this; }
    constexpr Num& operator-=(std::int64_t d) { value_ = value() - d; return *this; }

private:
    std::optional<std::int64_t> value_;
};

struct GameState {
    Num life;
    Num magic;
    Num money;
    Num lifepotion;
    Num magicpotion;
    Num refillpotion;
    Num enemylife;
    Num upgradechoice;
    Num lifepotions;
    Num magicpotions;
    Num refillpotions;
    std::string playername;
    Num curechoice;
    Num curetries;
    std::string heroclass;
    Num invisible;
    Num revives;
    Num flamellife;
    Num flamelmagic;
    Num battleroll;
    Num stun;
    std::string jumpcode;

    // Every variable as name and printed value, in the game's own order.
    std::vector<std::pair<std::string, std::string>> dump() const;
};

// Every variable on a line of its own, "state NAME=VALUE", in the game's
// own order: what the scripted players print for `state`.
std::string stateLines(const GameState& state);

}  // namespace vendral
