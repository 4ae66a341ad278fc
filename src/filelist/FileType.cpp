// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileType.h"

#include "kit/Attributes.h"

#include <QFile>
#include <QMimeDatabase>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string MimeTypeOf(const std::filesystem::path& file) {
    if (std::optional<std::string> stored = kit::ReadAttribute(file, "mime_type")) {
        // Some tools store the terminating zero too.
        while (!stored->empty() && stored->back() == '\0') {
            stored->pop_back();
        }
        return *stored;
    }
    const QMimeDatabase database;
    const QString name = QFile::decodeName(file.c_str());
    QMimeType type;
    if (QFile::encodeName(name).toStdString() == file.native()) {
        type = database.mimeTypeForFile(name, QMimeDatabase::MatchContent);
    } else {
        // A name that is not text does not survive the way through QString: the content is read
        // through a descriptor opened by the name's bytes. Only a regular file is opened (a
        // FIFO's opening would wait for a writer).
        const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat info {};
        QFile content;
        if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            content.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            type = database.mimeTypeForData(&content);
        } else if (fd >= 0) {
            ::close(fd);
        }
    }
    return type.isValid() ? type.name().toStdString() : std::string();
}

bool IsWavMimeType(std::string_view type) {
    return type == "audio/x-wav" || type == "audio/wav";
}

bool IsCoverPictureType(std::string_view type) {
    return type == "image/jpeg" || type == "image/png";
}
