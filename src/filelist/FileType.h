// SPDX-License-Identifier: GPL-3.0-or-later
// Telling WAV files from others by their type, never by their name.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A file's MIME type as the desktop sees it: the "mime_type" attribute when the file carries one
// (the freedesktop convention for a type set by hand), else the type its content shows by the
// shared MIME database's rules; the name's extension plays no part. Empty when neither can be
// had.
std::string MimeTypeOf(const std::filesystem::path& file);

// Whether the file list takes files of the type: exactly "audio/x-wav" or "audio/wav".
bool IsWavMimeType(std::string_view type);

// Whether a file of the type can be a front cover: exactly "image/jpeg" or "image/png".
bool IsCoverPictureType(std::string_view type);
