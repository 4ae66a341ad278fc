// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/ID3v2Writer.h"

#include "tagging/FileBytes.h"
#include "tagging/GenreTable.h"
#include "tagging/TagsModule.h"

#include <QCoreApplication>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>
#include <taglib/uniquefileidentifierframe.h>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;

TagLib::String Utf8(std::string_view text) {
    return {std::string(text), TagLib::String::UTF8};
}

// Replaces the frames `id` with one text frame of the values; no value, or one empty value,
// leaves none. TagLib writes a UTF-8 frame of an ID3v2.3 tag as UTF-16.
void SetTextFrame(TagLib::ID3v2::Tag& id3, const char* id, const TagLib::StringList& values) {
    id3.removeFrames(id);
    if (!values.isEmpty() && !(values.size() == 1 && values.front().isEmpty())) {
        auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
        frame->setText(values);
        id3.addFrame(frame); // the tag owns its frames
    }
}

void SetTextFrame(TagLib::ID3v2::Tag& id3, const char* id, std::string_view text) {
    SetTextFrame(id3, id, TagLib::StringList(Utf8(text)));
}

void SetCommentFrame(TagLib::ID3v2::Tag& id3, std::string_view text) {
    id3.removeFrames("COMM");
    if (!text.empty()) {
        auto* frame = new TagLib::ID3v2::CommentsFrame(TagLib::String::UTF8);
        frame->setText(Utf8(text));
        id3.addFrame(frame);
    }
}

void SetMusicBrainzRecording(TagLib::ID3v2::Tag& id3, const std::string& recordingId) {
    static const TagLib::String kOwner("http://musicbrainz.org");
    // Copied: removing a frame changes the tag's list.
    for (TagLib::ID3v2::Frame* frame : TagLib::ID3v2::FrameList(id3.frameList("UFID"))) {
        const auto* ufid = dynamic_cast<TagLib::ID3v2::UniqueFileIdentifierFrame*>(frame);
        if (ufid && ufid->owner() == kOwner) {
            id3.removeFrame(frame);
        }
    }
    if (!recordingId.empty()) {
        id3.addFrame(new TagLib::ID3v2::UniqueFileIdentifierFrame(
            kOwner,
            TagLib::ByteVector(recordingId.data(), static_cast<unsigned int>(recordingId.size()))));
    }
}

// The frames of the release the file belongs to (none for a file that belongs to none): the
// album artist, the disc of the release ("1/2"), the original release's date, the labels, the
// medium, the recording's identifier as a UFID and the others as TXXX frames.
void FillReleaseFrames(TagLib::ID3v2::Tag& id3, const ReleaseTags& release, bool v4) {
    if (release.Empty()) {
        return;
    }
    // The original release's date: ID3v2.4 keeps it whole in TDOR, 2.3 its year in TORY.
    const std::string originalYear = LeadingYear(release.originalDate);
    id3.removeFrames(v4 ? "TORY" : "TDOR");
    SetTextFrame(id3, v4 ? "TDOR" : "TORY",
                 originalYear.empty() || !v4 ? originalYear : release.originalDate);
    SetTextFrame(id3, "TPE2", release.albumArtist);
    SetTextFrame(id3, "TPOS",
                 release.discNumber <= 0  ? std::string()
                 : release.discCount <= 0 ? std::to_string(release.discNumber)
                                          : std::to_string(release.discNumber) + "/" +
                                                std::to_string(release.discCount));
    SetTextFrame(id3, "TPUB", FrameValues(release.labels, v4));
    SetTextFrame(id3, "TMED", release.media);
    SetTextFrame(id3, "TSRC", release.isrc);
    SetMusicBrainzRecording(id3, release.recordingId);
    PutExtras(id3, {std::nullopt, ReleaseUserTexts(release)}, v4);
}

