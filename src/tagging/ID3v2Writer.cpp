#include "tagging/ID3v2Writer.h"

#include "tagging/GenreTable.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;

TagLib::String Utf8(std::string_view text) {
    return {std::string(text), TagLib::String::UTF8};
}

// Replaces the frames `id` with one text frame; an empty text leaves none. TagLib writes a UTF-8
// frame of an ID3v2.3 tag as UTF-16.
void SetTextFrame(TagLib::ID3v2::Tag& id3, const char* id, std::string_view text) {
    id3.removeFrames(id);
    if (!text.empty()) {
        auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
        frame->setText(Utf8(text));
        id3.addFrame(frame); // the tag owns its frames
    }
}

void SetCommentFrame(TagLib::ID3v2::Tag& id3, std::string_view text) {
    id3.removeFrames("COMM");
    if (!text.empty()) {
        auto* frame = new TagLib::ID3v2::CommentsFrame(TagLib::String::UTF8);
        frame->setText(Utf8(text));
        id3.addFrame(frame);
    }
}

void FillTag(TagLib::ID3v2::Tag& id3, const ID3_struct& tag, std::string_view fullTitle,
             int32_t track) {
    SetTextFrame(id3, "TIT2", fullTitle);
    SetTextFrame(id3, "TPE1", TagText(tag.artist));
    SetTextFrame(id3, "TALB", TagText(tag.album));
    // ID3v2.3 keeps the year in TYER. TagLib reads a TYER as an ID3v2.4 recording date (TDRC),
    // and turns a TDRC back into a TYER only when it has four characters or more, so the year
    // is set as TYER, as typed, and a TDRC read from an earlier tag goes.
    id3.removeFrames("TDRC");
    SetTextFrame(id3, "TYER", TagText(tag.year));
    SetCommentFrame(id3, TagText(tag.comment));
    SetTextFrame(id3, "TCON", tag.genre < genre_count ? genre_table[tag.genre] : "");
    SetTextFrame(id3, "TRCK", track >= 0 ? std::to_string(track) : std::string());
}

// What a copy must look like once its tag is saved: its length, and how many bytes at its end
// (the audio from its first frame on, and the ID3v1 tag) must equal the original's.
struct SavedCopy {
    long long length = 0;
    long long unchangedEnd = 0;
};

// Saves the tag into the copy with TagLib, which rewrites the file in place and does not report
// failed writes: the caller checks the result.
std::optional<SavedCopy> SaveTag(const std::string& copy, const ID3_struct& tag,
                                 std::string_view fullTitle, int32_t track) {
    TagLib::MPEG::File file(copy.c_str(), false);
    if (!file.isValid() || file.readOnly()) {
        return std::nullopt;
    }
    const long long firstFrame = file.firstFrameOffset();
    if (firstFrame < 0) {
        return std::nullopt; // not MPEG audio
    }
    const long long length = file.length();
    TagLib::ID3v2::Tag* id3 = file.ID3v2Tag(true);
    const long long oldTagSize = file.hasID3v2Tag() ? id3->header()->completeTagSize() : 0;
    FillTag(*id3, tag, fullTitle, track);
    // Only the ID3v2 tag is saved: the ID3v1 tag is not rewritten, nothing is stripped, and no
    // value of one tag is copied into the other.
    if (!file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3,
                   TagLib::File::DoNotDuplicate)) {
        return std::nullopt;
    }
    // An empty tag is removed rather than written.
    const long long newTagSize = id3->isEmpty() ? 0 : id3->header()->completeTagSize();
    return SavedCopy{length - oldTagSize + newTagSize, length - firstFrame};
}

