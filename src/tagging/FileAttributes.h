// Typed file attributes ("Audio:Track" and the like), kept as Linux user extended attributes:
// attribute "Audio:Track" is stored as "user.Audio:Track". A number is an int32 of 4 bytes in
// host order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The extended attribute's name for an attribute name.
std::string AttributeKey(std::string_view name);

// The int32 attribute of the file a path names, following symbolic links; none when the file or
// the attribute is missing or the attribute is not exactly 4 bytes long.
std::optional<int32_t> ReadInt32Attribute(const std::filesystem::path& path, std::string_view name);

// Stores an int32 attribute on the file a path names; false when the file system refuses it.
bool WriteInt32Attribute(const std::filesystem::path& path, std::string_view name, int32_t value);
