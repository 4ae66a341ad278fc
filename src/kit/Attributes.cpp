#include "kit/Attributes.h"

#include <cerrno>
#include <sys/xattr.h>

namespace kit {

std::optional<std::string> ReadAttribute(const std::filesystem::path& file, std::string_view name) {
    const std::string key = "user." + std::string(name);
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

} // namespace kit
