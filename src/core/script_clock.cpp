#include "core/script_clock.h"

#include <cstdio>

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

}  // namespace vendral
