// SPDX-License-Identifier: GPL-3.0-or-later
// Typed file attributes as Linux user extended attributes: the attribute "Audio:Track" of a file
// is its extended attribute "user.Audio:Track".
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kit {

// The bytes of a file's attribute, following symbolic links; nothing when the file has no such
// attribute or it cannot be read.
std::optional<std::string> ReadAttribute(const std::filesystem::path& file, std::string_view name);

// A number attribute: an int32 of 4 bytes in host order. Nothing when the file has no such
// attribute or it is not 4 bytes long.
std::optional<int32_t> ReadInt32Attribute(const std::filesystem::path& file, std::string_view name);

// Stores a number attribute on the file (following symbolic links); false when the file system
// refuses it.
bool WriteInt32Attribute(const std::filesystem::path& file, std::string_view name, int32_t value);

} // namespace kit
