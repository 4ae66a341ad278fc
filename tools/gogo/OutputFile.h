// The encoder's output file. It is written as a file without a name in the output folder
// (O_TMPFILE), so that nothing is left behind when the encoder is killed, even by SIGKILL; only
// when it is complete is it flushed to disk, given a name and renamed over the output path.
// Where the file system has no unnamed files, a hidden temporary file next to the output takes
// their place and is removed again on failure.
#pragma once

#include "Encoder.h"

#include <memory>
#include <string>
#include <sys/types.h>

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
    bool WriteAt(std::uint64_t offset, std::span<const unsigned char> bytes) override;
    std::string Error() const override { return error_; }

    // Flushes the data to disk, closes the file and puts it in place under its path.
    bool Commit();

private:
    OutputFile(std::string path, int directory, std::string leaf);
    bool Open(Staging staging);
    bool GiveName();
    bool Fail(const std::string& what);
    void RemoveNamed();

    std::string path_;
    int directory_; // the output folder, for every name operation
    std::string leaf_;
    int fd_ = -1;
    dev_t device_ = 0; // identity of the file, to tell its temporary name from any other file
    ino_t inode_ = 0;
    std::string tempName_; // set while the file has a temporary name in the output folder
    bool committed_ = false;
    std::string error_;
};

} // namespace gogo
