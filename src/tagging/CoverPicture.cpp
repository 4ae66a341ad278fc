// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/CoverPicture.h"

#include <QCoreApplication>
#include <QFile>
#include <QMimeDatabase>
#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr qint64 kLargestCover = qint64{16} * 1024 * 1024;

// Where a file name stands among the cover names: a lower rank is taken first; none for a name
// that is no cover's.
std::optional<size_t> CoverRank(std::string name) {
    static constexpr std::array<std::string_view, 3> kNames = {"cover", "folder", "front"};
    static constexpr std::array<std::string_view, 3> kExtensions = {".jpg", ".jpeg", ".png"};
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (size_t n = 0; n < kNames.size(); ++n) {
        for (size_t e = 0; e < kExtensions.size(); ++e) {
            if (name.size() == kNames[n].size() + kExtensions[e].size() &&
                name.starts_with(kNames[n]) && name.ends_with(kExtensions[e])) {
                return n * kExtensions.size() + e;
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::filesystem::path> FindCoverBeside(const std::filesystem::path& wav) {
    std::error_code error;
    std::filesystem::directory_iterator entries(
        wav.parent_path(), std::filesystem::directory_options::skip_permission_denied, error);
    std::optional<std::filesystem::path> best;
    size_t bestRank = 0;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::optional<size_t> rank = CoverRank(entries->path().filename().string());
        std::error_code typeError;
        if (rank && (!best || *rank < bestRank) && entries->is_regular_file(typeError)) {
            best = entries->path();
            bestRank = *rank;
        }
    }
    return best;
}

CoverRead ReadCoverPicture(const std::filesystem::path& file) {
    QFile picture(QFile::decodeName(file.c_str()));
    if (!picture.open(QIODevice::ReadOnly)) {
        return {std::nullopt, QCoreApplication::translate("CoverPicture", "it cannot be read: %1")
                                  .arg(picture.errorString())
                                  .toStdString()};
    }
    if (picture.size() > kLargestCover) {
        return {
            std::nullopt,
            QCoreApplication::translate("CoverPicture", "it is larger than 16 MiB").toStdString()};
    }
    // One byte more than allowed tells a file that grew (or a device without a size) apart.
    QByteArray bytes = picture.read(kLargestCover + 1);
    if (bytes.size() > kLargestCover) {
        return {
            std::nullopt,
            QCoreApplication::translate("CoverPicture", "it is larger than 16 MiB").toStdString()};
    }
    if (picture.error() != QFileDevice::NoError) {
        return {std::nullopt, QCoreApplication::translate("CoverPicture", "it cannot be read: %1")
                                  .arg(picture.errorString())
                                  .toStdString()};
    }
    const QString type = QMimeDatabase().mimeTypeForData(bytes).name();
    if (type != QLatin1StringView("image/jpeg") && type != QLatin1StringView("image/png")) {
        return {std::nullopt, "it is no JPEG or PNG picture"};
    }
    return {CoverPicture{type.toStdString(), std::move(bytes)}, {}};
}
