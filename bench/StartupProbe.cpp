// Measures the start of a windowed program on an X server: the time from starting it to the
// moment its first top-level window is mapped, and the peak memory of that run (which then ends
// with SIGTERM through the program's normal quit path).
// Usage: startup_probe RUNS PROGRAM [ARGS...]   with DISPLAY naming the X server.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

// Waits for the next MapNotify below the root window; false when the child ends first.
bool WaitForMap(xcb_connection_t* connection, pid_t child) {
    const int fd = xcb_get_file_descriptor(connection);
    while (true) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped) {
                return true;
            }
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            return false;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval tick{0, 10000};
        select(fd + 1, &readable, nullptr, nullptr, &tick);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot connect to the X server\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<double> shownMs;
    long peakKb = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            execvp(argv[2], argv + 2);
            _exit(127);
        }
        if (!WaitForMap(connection, child)) {
            std::fprintf(stderr, "run %d: the program ended without showing a window\n", run);
            return 1;
        }
        shownMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        kill(child, SIGTERM);
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        peakKb = std::max(peakKb, usage.ru_maxrss);
    }
    std::sort(shownMs.begin(), shownMs.end());
    const double mean = std::accumulate(shownMs.begin(), shownMs.end(), 0.0) / shownMs.size();
    std::printf("start to window shown over %d runs: median %.1f ms, mean %.1f ms, min %.1f ms, "
                "max %.1f ms\npeak resident memory: %ld KiB\n",
                runs, shownMs[shownMs.size() / 2], mean, shownMs.front(), shownMs.back(), peakKb);
    xcb_disconnect(connection);
    return 0;
}
