// Starts a program on the current X display and prints how long it took for
// its first window to be mapped, and its resident memory a while later:
//
//   map_timer SETTLE_MS PROGRAM [ARGS...]
//   -> "launch_ms=41.7 rss_kb=30512"
//
// The display must be otherwise idle (a private Xvfb): the first window mapped
// anywhere is taken as the program's. The program is killed afterwards.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Waits for a MapNotify on the root window; false after timeoutMs.
bool WaitForMap(Display* display, double timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (NowMs() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify) return true;
        }
        poll(&fd, 1, 10);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_timer SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_timer: no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const bool mapped = WaitForMap(display, 20000);
    const double launchMs = NowMs() - start;
    usleep(settleMs * 1000);
    const long rss = ResidentKb(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    if (!mapped) {
        std::fprintf(stderr, "map_timer: %s mapped no window within 20 s\n", argv[2]);
        return 1;
    }
    std::printf("launch_ms=%.1f rss_kb=%ld\n", launchMs, rss);
    return 0;
}