void FillTag(TagLib::ID3v2::Tag& id3, const FinishedFile& file, TagLib::ID3v2::Version version) {
    const ID3_struct& tag = file.tag;
    SetTextFrame(id3, "TIT2", file.fullTitle);
    SetTextFrame(id3, "TPE1", file.fullArtist);
    SetTextFrame(id3, "TALB", file.fullAlbum);
    // ID3v2.3 keeps the year in TYER, 2.4 in TDRC. TagLib reads a TYER as a TDRC, and turns a
    // TDRC back into a TYER only when it has four characters or more, so for 2.3 the year is set
    // as TYER, as typed, and a TDRC read from an earlier tag goes.
    const bool v4 = version == TagLib::ID3v2::v4;
    id3.removeFrames(v4 ? "TYER" : "TDRC");
    SetTextFrame(id3, v4 ? "TDRC" : "TYER", TagText(tag.year));
    SetCommentFrame(id3, file.fullComment);
    // A row nobody gave a genre has genre 0 in its ID3v1 tag, which has no "none"; players read
    // the ID3v2 tag first, so there it gets no genre rather than "Blues".
    SetTextFrame(id3, "TCON",
                 !file.genreGiven          ? std::string_view(file.genreName)
                 : tag.genre < genre_count ? genre_table[tag.genre]
                                           : "");
    // "7/12" where the release, the disc or the source's tag tells how many tracks there are.
    const int32_t tracks = !file.release.Empty() && file.release.trackCount > 0
                               ? file.release.trackCount
                               : file.trackCount;
    SetTextFrame(id3, "TRCK",
                 file.track < 0        ? std::string()
                 : tracks < file.track ? std::to_string(file.track)
                                       : std::to_string(file.track) + "/" + std::to_string(tracks));
    FillReleaseFrames(id3, file.release, v4);
    PutExtras(id3, file.extras, v4);
}

// The tag to write, rendered by TagLib from the file's own ID3v2 tag (if it has one) with the
// new values, and the first byte of the file that follows it in the copy.
struct RenderedTag {
    TagLib::ByteVector bytes; // empty when every value is: the file then gets no tag
    long long keepFrom = 0;   // 0, or the end of the tag the file begins with
};

// Reads the ID3v2 tag of the file open as `fd` (taken over and closed) and renders it with the
// new values, as TagLib would save it, without writing anything: the caller writes the copy in
// one pass, where TagLib would shift the whole file through a small buffer to make room for the
// tag. Nothing, with the reason in `why`, when the file cannot take a tag.
std::optional<RenderedTag> RenderTag(int fd, const FinishedFile& finished, std::string& why) {
    TagLib::FileStream stream(fd, true);
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid() || file.firstFrameOffset() < 0) {
        why = "it is not MPEG audio";
        return std::nullopt;
    }
    RenderedTag rendered;
    auto version = TagLib::ID3v2::v3;
    if (file.hasID3v2Tag()) {
        // A tag after other bytes is not the file's to replace here; it is left alone.
        stream.seek(0);
        if (stream.readBlock(3) != TagLib::ID3v2::Header::fileIdentifier()) {
            why = QCoreApplication::translate("ID3v2Writer",
                                              "it has an ID3v2 tag that does not begin the file")
                      .toStdString();
            return std::nullopt;
        }
        rendered.keepFrom = file.ID3v2Tag()->header()->completeTagSize();
        if (file.ID3v2Tag()->header()->majorVersion() == 4) {
            version = TagLib::ID3v2::v4;
        }
    }
    TagLib::ID3v2::Tag* id3 = file.ID3v2Tag(true);
    FillTag(*id3, finished, version);
    if (!id3->isEmpty()) {
        rendered.bytes = id3->render(version);
    }
    return rendered;
}

