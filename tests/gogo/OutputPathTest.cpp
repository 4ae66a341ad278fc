// SPDX-License-Identifier: GPL-3.0-or-later
// Where the MP3 goes: into devices and FIFOs as they are, through symbolic links into their
// targets, over existing files keeping their permissions, into folders that may be written but
// not read.
#include "EncoderRun.h"
#include "Mp3Stream.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace gogotest {
namespace {

const std::vector<std::string> kCbr128Joint{"-b", "128", "-cpu", "1", "-m", "j", "-priority", "10"};

mode_t TypeOf(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 ? status.st_mode & S_IFMT : 0;
}

mode_t PermissionsOf(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// What a FIFO holds once its writer is gone.
std::vector<unsigned char> Drain(int fd) {
    std::vector<unsigned char> data;
    unsigned char buffer[4096];
    for (ssize_t got = 0; (got = read(fd, buffer, sizeof buffer)) > 0;) {
        data.insert(data.end(), buffer, buffer + got);
    }
    return data;
}

// Makes a file of the given kind at the path: false where the test may not.
bool MakeSpecialFile(const std::string& path, mode_t type, int& descriptor) {
    if (type == S_IFIFO) {
        return mkfifo(path.c_str(), 0644) == 0;
    }
    if (type == S_IFCHR) {
        return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; // the null device
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    descriptor = socket(AF_UNIX, SOCK_STREAM, 0);
    return bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// When a program opens the FIFO for reading, if ever.
enum class Reader { None, Before, Later };

struct SpecialFile {
    const char* name;
    mode_t type;
    Reader reader;
    bool written;
};

using OutputPath = EncoderTest;

// Such a file is never replaced (an encoder run as root once replaced /dev/null); as lame does,
// the MP3 is written into it. A FIFO is given a few seconds for its reader to start (a player
// started together with the encoder), and refused when none comes.
TEST_F(OutputPath, AFileThatIsNotRegularIsWrittenIntoAndKept) {
    const std::vector<SpecialFile> kinds{{"fifo-read", S_IFIFO, Reader::Before, true},
                                         {"fifo-read-later", S_IFIFO, Reader::Later, true},
                                         {"fifo-unread", S_IFIFO, Reader::None, false},
                                         {"null-device", S_IFCHR, Reader::None, true},
                                         {"socket", S_IFSOCK, Reader::None, false}};
    for (const SpecialFile& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const std::string output = Path(kind.name);
        int descriptor = -1;
        if (!MakeSpecialFile(output, kind.type, descriptor)) {
            continue; // device nodes need root
        }
        const auto openReader = [&] { descriptor = open(output.c_str(), O_RDONLY | O_NONBLOCK); };
        if (kind.reader == Reader::Before) {
            openReader();
        }
        Child encoder(GogoCommand(input_, output, kCbr128Joint));
        if (kind.reader == Reader::Later) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            openReader();
        }
        const RunResult run{encoder.Finish(), encoder.Out(), encoder.Err()};
        EXPECT_EQ(run.Succeeded(), kind.written) << run.err;
        if (!kind.written) {
            EXPECT_NE(run.err.find(output), std::string::npos) << run.err;
        }
        EXPECT_EQ(TypeOf(output), kind.type);
        std::vector<std::string> contents{"in.wav", kind.name};
        std::ranges::sort(contents);
        EXPECT_EQ(FolderContents(Path("")), contents);
        if (kind.reader != Reader::None) {
            const std::vector<unsigned char> data = Drain(descriptor);
            const std::vector<Mp3Frame> frames = ParseFrames(data);
            ASSERT_GT(frames.size(), 1u);
            EXPECT_EQ(frames.back().offset + frames.back().size, data.size());
        }
        close(descriptor);
        std::filesystem::remove(output);
    }
}

struct Replaced {
    const char* name;
    bool throughLink;
    bool targetExists;
};

// A link is followed and its target replaced; a file replaced keeps its permissions; no folder
// keeps a temporary file.
TEST_F(OutputPath, TheFileAtTheEndOfLinksIsReplacedKeepingItsPermissions) {
    const std::vector<Replaced> cases{{"existing-file", false, true},
                                      {"link-to-a-file", true, true},
                                      {"dangling-link", true, false}};
    for (const Replaced& replaced : cases) {
        SCOPED_TRACE(replaced.name);
        const std::string linkFolder = Path(replaced.name);
        const std::string targetFolder = linkFolder + "/elsewhere";
        std::filesystem::create_directories(targetFolder);
        const std::string target = targetFolder + "/target.mp3";
        if (replaced.targetExists) {
            std::ofstream(target) << "old";
            chmod(target.c_str(), 0604);
        }
        std::string output = target;
        if (replaced.throughLink) {
            output = linkFolder + "/out.mp3";
            std::filesystem::create_symlink("elsewhere/target.mp3", output);
        }

        const RunResult run = RunProgram(GogoCommand(input_, output, kCbr128Joint));
        ASSERT_TRUE(run.Succeeded()) << run.err;
        EXPECT_GT(ParseFrames(ReadFile(target)).size(), 1u);
        EXPECT_EQ(FolderContents(targetFolder), std::vector<std::string>{"target.mp3"});
        if (replaced.targetExists) {
            EXPECT_EQ(PermissionsOf(target), 0604u);
        }
        if (replaced.throughLink) {
            EXPECT_EQ(TypeOf(output), S_IFLNK);
            EXPECT_EQ(std::filesystem::read_symlink(output), "elsewhere/target.mp3");
            EXPECT_EQ(FolderContents(linkFolder),
                      (std::vector<std::string>{"elsewhere", "out.mp3"}));
        }
    }
}

// Root reads every folder, so there the encoder runs as nobody.
TEST_F(OutputPath, AFolderThatCanBeWrittenButNotReadTakesTheOutput) {
    const std::string folder = Path("drop-box");
    std::filesystem::create_directory(folder);
    chmod(folder.c_str(), 0333);
    chmod(Path("").c_str(), 0755);
    std::vector<std::string> command = GogoCommand(input_, folder + "/out.mp3", kCbr128Joint);
    const ChildOptions options = AsNobody(Path(""), command);
    const RunResult run = RunProgram(command, options);
    chmod(folder.c_str(), 0755);
    EXPECT_TRUE(run.Succeeded()) << run.err;
    EXPECT_EQ(FolderContents(folder), std::vector<std::string>{"out.mp3"});
}

} // namespace
} // namespace gogotest