// Copies every extended attribute of the file `from` (the "Audio:" attributes among them) onto
// the file open as `to`.
bool CopyAttributes(const char* from, int to) {
    ssize_t size = ::listxattr(from, nullptr, 0);
    if (size < 0) {
        return errno == ENOTSUP; // a file system without attributes: none to copy
    }
    std::string names(static_cast<size_t>(size), '\0');
    size = ::listxattr(from, names.data(), names.size());
    if (size < 0) {
        return false;
    }
    names.resize(static_cast<size_t>(size));
    for (size_t start = 0; start < names.size();) {
        const std::string name(names.c_str() + start);
        start += name.size() + 1;
        ssize_t length = ::getxattr(from, name.c_str(), nullptr, 0);
        if (length < 0) {
            return false;
        }
        std::string value(static_cast<size_t>(length), '\0');
        length = ::getxattr(from, name.c_str(), value.data(), value.size());
        if (length < 0 ||
            ::fsetxattr(to, name.c_str(), value.data(), static_cast<size_t>(length), 0) != 0) {
            return false;
        }
    }
    return true;
}

// Whether the last `count` bytes of two files are the same.
bool SameEnding(const std::string& first, const std::string& second, long long count) {
    std::ifstream a(first, std::ios::binary);
    std::ifstream b(second, std::ios::binary);
    a.seekg(-count, std::ios::end);
    b.seekg(-count, std::ios::end);
    std::array<char, 1 << 16> bufferA{};
    std::array<char, 1 << 16> bufferB{};
    while (count > 0) {
        const auto chunk = static_cast<std::streamsize>(
            std::min<long long>(count, static_cast<long long>(bufferA.size())));
        if (!a.read(bufferA.data(), chunk) || !b.read(bufferB.data(), chunk) ||
            !std::equal(bufferA.data(), bufferA.data() + chunk, bufferB.data())) {
            return false;
        }
        count -= chunk;
    }
    return true;
}

// A hidden file beside the target that takes the target's place once complete; removed
// otherwise.
class Replacement {
public:
    explicit Replacement(fs::path file) : target(std::move(file)) {
        std::string pattern = (target.parent_path() / ".id3v2-XXXXXX").string();
        fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd >= 0) {
            path = pattern;
        }
    }
    ~Replacement() {
        if (fd >= 0) {
            ::close(fd);
        }
        if (!path.empty()) {
            ::unlink(path.c_str());
        }
    }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    [[nodiscard]] bool Created() const { return fd >= 0; }
    [[nodiscard]] const std::string& Path() const { return path; }
    [[nodiscard]] int Descriptor() const { return fd; }

    bool PutInPlace() {
        if (::rename(path.c_str(), target.c_str()) != 0) {
            return false;
        }
        path.clear();
        return true;
    }

private:
    fs::path target;
    std::string path;
    int fd = -1;
};

bool WriteThroughCopy(const char* path, const ID3_struct& tag, std::string_view fullTitle,
                      int32_t track) {
    std::error_code error;
    const fs::path target = fs::canonical(path, error);
    struct stat original {};
    // A file this process may not write is left alone, though its folder would let it be
    // replaced.
    if (error || ::access(target.c_str(), W_OK) != 0 || ::stat(target.c_str(), &original) != 0) {
        return false;
    }
    // The copy takes the file's permissions, owner and group, and extended attributes; a file
    // whose owner or group this process may not give (another user's) is left alone rather than
    // changing hands.
    Replacement copy(target);
    if (!copy.Created() ||
        !fs::copy_file(target, copy.Path(), fs::copy_options::overwrite_existing, error) ||
        ::fchown(copy.Descriptor(), original.st_uid, original.st_gid) != 0 ||
        !CopyAttributes(target.c_str(), copy.Descriptor())) {
        return false;
    }
    const std::optional<SavedCopy> saved = SaveTag(copy.Path(), tag, fullTitle, track);
    struct stat written {};
    return saved && ::fsync(copy.Descriptor()) == 0 && ::fstat(copy.Descriptor(), &written) == 0 &&
           written.st_size == saved->length &&
           SameEnding(target.string(), copy.Path(), saved->unchangedEnd) && copy.PutInPlace();
}

} // namespace

int32_t WriteID3v2Tag(const char* path, const ID3_struct& tag, std::string_view fullTitle,
                      int32_t track) {
    if (path != nullptr && WriteThroughCopy(path, tag, fullTitle, track)) {
        return 0;
    }
    std::printf("Error writing ID3v2 tag.\n");
    return -1;
}
