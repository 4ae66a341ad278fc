// SPDX-License-Identifier: GPL-3.0-or-later
// The folders and files the program keeps for itself (its caches) in places a link, another
// user or another program may have got at: a folder is used only when it is a real folder of
// this user, never through a symbolic link, and a file is read only when it is a regular file of
// a bounded size.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace kit {

// Why the folder cannot be used as one of the program's own (it is a symbolic link, not a
// folder, or another user's), or cannot be looked at; empty when it can.
QString CheckOwnFolder(const std::filesystem::path& folder);

// Makes the folder where it is missing (mode 0700; the folders above it as usual), then checks
// it as CheckOwnFolder does. Empty when it can be used.
QString MakeOwnFolder(const std::filesystem::path& folder);

// The bytes of a regular file, opened without following a symbolic link; nothing when it cannot
// be read, is no regular file, or holds more than `maxBytes`.
std::optional<QByteArray> ReadOwnFile(const std::filesystem::path& file, int64_t maxBytes);

// Replaces the file with the bytes through a temporary file beside it that takes its place only
// once completely written, so that a crash or a full disk never leaves half a file. With
// `inPlaceFallback`, where no temporary file can be made beside it (a read-only folder holding a
// writable file) the file is written in place rather than not at all. Why not; empty when written.
QString ReplaceFile(const std::filesystem::path& file, const QByteArray& bytes,
                    bool inPlaceFallback);

// Writes the file anew (mode 0644), never through a symbolic link; false, with errno, when it
// cannot be written.
bool WriteOwnFile(const std::filesystem::path& file, const QByteArray& bytes);

} // namespace kit
