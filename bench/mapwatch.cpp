// bench-mapwatch [--title TEXT] [--timeout MS] -- PROGRAM [ARGS...]
//
// Starts PROGRAM and prints the milliseconds from just before its start to
// the moment the X server maps its first top-level window (one whose
// _NET_WM_PID is the program's, and whose title is TEXT if given). The
// watcher listens on the root window for MapNotify, selected before the
// program starts, so it sees the map within a fraction of a millisecond and
// the program itself needs no hook. The program is then terminated.
// Exit status: 0 measured, 1 timed out or the program died first, 2 usage.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

long windowPid(Display* d, Window w) {
    static const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(d, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        if (type == XA_CARDINAL && format == 32 && count == 1) pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return pid;
}

std::string windowTitle(Display* d, Window w) {
    static const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(d, w, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

int usage() {
    std::fprintf(stderr, "usage: bench-mapwatch [--title TEXT] [--timeout MS] -- PROGRAM [ARGS...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const char* title = nullptr;
    int timeoutMs = 20000;
    int i = 1;
    for (; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--title") && i + 1 < argc)
            title = argv[++i];
        else if (!std::strcmp(argv[i], "--timeout") && i + 1 < argc)
            timeoutMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--")) {
            ++i;
            break;
        } else
            return usage();
    }
    if (i >= argc) return usage();

    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "bench-mapwatch: cannot open the display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        // The program does not inherit the watcher's connection.
        close(ConnectionNumber(d));
        execvp(argv[i], argv + i);
        _exit(127);
    }

    int status = 1;
    const double deadline = start + timeoutMs;
    while (status == 1) {
        while (XPending(d)) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type != MapNotify) continue;
            const double at = nowMs();
            const Window w = ev.xmap.window;
            if (windowPid(d, w) != child) continue;
            const std::string t = windowTitle(d, w);
            if (title && t != title) continue;
            std::printf("%.3f\n", at - start);
            std::fflush(stdout);
            status = 0;
            break;
        }
        if (status == 0) break;
        int wstatus = 0;
        if (waitpid(child, &wstatus, WNOHANG) == child) {
            std::fprintf(stderr, "bench-mapwatch: the program ended before mapping a window\n");
            return 1;
        }
        const double left = deadline - nowMs();
        if (left <= 0) {
            std::fprintf(stderr, "bench-mapwatch: no window mapped within %d ms\n", timeoutMs);
            break;
        }
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, left < 50 ? static_cast<int>(left) + 1 : 50);
    }
    kill(child, SIGTERM);
    int wstatus = 0;
    for (int tries = 0; tries < 200 && waitpid(child, &wstatus, WNOHANG) == 0; ++tries) usleep(10000);
    if (waitpid(child, &wstatus, WNOHANG) == 0) {
        kill(child, SIGKILL);
        waitpid(child, &wstatus, 0);
    }
    XCloseDisplay(d);
    return status;
}
