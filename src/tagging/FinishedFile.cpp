// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/FinishedFile.h"

#include "tagging/ID3Editor.h"
#include "tagging/ID3v2Writer.h"
#include "tagging/ReplayGain.h"

#include <QCoreApplication>
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
        return QCoreApplication::translate("FinishedFile",
                                           "No tags were written: the file cannot be read (%1).")
            .arg(QString::fromUtf8(std::strerror(error)))
            .toStdString();
    }
    return S_ISREG(info.st_mode)
               ? std::string()
               : QCoreApplication::translate(
                     "FinishedFile", "No tags were written: the output is not a regular file.")
                     .toStdString();
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
                missing.push_back(
                    QCoreApplication::translate("FinishedFile", "the cover picture %1 (%2)")
                        .arg(QString::fromStdString(cover->filename().string()),
                             QString::fromStdString(read.error))
                        .toStdString());
            }
        } else if (file.release.frontCoverComing) {
            missing.emplace_back(QCoreApplication::translate(
                                     "FinishedFile",
                                     "the front cover (it was still being downloaded when the "
                                     "file was encoded)")
                                     .toStdString());
        }
    }
    if (file.replayGain) {
        if (!loudness) {
            missing.emplace_back(
                QCoreApplication::translate("FinishedFile",
                                            "the ReplayGain tags (the loudness was not measured)")
                    .toStdString());
        } else if (!loudness->error.empty()) {
            missing.push_back(
                QCoreApplication::translate("FinishedFile", "the ReplayGain tags (%1)")
                    .arg(QString::fromStdString(loudness->error))
                    .toStdString());
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
            missing.push_back(
                errno != 0
                    ? QCoreApplication::translate("FinishedFile", "the ID3v1 tag (%1)")
                          .arg(QString::fromUtf8(std::strerror(errno)))
                          .toStdString()
                    : QCoreApplication::translate("FinishedFile", "the ID3v1 tag").toStdString());
        }
        if (editor.WriteTagsToAttr() != 0 && errno != ENOTSUP) {
            missing.push_back(
                QCoreApplication::translate("FinishedFile", "the file attributes (%1)")
                    .arg(QString::fromUtf8(std::strerror(errno)))
                    .toStdString());
        }
    }
    std::string why;
    if (file.id3v2 && WriteID3v2Tag(file, &why) != 0) {
        missing.push_back(QCoreApplication::translate("FinishedFile", "the ID3v2 tag: %1")
                              .arg(QString::fromStdString(why))
                              .toStdString());
    }
    return missing.empty() ? std::string()
                           : QCoreApplication::translate("FinishedFile", "Not written: %1.")
                                 .arg(QString::fromStdString(Joined(missing)))
                                 .toStdString();
}
