#include "tagging/FileAttributes.h"

#include <sys/xattr.h>

std::string AttributeKey(std::string_view name) {
    return "user." + std::string(name);
}

std::optional<int32_t> ReadInt32Attribute(const std::filesystem::path& path,
                                          std::string_view name) {
    int32_t value = 0;
    if (::getxattr(path.c_str(), AttributeKey(name).c_str(), &value, sizeof value) !=
        static_cast<ssize_t>(sizeof value)) {
        return std::nullopt;
    }
    return value;
}

bool WriteInt32Attribute(const std::filesystem::path& path, std::string_view name, int32_t value) {
    return ::setxattr(path.c_str(), AttributeKey(name).c_str(), &value, sizeof value, 0) == 0;
}
