#include "tagging/FinishedFile.h"

#include "tagging/ID3Editor.h"
#include "tagging/ID3v2Writer.h"
#include "tagging/ReplayGain.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : "; ") + part;
    }
    return text;
}

// Why the file cannot be tagged at all, or nothing. Looked at without waiting: opening a FIFO
// that no program writes would block.
std::string Untaggable(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    const bool known = fd >= 0 && ::fstat(fd, &info) == 0;
    const int error = errno;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!known) {
        return std::string("No tags were written: the file cannot be read (") +
               std::strerror(error) + ").";
    }
    return S_ISREG(info.st_mode) ? std::string()
                                 : "No tags were written: the output is not a regular file.";
}

} // namespace

std::vector<std::string> AddExtras(FinishedFile& file, const std::optional<RowLoudness>& loudness) {
    std::vector<std::string> missing;
    if (!file.id3v2) {
        return missing;
    }
    if (file.embedCover && file.coverFile.empty() && file.release.frontCover) {
        file.extras.frontCover = file.release.frontCover;
    } else if (file.embedCover) {
        const std::optional<std::filesystem::path> cover =
            file.coverFile.empty() ? FindCoverBeside(file.source) : file.coverFile;
        if (cover) {
            CoverRead read = ReadCoverPicture(*cover);
            file.extras.frontCover = std::move(read.picture);
            if (!read.error.empty()) {
                missing.push_back("the cover picture " + cover->filename().string() + " (" +
                                  read.error + ")");
            }
        }
    }
    if (file.replayGain) {
        if (!loudness) {
            missing.emplace_back("the ReplayGain tags (the loudness was not measured)");
        } else if (!loudness->error.empty()) {
            missing.push_back("the ReplayGain tags (" + loudness->error + ")");
        } else if (loudness->track) {
            file.extras.userTexts = ReplayGainTexts(*loudness->track, loudness->album);
        }
    }
    return missing;
}

std::string TagFinishedFile(const FinishedFile& file, std::vector<std::string> missing) {
    if (std::string why = Untaggable(file.path); !why.empty()) {
        return why;
    }
    {
        ID3Editor editor(file.path.c_str(), &file.tag, file.track);
        errno = 0;
        if (editor.WriteTag() != 0) {
            missing.push_back(errno != 0
                                  ? std::string("the ID3v1 tag (") + std::strerror(errno) + ")"
                                  : std::string("the ID3v1 tag"));
        }
        if (editor.WriteTagsToAttr() != 0 && errno != ENOTSUP) {
            missing.push_back(std::string("the file attributes (") + std::strerror(errno) + ")");
        }
    }
    std::string why;
    if (file.id3v2 && WriteID3v2Tag(file, &why) != 0) {
        missing.push_back("the ID3v2 tag: " + why);
    }
    return missing.empty() ? std::string() : "Not written: " + Joined(missing) + ".";
}
