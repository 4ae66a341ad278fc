// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's output file.
//
// A regular file at the output path, or a new one, is replaced atomically: the MP3 is written as
// a file without a name in the output folder (O_TMPFILE), so that nothing is left behind when the
// encoder is killed, even by SIGKILL; only when it is complete is it flushed to disk, given a name
// and renamed over the output path, keeping the permissions of the file it replaces. Where the
// file system has no unnamed files (vfat, exFAT), a hidden temporary file next to the output
// takes their place; it is removed on failure, and one left by a killed encoder is removed by the
// next output into the folder.
//
// A symbolic link at the output path is followed and its target replaced, in the target's folder.
// Anything else at the path that is not a folder (a device, a FIFO) is written into as it is,
// as lame does, and never replaced.
#pragma once

#include "Encoder.h"

#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace gogo {

class OutputFile final : public ByteSink {
public:
    enum class Staging {
        Unnamed,    // without a name where the file system allows it, else as HiddenName
        HiddenName, // under a hidden temporary name in the output folder
    };

    // Creates the file that will become `path`; on failure returns null and says why in `error`.
    static std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error,
                                              Staging staging = Staging::Unnamed);
    // Discards the file unless it was committed.
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Write(std::span<const unsigned char> bytes) override;
    // Where the output cannot seek (a FIFO, a terminal), the bytes are not written: the stream
    // keeps what it has, as lame's does.
    bool WriteAt(std::uint64_t offset, std::span<const unsigned char> bytes) override;
    std::string Error() const override { return error_; }

    // Flushes the data to disk, closes the file and puts it in place under its path.
    bool Commit();

    // Whether the output is written straight into an existing file that is not regular, so that
    // what was written stays there when the encoding fails.
    bool InPlace() const { return inPlace_; }

private:
    explicit OutputFile(std::string path);
    bool OpenInPlace(mode_t type);
    bool OpenStaged(Staging staging, std::optional<mode_t> permissions);
    bool CreateHidden();
    bool GiveName();
    bool Fail(const std::string& what);
    bool FailWith(const std::string& message);
    void RemoveNamed();

    std::string path_;
    // Where a staged file goes: the folder (opened as a path only) and the name in it, links
    // followed.
    int directory_ = -1;
    std::string leaf_;
    int fd_ = -1;
    bool inPlace_ = false;
    bool seekable_ = true;
    struct stat identity_ {}; // to tell the file's temporary name from any other file
    std::string tempName_;    // set while the file has a temporary name in the output folder
    bool committed_ = false;
    std::string error_;
};

} // namespace gogo
