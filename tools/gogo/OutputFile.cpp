#include "OutputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace gogo {
namespace {

constexpr mode_t kFileMode = 0666; // narrowed by the umask, as for any new file

std::string TemporaryName(const std::string& leaf) {
    static std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = "." + leaf.substr(0, 200) + ".gogo-";
    for (int i = 0; i < 8; ++i) {
        name += kLetters[random() % (sizeof kLetters - 1)];
    }
    return name;
}

} // namespace

std::unique_ptr<OutputFile> OutputFile::Create(const std::string& path, std::string& error,
                                               Staging staging) {
    const std::filesystem::path full(path);
    const std::string leaf = full.filename();
    if (leaf.empty() || leaf == "." || leaf == "..") {
        error = "the output path names no file";
        return nullptr;
    }
    const std::string folder = full.has_parent_path() ? full.parent_path().string() : ".";
    const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) {
        error = "cannot open the output folder: " + std::string(std::strerror(errno));
        return nullptr;
    }
    std::unique_ptr<OutputFile> file(new OutputFile(path, directory, leaf));
    struct stat existing {};
    if (fstatat(directory, leaf.c_str(), &existing, 0) == 0 && S_ISDIR(existing.st_mode)) {
        error = "the output path is a folder";
        return nullptr;
    }
    if (!file->Open(staging)) {
        error = file->error_;
        return nullptr;
    }
    return file;
}

OutputFile::OutputFile(std::string path, int directory, std::string leaf)
    : path_(std::move(path)), directory_(directory), leaf_(std::move(leaf)) {}

OutputFile::~OutputFile() {
    if (!committed_) {
        RemoveNamed();
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    close(directory_);
}

bool OutputFile::Open(Staging staging) {
    if (staging == Staging::Unnamed) {
        fd_ = openat(directory_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, kFileMode);
    }
    // File systems without unnamed files say so with one of these errors.
    if (staging == Staging::HiddenName ||
        (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = TemporaryName(leaf_);
            fd_ =
                openat(directory_, name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, kFileMode);
            if (fd_ >= 0) {
                tempName_ = std::move(name);
                break;
            }
            if (errno != EEXIST) {
                break;
            }
        }
    }
    struct stat own {};
    if (fd_ < 0 || fstat(fd_, &own) != 0) {
        return Fail("cannot create the output file");
    }
    device_ = own.st_dev;
    inode_ = own.st_ino;
    return true;
}

bool OutputFile::Write(std::span<const unsigned char> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail("cannot write the output file");
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

bool OutputFile::WriteAt(std::uint64_t offset, std::span<const unsigned char> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail("cannot write the output file");
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
    return true;
}

bool OutputFile::Commit() {
    if (fsync(fd_) != 0) {
        return Fail("cannot flush the output file to disk");
    }
    if (tempName_.empty() && !GiveName()) {
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        return Fail("cannot close the output file");
    }
    if (renameat(directory_, tempName_.c_str(), directory_, leaf_.c_str()) != 0) {
        return Fail("cannot put the output file in place");
    }
    tempName_.clear();
    committed_ = true;
    // Makes the new name durable too; a folder that cannot be flushed keeps the file anyway.
    fsync(directory_);
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
    struct stat named {};
    if (fstatat(directory_, tempName_.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(named.st_mode) && named.st_dev == device_ && named.st_ino == inode_) {
        unlinkat(directory_, tempName_.c_str(), 0);
    }
    tempName_.clear();
}

bool OutputFile::Fail(const std::string& what) {
    error_ = what + " \"" + path_ + "\": " + std::strerror(errno);
    return false;
}

} // namespace gogo
