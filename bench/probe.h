// What a benchmark reads of its own process from /proc: the CPU time of all
// its threads in nanoseconds (schedstat, exact where utime/stime move in
// 10 ms ticks), how often its threads went to sleep and woke again
// (voluntary context switches), and its peak resident memory.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace bench {

struct Usage {
    std::int64_t runNs = 0;    // CPU time of every thread
    std::int64_t wakeups = 0;  // times a thread slept and woke up
    std::int64_t mainWakeups = 0;  // the same, of the main (event loop) thread
    std::chrono::steady_clock::time_point at;
};

inline Usage usage() {
    Usage u;
    u.at = std::chrono::steady_clock::now();
    DIR* dir = opendir("/proc/self/task");
    if (!dir) return u;
    const std::string mainThread = std::to_string(getpid());
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.') continue;
        const std::string task = std::string("/proc/self/task/") + e->d_name;
        std::ifstream sched(task + "/schedstat");
        std::int64_t ns = 0;
        if (sched >> ns) u.runNs += ns;
        std::ifstream status(task + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) != 0) continue;
            const std::int64_t n = std::stoll(line.substr(24));
            u.wakeups += n;
            if (mainThread == e->d_name) u.mainWakeups += n;
        }
    }
    closedir(dir);
    return u;
}

// Share of one core and wake-ups a second between two readings.
struct Load {
    double cpuPercent = 0;
    double wakeupsPerSecond = 0;
    double mainWakeupsPerSecond = 0;
};

inline Load between(const Usage& a, const Usage& b) {
    const double secs = std::chrono::duration<double>(b.at - a.at).count();
    if (secs <= 0) return {};
    return {100.0 * static_cast<double>(b.runNs - a.runNs) / 1e9 / secs,
            static_cast<double>(b.wakeups - a.wakeups) / secs,
            static_cast<double>(b.mainWakeups - a.mainWakeups) / secs};
}

// A kilobyte figure of /proc/self/status ("VmHWM:", "VmRSS:", ...).
inline long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = field;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
    return -1;
}

// The peak resident set in kilobytes.
inline long peakRssKb() { return statusKb("VmHWM:"); }

}  // namespace bench