// Copies the bytes of `from` between `offset` and `end` into `to` at `toOffset`, in the kernel.
bool CopyRange(int from, off_t offset, off_t end, int to, off_t toOffset) {
    if (::lseek(to, toOffset, SEEK_SET) != toOffset) {
        return false;
    }
    while (offset < end) {
        const ssize_t copied = ::sendfile(to, from, &offset, static_cast<size_t>(end - offset));
        if (copied < 0 && errno == EINTR) {
            continue;
        }
        if (copied <= 0) {
            return false; // an error, or the file ended early
        }
    }
    return true;
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

// Gives the copy the original's owner and group where they differ from those it was made with. A
// file system that keeps no owners (a FUSE mount of exFAT or NTFS refuses even the same owner)
// has nothing to keep.
bool KeepOwner(int copy, const struct stat& original) {
    struct stat made {};
    if (::fstat(copy, &made) != 0) {
        return false;
    }
    if (made.st_uid == original.st_uid && made.st_gid == original.st_gid) {
        return true;
    }
    return ::fchown(copy, original.st_uid, original.st_gid) == 0 || errno == ENOSYS ||
           errno == ENOTSUP || errno == EOPNOTSUPP;
}

std::string SystemReason(const QString& what) {
    return what.toStdString() + " (" + std::strerror(errno) + ")";
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

// An open descriptor, closed with the object.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int Fd() const { return fd; }

private:
    int fd;
};

// Writes the tag through a copy that replaces the file; returns why not, or nothing when done.
std::string WriteThroughCopy(const FinishedFile& file) {
    std::error_code error;
    const fs::path target = fs::canonical(file.path, error);
    if (error) {
        return QCoreApplication::translate("ID3v2Writer", "the file cannot be found (%1)")
            .arg(QString::fromStdString(error.message()))
            .toStdString();
    }
    // Opened without waiting, so that a FIFO is refused rather than read from for ever.
    const Descriptor source(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat original {};
    if (source.Fd() < 0 || ::fstat(source.Fd(), &original) != 0) {
        return SystemReason(QCoreApplication::translate("ID3v2Writer", "the file cannot be read"));
    }
    if (!S_ISREG(original.st_mode)) {
        return QCoreApplication::translate("ID3v2Writer", "it is not a regular file").toStdString();
    }
    // A file this process may not write is left alone, though its folder would let it be
    // replaced.
    if (::access(target.c_str(), W_OK) != 0) {
        return SystemReason(
            QCoreApplication::translate("ID3v2Writer", "the file may not be written"));
    }
    const int forTagLib = ::fcntl(source.Fd(), F_DUPFD_CLOEXEC, 0);
    if (forTagLib < 0) {
        return SystemReason(QCoreApplication::translate("ID3v2Writer", "the file cannot be read"));
    }
    std::string why;
    const std::optional<RenderedTag> rendered = RenderTag(forTagLib, file, why);
    if (!rendered) {
        return why;
    }
    // The copy is the new tag, then the file from the end of its old tag on, with the file's
    // owner and group, permissions and extended attributes; a file whose owner or group this
    // process may not give (another user's) is left alone rather than changing hands.
    Replacement copy(target);
    const auto& bytes = rendered->bytes;
    const bool copied =
        copy.Created() && WriteAll(copy.Descriptor(), bytes.data(), bytes.size(), 0) &&
        CopyRange(source.Fd(), static_cast<off_t>(rendered->keepFrom), original.st_size,
                  copy.Descriptor(), static_cast<off_t>(bytes.size())) &&
        KeepOwner(copy.Descriptor(), original) &&
        ::fchmod(copy.Descriptor(), original.st_mode & 07777) == 0 &&
        CopyAttributes(target.c_str(), copy.Descriptor());
    if (!copied) {
        return SystemReason(QCoreApplication::translate(
            "ID3v2Writer", "no complete copy could be written beside it"));
    }
    struct stat written {};
    if (::fsync(copy.Descriptor()) != 0 || ::fstat(copy.Descriptor(), &written) != 0) {
        return SystemReason(
            QCoreApplication::translate("ID3v2Writer", "the copy could not be written to disk"));
    }
    if (written.st_size !=
        static_cast<off_t>(bytes.size()) + original.st_size - rendered->keepFrom) {
        return QCoreApplication::translate("ID3v2Writer", "the copy came out shorter than the file")
            .toStdString();
    }
    if (!copy.PutInPlace()) {
        return SystemReason(
            QCoreApplication::translate("ID3v2Writer", "the copy could not replace the file"));
    }
    return {};
}

} // namespace

int32_t module::WriteID3v2Tag(const FinishedFile& file, std::string* why) {
    std::string failure = WriteThroughCopy(file);
    if (failure.empty()) {
        return 0;
    }
    std::printf("Error writing ID3v2 tag.\n");
    if (why != nullptr) {
        *why = std::move(failure);
    }
    return -1;
}
