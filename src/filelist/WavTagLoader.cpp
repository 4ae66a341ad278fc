// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/WavTagLoader.h"

#include "filelist/FileType.h"

#include <QCoreApplication>
#include <iterator>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

WavTagLoader::WavTagLoader(std::function<void()> ready) : resultsReady(std::move(ready)) {}

WavTagLoader::~WavTagLoader() {
    {
        const std::lock_guard lock(mutex);
        ending = true;
        requests.clear();
    }
    changed.notify_all();
    if (thread.joinable()) {
        thread.join();
    }
}

void WavTagLoader::Read(int64_t row, std::filesystem::path file) {
    Ask({row, std::move(file), false});
}

void WavTagLoader::Check(int64_t row, std::filesystem::path file) {
    Ask({row, std::move(file), true});
}

WavTagLoader::Result WavTagLoader::Handle(const Request& request) {
    if (!request.checkOnly) {
        return {request.row, ReadWavTags(request.file), {}, false};
    }
    std::error_code error;
    std::string unusable;
    if (!std::filesystem::exists(request.file, error)) {
        unusable =
            QCoreApplication::translate("WavTagLoader", "Its WAV file is gone.").toStdString();
    } else if (!IsWavMimeType(MimeTypeOf(request.file))) {
        unusable = QCoreApplication::translate("WavTagLoader", "Its file is no longer a WAV file.")
                       .toStdString();
    }
    return {request.row, {}, std::move(unusable), true};
}

void WavTagLoader::Ask(Request request) {
    bool wasIdle = false;
    {
        const std::lock_guard lock(mutex);
        wasIdle = requests.empty();
        requests.push_back(std::move(request));
        if (!thread.joinable()) {
            thread = std::thread([this] { Run(); });
        }
    }
    // The thread waits only while there is nothing to read.
    if (wasIdle) {
        changed.notify_all();
    }
}

std::vector<WavTagLoader::Result> WavTagLoader::TakeResults() {
    const std::lock_guard lock(mutex);
    return std::exchange(results, {});
}

bool WavTagLoader::Busy() {
    const std::lock_guard lock(mutex);
    return !requests.empty() || reading || !results.empty();
}

std::vector<WavTagLoader::Result> WavTagLoader::FinishAndTakeResults() {
    // What the thread has not begun is read here, rather than waited for: the thread gives way to
    // everything else the machine does.
    std::unique_lock lock(mutex);
    std::deque<Request> left = std::exchange(requests, {});
    lock.unlock();
    std::vector<Result> readHere;
    readHere.reserve(left.size());
    for (const Request& request : left) {
        readHere.push_back(Handle(request));
    }
    lock.lock();
    changed.wait(lock, [this] { return !reading; });
    std::vector<Result> taken = std::exchange(results, {});
    lock.unlock();
    taken.insert(taken.end(), std::make_move_iterator(readHere.begin()),
                 std::make_move_iterator(readHere.end()));
    return taken;
}

void WavTagLoader::Run() {
    pthread_setname_np(pthread_self(), "vamble_wavtags");
    // Rows show at once and take their tags a moment later: the window, and a drop of thousands
    // of files, come first. On Linux a thread has a nice value of its own.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return ending || !requests.empty(); });
        if (ending) {
            return;
        }
        const Request request = std::move(requests.front());
        requests.pop_front();
        reading = true;
        lock.unlock();
        Result result = Handle(request);
        lock.lock();
        reading = false;
        const bool first = results.empty();
        results.push_back(std::move(result));
        changed.notify_all();
        if (first) {
            // Called with the lock held: the list may take the results at once on another
            // thread, never before they are all in.
            resultsReady();
        }
    }
}
