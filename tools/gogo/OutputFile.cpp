// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputFile.h"

#include "Signals.h"
#include "TemporaryFiles.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace gogo {
namespace {

constexpr mode_t kFileMode = 0666; // narrowed by the umask, as for any new file
constexpr int kMaxLinks = 40;      // as the system follows at most
// How long a FIFO at the output path may go without a reader, and how often it is looked at.
constexpr std::chrono::seconds kFifoReaderWait{5};
constexpr std::chrono::milliseconds kFifoReaderPoll{20};

// Follows the symbolic links at the end of the path, so that what is replaced is their target.
// False when the links go round in circles.
bool FollowLinks(std::string& path) {
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        std::error_code notALink;
        const std::filesystem::path target = std::filesystem::read_symlink(path, notALink);
        if (notALink) {
            return true;
        }
        path = target.is_absolute() ? target : std::filesystem::path(path).parent_path() / target;
    }
    return false;
}

// Writes all the bytes, at `offset` or, without one, at the current position.
bool WriteFully(int fd, std::span<const unsigned char> bytes, std::optional<off_t> offset) {
    while (!bytes.empty()) {
        const ssize_t written = offset ? pwrite(fd, bytes.data(), bytes.size(), *offset)
                                       : write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR && PendingSignal() == 0) {
                continue; // a stop request ends a write blocked on a FIFO
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
        if (offset) {
            *offset += written;
        }
    }
    return true;
}

} // namespace

std::unique_ptr<OutputFile> OutputFile::Create(const std::string& path, std::string& error,
                                               Staging staging) {
    if (const std::string leaf = std::filesystem::path(path).filename();
        leaf.empty() || leaf == "." || leaf == "..") {
        error = "the output path names no file";
        return nullptr;
    }
    std::unique_ptr<OutputFile> file(new OutputFile(path));
    // What is there, through links as the system follows them (those of /proc/self/fd too).
    struct stat existing {};
    const bool exists = stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error = "the output path is a folder";
        return nullptr;
    }
    const bool opened =
        exists && !S_ISREG(existing.st_mode)
            ? file->OpenInPlace(existing.st_mode & S_IFMT)
            : file->OpenStaged(staging,
                               exists ? std::optional(existing.st_mode & 0777) : std::nullopt);
    if (!opened) {
        error = file->error_;
        return nullptr;
    }
    return file;
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {}

OutputFile::~OutputFile() {
    if (!committed_) {
        RemoveNamed();
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    if (directory_ >= 0) {
        close(directory_);
    }
}

bool OutputFile::OpenInPlace(mode_t type) {
    inPlace_ = true;
    if (type == S_IFSOCK) {
        return FailWith("the output \"" + path_ + "\" is a socket, which takes no file");
    }
    // A device is not waited on. A FIFO whose reader may still be starting (a player started
    // together with the encoder) is given a few seconds; then, with nobody reading, it is
    // refused. A stop request ends the wait.
    const auto giveUp = std::chrono::steady_clock::now() + kFifoReaderWait;
    for (;;) {
        fd_ = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd_ >= 0 || errno != ENXIO || type != S_IFIFO) {
            break;
        }
        if (std::chrono::steady_clock::now() >= giveUp || PendingSignal() != 0) {
            return FailWith("no program reads the output FIFO \"" + path_ + "\"");
        }
        std::this_thread::sleep_for(kFifoReaderPoll);
    }
    if (fd_ < 0) {
        return Fail("cannot open the output");
    }
    // Writes wait again once it is open, as they would for any output.
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    seekable_ = lseek(fd_, 0, SEEK_CUR) >= 0;
    return true;
}

bool OutputFile::OpenStaged(Staging staging, std::optional<mode_t> permissions) {
    std::string target = path_;
    if (!FollowLinks(target)) {
        return FailWith("the output \"" + path_ + "\" is a loop of symbolic links");
    }
    const std::filesystem::path full(target);
    leaf_ = full.filename();
    const std::string folder = full.has_parent_path() ? full.parent_path().string() : ".";
    // As a path only: a folder that may be written but not read takes the output too.
    directory_ = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (directory_ < 0) {
        return FailWith("cannot open the output folder \"" + folder +
                        "\": " + std::strerror(errno));
    }
    RemoveAbandonedTemporaryFiles(directory_);
    if (staging == Staging::Unnamed) {
        fd_ = openat(directory_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, kFileMode);
        if (fd_ >= 0) {
            MarkAsBeingWritten(fd_); // for the moment it has a name, before the final rename
        }
    }
    // File systems without unnamed files say so with one of these errors.
    if (staging == Staging::HiddenName ||
        (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))) {
        CreateHidden();
    }
    if (fd_ < 0 || fstat(fd_, &identity_) != 0) {
        return Fail("cannot create the output file");
    }
    // Best effort: file systems such as vfat have no permissions to set.
    if (permissions) {
        fchmod(fd_, *permissions);
    }
    return true;
}

// Creates the file under a hidden temporary name and marks it as being written. Another encoder
// may take the unmarked file for abandoned and remove it in between; the name is checked after
// marking, and a file that lost it is given up for a new one.
bool OutputFile::CreateHidden() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName(leaf_);
        const int fd =
            openat(directory_, name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, kFileMode);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            return false;
        }
        struct stat own {};
        if (MarkAsBeingWritten(fd) && fstat(fd, &own) == 0 && NamesFile(directory_, name, own)) {
            fd_ = fd;
            tempName_ = std::move(name);
            return true;
        }
        close(fd);
    }
    errno = EEXIST;
    return false;
}

bool OutputFile::Write(std::span<const unsigned char> bytes) {
    return WriteFully(fd_, bytes, std::nullopt) || Fail("cannot write the output file");
}

bool OutputFile::WriteAt(std::uint64_t offset, std::span<const unsigned char> bytes) {
    return !seekable_ || WriteFully(fd_, bytes, static_cast<off_t>(offset)) ||
           Fail("cannot write the output file");
}

bool OutputFile::Commit() {
    // Devices and FIFOs cannot all be flushed; what they took is theirs.
    if (fsync(fd_) != 0 && !(inPlace_ && (errno == EINVAL || errno == EROFS))) {
        return Fail("cannot flush the output file to disk");
    }
    if (!inPlace_) {
        if (tempName_.empty() && !GiveName()) {
            return false;
        }
        // Renamed while still open and marked, so no other encoder takes it for abandoned.
        if (renameat(directory_, tempName_.c_str(), directory_, leaf_.c_str()) != 0) {
            return Fail("cannot put the output file in place");
        }
        tempName_.clear();
    }
    committed_ = true;
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        return Fail("cannot close the output file");
    }
    // Makes the new name durable too; a folder that cannot be read or flushed keeps the file.
    if (const int folder = openat(directory_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

// Links the unnamed file into the output folder under a temporary name, through its entry in
// /proc (linking the descriptor itself needs a privilege).
bool OutputFile::GiveName() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName(leaf_);
        if (linkat(AT_FDCWD, self.c_str(), directory_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            tempName_ = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return Fail("cannot name the output file");
}

// Removes the temporary name, but only while it still is this file: nothing else is unlinked.
void OutputFile::RemoveNamed() {
    if (tempName_.empty()) {
        return;
    }
    if (NamesFile(directory_, tempName_, identity_)) {
        unlinkat(directory_, tempName_.c_str(), 0);
    }
    tempName_.clear();
}

bool OutputFile::Fail(const std::string& what) {
    return FailWith(what + " \"" + path_ + "\": " + std::strerror(errno));
}

bool OutputFile::FailWith(const std::string& message) {
    error_ = message;
    return false;
}

} // namespace gogo
