// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/DiscReadWorker.h"

#include "kit/MessageEvent.h"

#include <pthread.h>

kit::Message DiscReadDone::ToMessage() const {
    kit::Message message(MSG_CD_READ_DONE);
    message.Add("run", run);
    message.Add("Device", device);
    message.Add("Volume", volume);
    message.Add("Artist", tags.artist);
    message.Add("Album", tags.album);
    // Paths go as refs: a path need not be text.
    message.Add("Folder", kit::EntryRef{folder});
    for (const DamagedTrack& track : damaged) {
        kit::Message entry;
        entry.Add("track", track.track);
        entry.Add("sectors", track.sectors);
        entry.Add("File", kit::EntryRef{track.file});
        message.Add("damaged", entry);
    }
    message.Add("error", error);
    message.Add("stopped", stopped);
    message.Add("Disc", disc.ToMessage());
    return message;
}

std::optional<DiscReadDone> DiscReadDone::From(const kit::Message& message) {
    DiscReadDone done;
    kit::EntryRef folder;
    if (message.Find("run", &done.run) != kit::B_OK ||
        message.Find("Device", &done.device) != kit::B_OK ||
        message.Find("Volume", &done.volume) != kit::B_OK ||
        message.Find("Artist", &done.tags.artist) != kit::B_OK ||
        message.Find("Album", &done.tags.album) != kit::B_OK ||
        message.Find("Folder", &folder) != kit::B_OK ||
        message.Find("error", &done.error) != kit::B_OK ||
        message.Find("stopped", &done.stopped) != kit::B_OK) {
        return std::nullopt;
    }
    kit::Message disc;
    if (message.Find("Disc", &disc) != kit::B_OK) {
        return std::nullopt;
    }
    std::optional<DiscInfo> info = DiscInfo::From(disc);
    if (!info) {
        return std::nullopt;
    }
    done.disc = std::move(*info);
    done.folder = folder.path;
    kit::Message entry;
    for (int32_t i = 0; message.Find("damaged", i, &entry) == kit::B_OK; ++i) {
        DamagedTrack track;
        kit::EntryRef file;
        if (entry.Find("track", &track.track) != kit::B_OK ||
            entry.Find("sectors", &track.sectors) != kit::B_OK ||
            entry.Find("File", &file) != kit::B_OK) {
            return std::nullopt;
        }
        track.file = file.path;
        done.damaged.push_back(std::move(track));
    }
    return done;
}

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
            message.Add("waiting", progress.waiting);
            kit::PostMessage(target, std::move(message));
        });
    const DiscReadDone done{run,           device,         result.disc.Label(), result.disc.Tags(),
                            result.folder, result.damaged, result.error,        result.stopped,
                            result.disc};
    // Not running any more by the time the message arrives, so its receiver may start again.
    running = false;
    kit::PostMessage(target, done.ToMessage());
}
