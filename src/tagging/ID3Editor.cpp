// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/ID3Editor.h"

#include "tagging/FileBytes.h"
#include "tagging/GenreTable.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr off_t kTagSize = 128;

int OpenForUpdate(const char* path) {
    if (path == nullptr) {
        return -1;
    }
    int fd;
    do {
        fd = ::open(path, O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int32_t TrackFrom(long long track) {
    return track >= 0 && track <= std::numeric_limits<int32_t>::max() ? static_cast<int32_t>(track)
                                                                      : -1;
}

// The text in ISO 8859-1, the one encoding ID3v1 readers know: a character beyond it becomes its
// base letter where it has one ("ř" gives "r"), else "?". Never longer than the UTF-8 text.
std::string Latin1(std::string_view utf8) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    std::string latin1;
    latin1.reserve(utf8.size());
    for (const char32_t point : text.toUcs4()) {
        char32_t shown = point;
        if (point > 0xFF) {
            const QString base =
                QString::fromUcs4(&point, 1).normalized(QString::NormalizationForm_D);
            shown = !base.isEmpty() && base.at(0).unicode() <= 0xFF ? base.at(0).unicode() : U'?';
        }
        latin1 += static_cast<char>(shown);
    }
    return latin1;
}

// Appends a text field of the tag: the text in Latin-1, then zeros up to its width.
template <std::size_t N> char* PutField(char* out, const char (&field)[N]) {
    const std::string text = Latin1(TagText(field));
    std::copy(text.begin(), text.end(), out);
    std::fill(out + text.size(), out + (N - 1), '\0');
    return out + (N - 1);
}

} // namespace

ID3Editor::ID3Editor(const char* path) : fd(OpenForUpdate(path)) {}

ID3Editor::ID3Editor(const kit::EntryRef& entry)
    : ref(entry), fd(OpenForUpdate(entry.path.c_str())) {}

ID3Editor::ID3Editor(const char* path, const ID3_struct* values, long trackNumber)
    : fd(OpenForUpdate(path)), track(TrackFrom(trackNumber)) {
    if (values != nullptr) {
        tag = *values;
    }
}

ID3Editor::~ID3Editor() {
    if (fd >= 0) {
        ::close(fd);
    }
}

// Not const: it writes the file, though through a descriptor the object only holds.
int32_t ID3Editor::WriteTag() { // NOLINT(readability-make-member-function-const)
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size < kTagSize) {
        return -1;
    }
    std::array<char, 3> marker{};
    if (!ReadAll(fd, marker.data(), marker.size(), info.st_size - kTagSize)) {
        return -1;
    }
    const bool tagged = std::string_view(marker.data(), marker.size()) == "TAG";

    std::array<char, kTagSize> bytes{};
    char* out = std::copy_n("TAG", 3, bytes.data());
    out = PutField(out, tag.title);
    out = PutField(out, tag.artist);
    out = PutField(out, tag.album);
    out = PutField(out, tag.year);
    out = PutField(out, tag.comment);
    *out = static_cast<char>(tag.genre);

    const off_t offset = tagged ? info.st_size - kTagSize : info.st_size;
    return WriteAll(fd, bytes.data(), bytes.size(), offset) ? 0 : -1;
}

int32_t ID3Editor::WriteTagsToAttr() {
    if (fd < 0) {
        return -1;
    }
    bool ok = true;
    const auto text = [&](const char* name, std::string_view value) {
        if (!value.empty()) {
            ok = WriteTextAttribute(name, value) && ok;
        }
    };
    text("Audio:Title", TagText(tag.title));
    text("Audio:Comment", TagText(tag.comment));
    ok = WriteTextAttribute("Audio:Genre", GenreName(tag.genre)) && ok;
    if (track >= 0) {
        ok = WriteNumberAttribute("Audio:Track", track) && ok;
    }
    ok = WriteNumberAttribute("Audio:GenreID", tag.genre) && ok;
    text("Audio:Artist", TagText(tag.artist));
    text("Audio:Album", TagText(tag.album));
    return ok ? 0 : -1;
}

bool ID3Editor::WriteAttribute( // NOLINT(readability-make-member-function-const)
    const char* name, const void* value, size_t size) {
    const std::string key = std::string("user.") + name;
    if (::fsetxattr(fd, key.c_str(), value, size, 0) == 0) {
        return true;
    }
    std::printf("Error writing %s attribute.\n", name);
    return false;
}

bool ID3Editor::WriteTextAttribute(const char* name, std::string_view text) {
    const std::string value(text); // with its terminating zero
    return WriteAttribute(name, value.c_str(), value.size() + 1);
}

bool ID3Editor::WriteNumberAttribute(const char* name, int32_t value) {
    return WriteAttribute(name, &value, sizeof value);
}

void ID3Editor::SetSongTitle(const char* title) {
    SetTagText(tag.title, title);
}

void ID3Editor::SetArtist(const char* artist) {
    SetTagText(tag.artist, artist);
}

void ID3Editor::SetAlbum(const char* album) {
    SetTagText(tag.album, album);
}

void ID3Editor::SetComment(const char* comment) {
    SetTagText(tag.comment, comment);
}

void ID3Editor::SetYear(const char* year) {
    SetTagText(tag.year, year);
}

void ID3Editor::SetGenre(uint8_t genre) {
    tag.genre = genre;
}

void ID3Editor::SetTrack(uint32_t trackNumber) {
    track = TrackFrom(trackNumber);
}
