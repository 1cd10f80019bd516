// The game's one random source: seeded once when the first screen loads,
// it draws whole numbers 0 to 9 as the integer part of a uniform number in
// [0, 1) times ten.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string_view>

namespace vendral {

class RandomSource {
public:
    void seed(std::uint64_t s) { engine_.seed(s); }
    int digit() {
        // 53 random bits over 2^53: a uniform number in [0, 1) that never reaches 1.
        const double r = static_cast<double>(engine_() >> 11) * 0x1.0p-53;
        const int d = static_cast<int>(r * 10);
        return d > 9 ? 9 : d;
    }

private:
    std::mt19937_64 engine_{0};
};

// A seed as a player writes it: a whole number 0 to 2^64-1 in decimal
// digits alone (no sign, no blanks); nothing for any other text.
std::optional<std::uint64_t> parseSeed(std::string_view text);

}  // namespace vendral
