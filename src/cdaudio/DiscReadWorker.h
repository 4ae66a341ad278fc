// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a disc on a thread of its own and reports through functions called on that thread, with
// value copies only. Every run has its own number, so the receiver can drop the reports of a run
// it no longer waits for.
#pragma once

#include "cdaudio/DiscReader.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

class DiscReadWorker {
public:
    struct Reports {
        std::function<void(int32_t run, const DiscReadProgress& progress)> progress;
        // The run is over by then: a new one may start.
        std::function<void(int32_t run, const DiscReadResult& result)> done;
    };
    // `faults` stands in for a drive's damage (see DriveFaults).
    explicit DiscReadWorker(Reports reportsTo, DriveFaults driveFaults = {});
    // Stops a running read and waits for it.
    ~DiscReadWorker();
    DiscReadWorker(const DiscReadWorker&) = delete;
    DiscReadWorker& operator=(const DiscReadWorker&) = delete;

    // Starts reading the disc in the device into the cache folder; returns the run's number, or
    // -1 when a read is still running.
    int32_t Start(const std::string& device, const std::filesystem::path& cacheFolder);
    // Asks the running read to stop; its done report follows.
    void Stop();
    [[nodiscard]] bool IsRunning() const { return running; }

private:
    void Wait();
    void Run(int32_t run, const std::string& device, const std::filesystem::path& cacheFolder);

    Reports reports;
    DriveFaults faults;
    std::thread thread;
    std::atomic<bool> stopRequested = false;
    std::atomic<bool> running = false;
    int32_t lastRun = 0;
};
