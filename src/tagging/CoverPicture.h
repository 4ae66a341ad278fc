// SPDX-License-Identifier: GPL-3.0-or-later
// Front cover pictures: found beside a WAV file, or named by the user, and read for an MP3's tag.
#pragma once

#include <QByteArray>
#include <filesystem>
#include <optional>
#include <string>

struct CoverPicture {
    std::string mimeType; // "image/jpeg" or "image/png"
    QByteArray bytes;     // the picture file's content
    // Rows of one release share one picture's bytes: those compare at once.
    bool operator==(const CoverPicture& other) const {
        return mimeType == other.mimeType &&
               (bytes.isSharedWith(other.bytes) || bytes == other.bytes);
    }
};

// The picture that stands for the album of the WAV file: "cover", "folder" or "front" with the
// extension ".jpg", ".jpeg" or ".png", in any letter case, in the file's folder; the first of them
// in that order of names and then of extensions. Nothing when there is none.
std::optional<std::filesystem::path> FindCoverBeside(const std::filesystem::path& wav);

struct CoverRead {
    std::optional<CoverPicture> picture;
    std::string error; // why the file cannot be a cover; empty when it can
};

// Reads a picture file for a front cover: a JPEG or PNG picture by its content (whatever its name
// says) of at most 16 MiB, as players take no larger one.
CoverRead ReadCoverPicture(const std::filesystem::path& file);
