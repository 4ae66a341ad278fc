// Typed file attributes as Linux user extended attributes: the attribute "Audio:Track" of a file
// is its extended attribute "user.Audio:Track".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kit {

// The bytes of a file's attribute, following symbolic links; nothing when the file has no such
// attribute or it cannot be read.
std::optional<std::string> ReadAttribute(const std::filesystem::path& file, std::string_view name);

} // namespace kit
