// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/DiscReadWorker.h"

#include <pthread.h>

DiscReadWorker::DiscReadWorker(Reports reportsTo, DriveFaults driveFaults)
    : reports(std::move(reportsTo)), faults(std::move(driveFaults)) {}

DiscReadWorker::~DiscReadWorker() {
    Stop();
    Wait();
}

int32_t DiscReadWorker::Start(const std::string& device, const std::filesystem::path& cacheFolder) {
    if (running) {
        return -1;
    }
    Wait();
    stopRequested = false;
    running = true;
    const int32_t run = ++lastRun;
    thread = std::thread([this, run, device, cacheFolder] { Run(run, device, cacheFolder); });
    pthread_setname_np(thread.native_handle(), "cd_reader");
    return run;
}

void DiscReadWorker::Stop() {
    stopRequested = true;
}

void DiscReadWorker::Wait() {
    if (thread.joinable()) {
        thread.join();
    }
}

void DiscReadWorker::Run(int32_t run, const std::string& device,
                         const std::filesystem::path& cacheFolder) {
    const DiscReadResult result = ReadDisc(
        device, cacheFolder, stopRequested,
        [&](const DiscReadProgress& progress) { reports.progress(run, progress); }, faults);
    running = false;
    reports.done(run, result);
}
