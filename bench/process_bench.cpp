// bench-process RUNS SCRIPT REPLAY ECHO
//
// One headless run of the scripted player as a whole process, beside a
// program that only reads and echoes the same script: `REPLAY SCRIPT` and
// `ECHO SCRIPT` are each started RUNS times, in turn, and timed from the
// start of the process to its end. The replay's transcript must end with
// "end" (the script plays a whole game) and the echo must write the script
// back. Prints the medians as replay_ms and echo_ms.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs the program on the script with its output into `out` (a file);
// returns the wall time in milliseconds, or a negative number if it failed.
double timed(const std::string& program, const std::string& script, const std::string& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(script.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

std::string contents(const std::string& file) {
    std::ifstream in(file);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: bench-process RUNS SCRIPT REPLAY ECHO\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::string script = argv[2], replay = argv[3], echo = argv[4];
    char dir[] = "/tmp/bench-process-XXXXXX";
    if (!mkdtemp(dir)) return 2;
    const std::string out = std::string(dir) + "/out";
    std::vector<double> replayMs, echoMs;
    int status = 0;
    // One unrecorded run of each first, so that both start from a warm cache.
    for (int i = -1; i < runs && status == 0; ++i) {
        const double r = timed(replay, script, out);
        const std::string transcript = contents(out);
        const double e = timed(echo, script, out);
        if (r < 0 || transcript.size() < 4 || transcript.compare(transcript.size() - 4, 4, "end\n") != 0) {
            std::fprintf(stderr, "bench-process: %s %s did not play the whole game\n", replay.c_str(), script.c_str());
            status = 1;
        } else if (e < 0 || contents(out) != contents(script)) {
            std::fprintf(stderr, "bench-process: %s did not echo %s\n", echo.c_str(), script.c_str());
            status = 1;
        } else if (i >= 0) {
            replayMs.push_back(r);
            echoMs.push_back(e);
        }
    }
    std::remove(out.c_str());
    rmdir(dir);
    if (status) return status;
    std::printf("replay_ms=%.3f\necho_ms=%.3f\n", median(replayMs), median(echoMs));
    return 0;
}
