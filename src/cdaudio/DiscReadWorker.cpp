#include "cdaudio/DiscReadWorker.h"

#include "cdaudio/DiscReader.h"
#include "kit/MessageEvent.h"

#include <pthread.h>

DiscReadWorker::DiscReadWorker(QObject* receiver) : target(receiver) {}

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
    const DiscReadResult result =
        ReadDisc(device, cacheFolder, stopRequested, [&](const DiscReadProgress& progress) {
            kit::Message message(MSG_CD_READ_PROGRESS);
            message.Add("run", run);
            message.Add("track", progress.track);
            message.Add("index", progress.trackIndex);
            message.Add("count", progress.trackCount);
            message.Add("fraction", progress.fraction);
            kit::PostMessage(target, std::move(message));
        });
    kit::Message done(MSG_CD_READ_DONE);
    done.Add("run", run);
    done.Add("Device", device);
    done.Add("Volume", result.name);
    done.Add("Folder", result.folder.string());
    done.Add("error", result.error);
    done.Add("stopped", result.stopped);
    // Not running any more by the time the message arrives, so its receiver may start again.
    running = false;
    kit::PostMessage(target, std::move(done));
}
