// Tagging a finished file where the file or its file system is not as a tag writer expects: the
// row learns what is missing, and nothing waits for ever.
#include "tagging/FinishedFile.h"

#include "TagReaders.h"
#include "tagging/ID3v2Writer.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// While not 0, every fchown fails with this error, as on FUSE mounts of exFAT or NTFS. The test
// program's fchown takes the place of the C library's, also for the tags module it loads (the
// program exports it: see CMakeLists.txt).
int fchownError = 0;

} // namespace

extern "C" int fchown(int fd, uid_t owner, gid_t group) {
    if (fchownError != 0) {
        errno = fchownError;
        return -1;
    }
    using Fchown = int (*)(int, uid_t, gid_t);
    static const auto real = reinterpret_cast<Fchown>(::dlsym(RTLD_NEXT, "fchown"));
    return real(fd, owner, group);
}

namespace {

class FinishedFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        if (!HaveProgram(QStringLiteral("sox"))) {
            GTEST_SKIP() << "sox is not installed; scripts/install-deps test does it";
        }
        ASSERT_GT(EncodedMp3().size(), 4096);
    }
    void TearDown() override { fchownError = 0; }

    QString Write(const QString& name, const QByteArray& bytes) const {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

// A FIFO at the output path took the encoder's output as it came; reading it back for its tags
// would wait for a writer for ever.
TEST_F(FinishedFileTest, AFifoGetsNoTagsAndNothingWaitsForIt) {
    const QString fifo = dir.filePath(QStringLiteral("song.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const FinishedFile file = Finished(fifo, MakeTag("T", "", "", "", "", 0), "T", 1);
    auto tagging = std::async(std::launch::async, [&file] {
        std::string why;
        const int32_t result = WriteID3v2Tag(file, &why);
        return std::pair(result, TagFinishedFile(file));
    });
    if (tagging.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // A reader waiting to open the FIFO is let go by a writer that opens and closes it.
        ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
        FAIL() << "tagging waited on the FIFO";
    }
    const auto [result, warning] = tagging.get();
    EXPECT_EQ(result, -1);
    EXPECT_NE(warning.find("not a regular file"), std::string::npos) << warning;
}

TEST_F(FinishedFileTest, SaysWhichTagsCouldNotBeWritten) {
    struct Case {
        const char* name;
        QByteArray bytes;
        bool id3v2;
        const char* missing; // in the warning; empty when there is none
    };
    const Case cases[] = {
        {"an MP3 file", EncodedMp3(), true, ""},
        {"no MPEG audio", QByteArray(4096, '\0'), true, "the ID3v2 tag: it is not MPEG audio"},
        {"no MPEG audio, ID3v2 off", QByteArray(4096, '\0'), false, ""},
        {"shorter than an ID3v1 tag", QByteArray(10, '\0'), false, "the ID3v1 tag"},
    };
    for (const Case& c : cases) {
        const QString path = Write(QStringLiteral("song.mp3"), c.bytes);
        FinishedFile file = Finished(path, MakeTag("T", "", "", "", "", 0), "T", 1);
        file.id3v2 = c.id3v2;
        const std::string warning = TagFinishedFile(file);
        if (*c.missing == '\0') {
            EXPECT_EQ(warning, "") << c.name;
        } else {
            EXPECT_NE(warning.find(c.missing), std::string::npos) << c.name << ": " << warning;
        }
    }
    const FinishedFile gone =
        Finished(dir.filePath(QStringLiteral("gone.mp3")), MakeTag("", "", "", "", "", 0), "", 1);
    EXPECT_NE(TagFinishedFile(gone).find("cannot be read"), std::string::npos);
}

// FUSE mounts of exFAT and NTFS refuse fchown even to the owner a file has; the owner is only
// given where it differs, and a file system that keeps no owners has none to keep.
TEST_F(FinishedFileTest, AFileSystemThatRefusesOwnersStillGetsTheID3v2Tag) {
    struct Case {
        int error;
        bool otherOwner; // needs root to make
    };
    for (const Case c : {Case{EPERM, false}, Case{ENOSYS, true}, Case{EOPNOTSUPP, true}}) {
        if (c.otherOwner && ::geteuid() != 0) {
            continue;
        }
        const QString path = Write(QStringLiteral("song.mp3"), EncodedMp3());
        if (c.otherOwner) {
            ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 4321, 4321), 0);
        }
        fchownError = c.error;
        std::string why;
        EXPECT_EQ(WriteID3v2Tag(Finished(path, MakeTag("T", "", "", "", "", 0), "T", 1), &why), 0)
            << c.error << ": " << why;
        EXPECT_TRUE(FileBytes(path).startsWith("ID3")) << c.error;
    }
}

} // namespace
