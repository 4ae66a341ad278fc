// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the own tags of WAV files added to the list on a thread of its own, at the lowest
// priority, so that a drop of thousands of files does not wait for them; the list takes the
// results when they are ready.
#pragma once

#include "tagging/WavTags.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class WavTagLoader {
public:
    struct Result {
        int64_t row; // the identity of the row the file was added as
        WavTagsRead read;
        // For a file only looked at: why it can no longer be encoded (gone, not WAV); else empty.
        std::string unusable;
        bool checked = false; // only looked at, no tags read
    };

    // `resultsReady` is called on the loader's thread when results wait to be taken, once until
    // they are.
    explicit WavTagLoader(std::function<void()> resultsReady);
    // Drops what is not read yet and waits for the file being read.
    ~WavTagLoader();
    WavTagLoader(const WavTagLoader&) = delete;
    WavTagLoader& operator=(const WavTagLoader&) = delete;

    // Reads the file's tags after those asked for before. The thread starts with the first file.
    void Read(int64_t row, std::filesystem::path file);
    // Only looks whether the file is still there and still WAV (a row kept from an earlier run
    // has its tags).
    void Check(int64_t row, std::filesystem::path file);
    // The results read so far, in the order asked.
    std::vector<Result> TakeResults();
    // Whether a file is still to be read, being read, or its result not yet taken.
    [[nodiscard]] bool Busy();
    // Reads on the calling thread the files the loader has not begun, waits for the one it reads,
    // and takes every result.
    std::vector<Result> FinishAndTakeResults();

private:
    struct Request {
        int64_t row;
        std::filesystem::path file;
        bool checkOnly = false;
    };
    void Ask(Request request);
    static Result Handle(const Request& request);
    void Run();

    const std::function<void()> resultsReady;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Request> requests;
    std::vector<Result> results;
    bool reading = false; // a request is taken and its result not yet among the results
    bool ending = false;
    std::thread thread;
};
