// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a disc on a thread of its own and reports to a window through messages that carry
// value copies only:
//   MSG_CD_READ_PROGRESS 'cdrp': "run" int32, "track" int32 (the track being read), "index" and
//                                "count" int32 (its place among the tracks to read, from 1, and
//                                their number), "fraction" double (0 to 1 of all to read),
//                                "waiting" bool (another reader has the disc; this one waits)
//   MSG_CD_READ_DONE     'cdrd': the fields of DiscReadDone below
// Every run has its own number, so the receiver can drop messages of a run it no longer waits
// for.
#pragma once

#include "cdaudio/DiscReader.h"
#include "cdaudio/VolumeName.h"
#include "kit/FourCC.h"
#include "kit/Message.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QObject;

inline constexpr uint32_t MSG_CD_READ_PROGRESS = kit::FourCC("cdrp");
inline constexpr uint32_t MSG_CD_READ_DONE = kit::FourCC("cdrd");

// The end of a read, as MSG_CD_READ_DONE carries it: "run" int32, "Device" string, "Volume"
// string (the disc's name), "Artist" and "Album" strings (from its CD-Text), "Folder" ref (the
// folder of whole track files, empty when there is none), "damaged" messages ("track" and
// "sectors" int32, "File" ref, empty when the track could not be read), "error" string (empty
// when none), "stopped" bool, "Disc" message (DiscInfo::ToMessage).
struct DiscReadDone {
    int32_t run = -1;
    std::string device;
    std::string volume;
    ArtistAlbum tags;
    std::filesystem::path folder;
    std::vector<DamagedTrack> damaged;
    std::string error;
    bool stopped = false;
    DiscInfo disc; // the disc's table of contents and CD-Text

    [[nodiscard]] kit::Message ToMessage() const;
    // None when a field is missing.
    static std::optional<DiscReadDone> From(const kit::Message& message);
};

class DiscReadWorker {
public:
    // Messages go to `receiver` (through kit::PostMessage), which must outlive the worker.
    explicit DiscReadWorker(QObject* receiver);
    // Stops a running read and waits for it.
    ~DiscReadWorker();
    DiscReadWorker(const DiscReadWorker&) = delete;
    DiscReadWorker& operator=(const DiscReadWorker&) = delete;

    // Starts reading the disc in the device into the cache folder; returns the run's number, or
    // -1 when a read is still running.
    int32_t Start(const std::string& device, const std::filesystem::path& cacheFolder);
    // Asks the running read to stop; its done message follows.
    void Stop();
    // Waits for the thread of the last run to end.
    void Wait();
    [[nodiscard]] bool IsRunning() const { return running; }

private:
    void Run(int32_t run, const std::string& device, const std::filesystem::path& cacheFolder);

    QObject* target;
    std::thread thread;
    std::atomic<bool> stopRequested = false;
    std::atomic<bool> running = false;
    int32_t lastRun = 0;
};
