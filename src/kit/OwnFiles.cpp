// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/OwnFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kit {

namespace {

QString Translated(const char* text) {
    return QCoreApplication::translate("OwnFiles", text);
}

QString FolderName(const std::filesystem::path& folder) {
    return QString::fromStdString(folder.string());
}

} // namespace

QString CheckOwnFolder(const std::filesystem::path& folder) {
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) {
        return QStringLiteral("%1: %2").arg(FolderName(folder),
                                            QString::fromUtf8(std::strerror(errno)));
    }
    if (S_ISLNK(status.st_mode)) {
        return Translated(
                   QT_TRANSLATE_NOOP("OwnFiles", "%1 is a symbolic link, which is not followed"))
            .arg(FolderName(folder));
    }
    if (!S_ISDIR(status.st_mode)) {
        return Translated(QT_TRANSLATE_NOOP("OwnFiles", "%1 is not a folder"))
            .arg(FolderName(folder));
    }
    if (status.st_uid != ::geteuid()) {
        return Translated(QT_TRANSLATE_NOOP("OwnFiles", "%1 belongs to another user"))
            .arg(FolderName(folder));
    }
    return {};
}

QString MakeOwnFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.has_parent_path()) {
        std::filesystem::create_directories(folder.parent_path(), error);
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return QStringLiteral("%1: %2").arg(FolderName(folder),
                                            QString::fromUtf8(std::strerror(errno)));
    }
    return CheckOwnFolder(folder);
}

std::optional<QByteArray> ReadOwnFile(const std::filesystem::path& file, int64_t maxBytes) {
    // O_NONBLOCK: a FIFO planted at the path would otherwise hold the open until a writer comes.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat status {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= maxBytes) {
        // Read one byte past the limit: a file that grew since is refused as well.
        QByteArray read(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
        qsizetype have = 0;
        for (ssize_t got = 0; have < read.size(); have += got) {
            got = ::read(fd, read.data() + have, static_cast<size_t>(read.size() - have));
            if (got < 0 && errno == EINTR) {
                got = 0;
                continue;
            }
            if (got <= 0) {
                break;
            }
        }
        if (have <= maxBytes && have == status.st_size) {
            read.truncate(have);
            bytes = std::move(read);
        }
    }
    ::close(fd);
    return bytes;
}

QString ReplaceFile(const std::filesystem::path& file, const QByteArray& bytes,
                    bool inPlaceFallback) {
    QSaveFile replacement(QFile::decodeName(file.c_str()));
    replacement.setDirectWriteFallback(inPlaceFallback);
    if (!replacement.open(QIODevice::WriteOnly)) {
        return replacement.errorString();
    }
    if (replacement.write(bytes) != bytes.size()) {
        const QString reason = replacement.errorString();
        replacement.cancelWriting();
        replacement.commit();
        return reason;
    }
    return replacement.commit() ? QString() : replacement.errorString();
}

bool WriteOwnFile(const std::filesystem::path& file, const QByteArray& bytes) {
    const int fd = ::open(file.c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    bool written = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    for (qsizetype done = 0; written && done < bytes.size();) {
        const ssize_t got =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        written = got > 0;
        done += got > 0 ? got : 0;
    }
    const int why = errno;
    ::close(fd);
    errno = why;
    return written;
}

} // namespace kit
