// The clock labels of a scripted run read the game's own clock from nine in
// the morning of the first day of 2000, so a transcript never depends on the
// real time, whichever binding plays it.
#pragma once

#include <cstdint>
#include <string>

namespace vendral {

std::string scriptedTimeText(std::int64_t clockMs);  // "09:00:00"
std::string scriptedDateText(std::int64_t clockMs);  // "2000-01-01"

}  // namespace vendral
