// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/MountTable.h"

#include <QFile>
#include <charconv>
#include <optional>

namespace {

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// The fields between single blanks, empty ones included: the kernel escapes blanks inside a
// field, so an empty field (a file system mounted without a source) is two blanks in a row.
std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t end = line.find(' ', start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

std::optional<uint32_t> ParseNumber(std::string_view text) {
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<MountEntry> ParseLine(std::string_view line) {
    const std::vector<std::string_view> fields = SplitFields(line);
    // Six fixed fields, optional fields up to the "-", then type and source, each found by its
    // place after the "-" (options may be missing on very old kernels, so they are not
    // required).
    constexpr size_t kFixedFields = 6;
    size_t separator = kFixedFields;
    while (separator < fields.size() && fields[separator] != "-") {
        ++separator;
    }
    if (separator + 2 >= fields.size()) {
        return std::nullopt;
    }
    const std::string_view device = fields[2];
    const size_t colon = device.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<uint32_t> major = ParseNumber(device.substr(0, colon));
    const std::optional<uint32_t> minor = ParseNumber(device.substr(colon + 1));
    if (!major || !minor) {
        return std::nullopt;
    }
    MountEntry entry{*major, *minor, UnescapeMountField(fields[4]),
                     UnescapeMountField(fields[separator + 1]),
                     UnescapeMountField(fields[separator + 2])};
    // Only the source may be empty (a file system mounted without one).
    if (entry.mountPoint.empty() || entry.fsType.empty()) {
        return std::nullopt;
    }
    return entry;
}

} // namespace

std::string UnescapeMountField(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
            IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            text.push_back(static_cast<char>(value & 0xFF));
            i += 3;
            continue;
        }
        text.push_back(field[i]);
    }
    return text;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        if (std::optional<MountEntry> entry = ParseLine(text.substr(start, stop - start))) {
            mounts.push_back(std::move(*entry));
        }
        start = stop + 1;
    }
    return mounts;
}

std::string ReadMountTable() {
    // /proc files report no size, so they are read to their end, within a bound.
    constexpr qint64 kLongestTable = qint64{4} << 20;
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.read(kLongestTable).toStdString();
}
