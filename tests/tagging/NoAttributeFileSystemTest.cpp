// SPDX-License-Identifier: GPL-3.0-or-later
// A file on a file system that keeps no extended attributes still gets its tag, and every
// attribute that was due prints its own message. The file system is a real one: ramfs, which has
// no extended attributes at all, mounted by a child process in a private mount namespace so that
// the test needs no privileges and leaves no mount behind.
#include "tagging/ID3Editor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr int kNoPrivateMount = 77;

bool WriteFile(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    return ok;
}

std::string ReadFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// Gives the calling process mounts of its own: in a new user namespace where the kernel allows
// unprivileged ones, else (as root) in a new mount namespace only. Returns the reason on failure.
std::string EnterPrivateMountNamespace() {
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) {
        WriteFile("/proc/self/setgroups", "deny");
        if (!WriteFile("/proc/self/uid_map",
                       std::to_string(uid) + " " + std::to_string(uid) + " 1") ||
            !WriteFile("/proc/self/gid_map",
                       std::to_string(gid) + " " + std::to_string(gid) + " 1")) {
            return std::string("cannot map the user in a new user namespace: ") +
                   std::strerror(errno);
        }
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return std::string("cannot create a mount namespace: ") + std::strerror(errno);
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return std::string("cannot make the mounts private: ") + std::strerror(errno);
    }
    return {};
}

// Runs in the child: mounts ramfs on ramDir, tags a file there and copies the results to outDir.
int TagFileOnRamfs(const std::string& ramDir, const std::string& outDir) {
    std::string reason = EnterPrivateMountNamespace();
    if (reason.empty() && ::mount("vamble-test", ramDir.c_str(), "ramfs", 0, nullptr) != 0) {
        reason = std::string("cannot mount ramfs: ") + std::strerror(errno);
    }
    if (!reason.empty()) {
        WriteFile(outDir + "/skip.txt", reason);
        return kNoPrivateMount;
    }

    const std::string song = ramDir + "/song.mp3";
    if (!WriteFile(song, std::string(1000, '\xfb'))) {
        return 1;
    }
    // Proof that the file system itself refuses the attributes.
    const int probe = ::setxattr(song.c_str(), "user.probe", "x", 1, 0) == 0 ? 0 : errno;

    const int out = ::open((outDir + "/stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0) {
        return 1;
    }
    ID3_struct tag{};
    SetTagText(tag.title, "Title");
    SetTagText(tag.artist, "Artist");
    SetTagText(tag.album, "Album");
    SetTagText(tag.comment, "Comment");
    tag.genre = 5;
    int32_t tagResult = 0;
    int32_t attrResult = 0;
    {
        ID3Editor editor(song.c_str(), &tag, 3);
        tagResult = editor.WriteTag();
        attrResult = editor.WriteTagsToAttr();
    }
    std::fflush(stdout);

    const bool copied = WriteFile(outDir + "/song.mp3", ReadFile(song));
    const std::string results = std::to_string(tagResult) + " " + std::to_string(attrResult) + " " +
                                (probe == EOPNOTSUPP ? "EOPNOTSUPP" : std::to_string(probe));
    return copied && WriteFile(outDir + "/results.txt", results) ? 0 : 1;
}

TEST(NoAttributeFileSystemTest, FileGetsItsTagAndEveryAttributePrintsItsMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ram")));
    const std::string outDir = dir.path().toStdString();
    const std::string ramDir = outDir + "/ram";

    std::fflush(stdout);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::_exit(TagFileOnRamfs(ramDir, outDir));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kNoPrivateMount) {
        GTEST_SKIP() << "no file system without extended attributes can be mounted here ("
                     << ReadFile(outDir + "/skip.txt") << ")";
    }
    ASSERT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(ReadFile(outDir + "/results.txt"), "0 -1 EOPNOTSUPP");
    EXPECT_EQ(ReadFile(outDir + "/stdout.txt"), "Error writing Audio:Title attribute.\n"
                                                "Error writing Audio:Comment attribute.\n"
                                                "Error writing Audio:Genre attribute.\n"
                                                "Error writing Audio:Track attribute.\n"
                                                "Error writing Audio:GenreID attribute.\n"
                                                "Error writing Audio:Artist attribute.\n"
                                                "Error writing Audio:Album attribute.\n");
    const std::string tagged = ReadFile(outDir + "/song.mp3");
    ASSERT_EQ(tagged.size(), 1128u);
    EXPECT_EQ(tagged.substr(1000, 3), "TAG");
    EXPECT_EQ(tagged.substr(1003, 5), "Title");
    EXPECT_EQ(static_cast<uint8_t>(tagged.back()), 5);
}

} // namespace
