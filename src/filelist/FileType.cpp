#include "filelist/FileType.h"

#include "kit/Attributes.h"

#include <QFile>
#include <QMimeDatabase>

std::string MimeTypeOf(const std::filesystem::path& file) {
    if (std::optional<std::string> stored = kit::ReadAttribute(file, "mime_type")) {
        // Some tools store the terminating zero too.
        while (!stored->empty() && stored->back() == '\0') {
            stored->pop_back();
        }
        return *stored;
    }
    const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QFile::decodeName(file.c_str()), QMimeDatabase::MatchContent);
    return type.isValid() ? type.name().toStdString() : std::string();
}

bool IsWavMimeType(std::string_view type) {
    return type == "audio/x-wav" || type == "audio/wav";
}

bool IsCoverPictureType(std::string_view type) {
    return type == "image/jpeg" || type == "image/png";
}
