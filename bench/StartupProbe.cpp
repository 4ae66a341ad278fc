// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the start of windowed programs on an X server, side by side: for each program, the
// time from starting it to the moment its first top-level window is mapped, the shared libraries
// it has loaded by then, and the peak memory of the run (which then ends with SIGTERM, through
// the program's normal quit path). The programs take turns, in an order that flips every round,
// so that a machine busy with other work slows them alike; the figures are medians over the
// rounds, and the ratios compare each program with the first.
// Usage: startup_probe ROUNDS PROGRAM [PROGRAM...]   with DISPLAY naming the X server.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Samples {
    std::string program;
    std::vector<double> shownMs;
    std::vector<double> peakKiB;
    std::vector<double> libraries;
};

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

// The shared objects (libraries and plugins) a process has mapped.
size_t SharedObjectCount(pid_t process) {
    std::ifstream maps("/proc/" + std::to_string(process) + "/maps");
    std::set<std::string> objects;
    std::string line;
    while (std::getline(maps, line)) {
        const size_t path = line.find('/');
        if (path != std::string::npos && line.find(".so", path) != std::string::npos) {
            objects.insert(line.substr(path));
        }
    }
    return objects.size();
}

// One start of the program; false when it ended without showing a window.
bool MeasureOnce(xcb_connection_t* connection, Samples& samples) {
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        // What the program prints is not part of the figures.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(samples.program.c_str(), samples.program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (!WaitForMap(connection, child)) {
        return false;
    }
    samples.shownMs.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    samples.libraries.push_back(static_cast<double>(SharedObjectCount(child)));
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    samples.peakKiB.push_back(static_cast<double>(usage.ru_maxrss));
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The median over the rounds of one program's figure divided by the first program's in the same
// round: a round slowed down by other work slows both.
double PairedRatio(const std::vector<double>& values, const std::vector<double>& baseline) {
    std::vector<double> ratios;
    for (size_t round = 0; round < values.size(); ++round) {
        ratios.push_back(values[round] / baseline[round]);
    }
    return Median(ratios);
}

std::string BaseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ROUNDS PROGRAM [PROGRAM...]\n", argv[0]);
        return 2;
    }
    const int rounds = std::atoi(argv[1]);
    if (rounds < 1) {
        std::fprintf(stderr, "ROUNDS must be 1 or more\n");
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot connect to the X server\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<Samples> programs;
    for (int i = 2; i < argc; ++i) {
        programs.push_back({argv[i], {}, {}, {}});
    }
    for (int round = 0; round < rounds; ++round) {
        for (size_t turn = 0; turn < programs.size(); ++turn) {
            Samples& samples = programs[round % 2 == 0 ? turn : programs.size() - 1 - turn];
            if (!MeasureOnce(connection, samples)) {
                std::fprintf(stderr, "%s ended without showing a window\n",
                             samples.program.c_str());
                return 1;
            }
        }
    }
    xcb_disconnect(connection);

    std::printf("%d rounds, the programs taking turns; medians\n", rounds);
    std::printf("%-14s %14s %10s %10s %18s %18s\n", "program", "window shown", "fastest", "slowest",
                "peak memory", "libraries loaded");
    for (const Samples& samples : programs) {
        std::printf("%-14s %11.1f ms %7.1f ms %7.1f ms %14.0f KiB %18.0f\n",
                    BaseName(samples.program).c_str(), Median(samples.shownMs),
                    *std::min_element(samples.shownMs.begin(), samples.shownMs.end()),
                    *std::max_element(samples.shownMs.begin(), samples.shownMs.end()),
                    Median(samples.peakKiB), Median(samples.libraries));
    }
    const Samples& baseline = programs.front();
    for (size_t i = 1; i < programs.size(); ++i) {
        const Samples& samples = programs[i];
        std::printf("%s against %s: window shown %.2fx (median of the rounds' ratios %.2fx), "
                    "peak memory %.2fx, libraries %+.0f\n",
                    BaseName(samples.program).c_str(), BaseName(baseline.program).c_str(),
                    Median(samples.shownMs) / Median(baseline.shownMs),
                    PairedRatio(samples.shownMs, baseline.shownMs),
                    Median(samples.peakKiB) / Median(baseline.peakKiB),
                    Median(samples.libraries) - Median(baseline.libraries));
    }
    return 0;
}
