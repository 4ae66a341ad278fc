// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Attributes.h"

#include <cerrno>
#include <cstring>
#include <sys/xattr.h>

namespace kit {

namespace {

std::string Key(std::string_view name) {
    return "user." + std::string(name);
}

} // namespace

std::optional<std::string> ReadAttribute(const std::filesystem::path& file, std::string_view name) {
    const std::string key = Key(name);
    // The value may change between asking its size and reading it; ask again when it grew.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = getxattr(file.c_str(), key.c_str(), nullptr, 0);
        if (size < 0) {
            return std::nullopt;
        }
        std::string value(static_cast<size_t>(size), '\0');
        const ssize_t read = getxattr(file.c_str(), key.c_str(), value.data(), value.size());
        if (read >= 0) {
            value.resize(static_cast<size_t>(read));
            return value;
        }
        if (errno != ERANGE) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<int32_t> ReadInt32Attribute(const std::filesystem::path& file,
                                          std::string_view name) {
    const std::optional<std::string> bytes = ReadAttribute(file, name);
    int32_t value = 0;
    if (!bytes || bytes->size() != sizeof value) {
        return std::nullopt;
    }
    std::memcpy(&value, bytes->data(), sizeof value);
    return value;
}

bool WriteInt32Attribute(const std::filesystem::path& file, std::string_view name, int32_t value) {
    return setxattr(file.c_str(), Key(name).c_str(), &value, sizeof value, 0) == 0;
}

} // namespace kit
