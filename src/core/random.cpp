#include "core/random.h"

#include <limits>

namespace vendral {

std::optional<std::uint64_t> parseSeed(std::string_view text) {
    if (text.empty()) return std::nullopt;
    constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t seed = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (seed > (most - digit) / 10) return std::nullopt;  // past 2^64-1
        seed = seed * 10 + digit;
    }
    return seed;
}

}  // namespace vendral
