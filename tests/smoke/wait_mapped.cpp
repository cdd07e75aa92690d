// Starts a program and reports how long it took until its first top-level window was mapped,
// taken from the X server's MapNotify event rather than by polling. The clock starts just
// before the program is executed. The program keeps running: the tool prints one line
//   mapped MS pid PID window 0xID
// as soon as the window is mapped, then waits for the program and exits with its status,
// printing the program's CPU time (user + system, from wait4) on standard error.
// If no window appears in time the program is ended and the tool fails.
// Windows marked override-redirect (menus, tooltips) and windows of other processes (told by
// _NET_WM_PID when the program sets it) do not count.
// Usage: wait_mapped [--timeout SECONDS] PROGRAM [ARGUMENT...]

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

double MillisecondsSince(const timespec& start) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start.tv_sec) * 1e3 +
           static_cast<double>(now.tv_nsec - start.tv_nsec) / 1e6;
}

// The _NET_WM_PID of a window, if it has one.
std::optional<long> WindowPid(Display* display, Window window) {
    const Atom property = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL,
                                          &type, &format, &count, &remaining, &data);
    std::optional<long> pid;
    if (status == Success && data != nullptr && format == 32 && count == 1) {
        pid = *reinterpret_cast<const long*>(data);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return pid;
}

bool BelongsTo(Display* display, const XMapEvent& map, pid_t child) {
    if (map.override_redirect) {
        return false;
    }
    const std::optional<long> pid = WindowPid(display, map.window);
    return !pid || *pid == static_cast<long>(child);
}

// Waits for the child's first top-level window; returns None when the child ends first or the
// time runs out.
Window WaitForMap(Display* display, pid_t child, const timespec& start, double timeoutMs) {
    const int fd = ConnectionNumber(display);
    while (MillisecondsSince(start) < timeoutMs) {
        while (XPending(display) > 0) {
            XEvent event{};
            XNextEvent(display, &event);
            if (event.type == MapNotify && BelongsTo(display, event.xmap, child)) {
                return event.xmap.window;
            }
        }
        // Looks without reaping, so that the exit status is still there for wait4.
        siginfo_t ended{};
        if (waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            ended.si_pid == child) {
            return None;
        }
        pollfd ready{fd, POLLIN, 0};
        poll(&ready, 1, 20);
    }
    return None;
}

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    double timeoutMs = 10000.0;
    if (argc > 2 && std::strcmp(argv[1], "--timeout") == 0) {
        timeoutMs = std::atof(argv[2]) * 1000.0;
        first = 3;
    }
    if (first >= argc || timeoutMs <= 0.0) {
        std::fprintf(stderr, "usage: wait_mapped [--timeout SECONDS] PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "wait_mapped: cannot open the display\n");
        return 2;
    }
    // Listen before the program starts so that no map is missed.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("wait_mapped: fork");
        return 2;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        std::perror("wait_mapped: exec");
        _exit(127);
    }

    const Window window = WaitForMap(display, child, start, timeoutMs);
    if (window != None) {
        std::printf("mapped %.1f pid %ld window 0x%lx\n", MillisecondsSince(start),
                    static_cast<long>(child), static_cast<unsigned long>(window));
    } else {
        std::printf("unmapped pid %ld\n", static_cast<long>(child));
        kill(child, SIGTERM);
    }
    std::fflush(stdout);
    XCloseDisplay(display);

    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        std::perror("wait_mapped: wait4");
        return 2;
    }
    std::fprintf(stderr, "wait_mapped: cpu %.3f ms\n",
                 static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
    if (window == None) {
        return 1;
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return 128 + WTERMSIG(status);
}
