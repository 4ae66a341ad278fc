#include "tagging/ID3v2Writer.h"

#include "tagging/FileBytes.h"
#include "tagging/GenreTable.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <taglib/attachedpictureframe.h>
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

// Replaces the TXXX frame of that description; an empty text leaves none.
void SetUserTextFrame(TagLib::ID3v2::Tag& id3, const char* description, std::string_view text) {
    if (auto* frame = TagLib::ID3v2::UserTextIdentificationFrame::find(&id3, description)) {
        id3.removeFrame(frame);
    }
    if (!text.empty()) {
        id3.addFrame(new TagLib::ID3v2::UserTextIdentificationFrame(
            description, TagLib::StringList(Utf8(text)), TagLib::String::UTF8));
    }
}

// Several identifiers in one ID3v2.3 text, as other taggers join them.
std::string Joined(const std::vector<std::string>& ids) {
    std::string joined;
    for (const std::string& id : ids) {
        joined += (joined.empty() ? "" : "/") + id;
    }
    return joined;
}

// The full text while cutting it to the row's field gives that field; else the field.
template <std::size_t N>
std::string_view FullOrField(const std::string& full, const char (&field)[N]) {
    char cut[N];
    SetTagText(cut, full.c_str());
    return !full.empty() && TagText(cut) == TagText(field) ? std::string_view(full)
                                                           : TagText(field);
}

void SetMusicBrainzRecording(TagLib::ID3v2::Tag& id3, const std::string& recordingId) {
    static const TagLib::String kOwner("http://musicbrainz.org");
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

void SetFrontCover(TagLib::ID3v2::Tag& id3, const ReleaseTags& release) {
    for (TagLib::ID3v2::Frame* frame : TagLib::ID3v2::FrameList(id3.frameList("APIC"))) {
        const auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
        if (picture && picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover) {
            id3.removeFrame(frame);
        }
    }
    if (!release.frontCover.isEmpty()) {
        auto* picture = new TagLib::ID3v2::AttachedPictureFrame;
        picture->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        picture->setMimeType(Utf8(release.coverMimeType));
        picture->setPicture(TagLib::ByteVector(
            release.frontCover.constData(), static_cast<unsigned int>(release.frontCover.size())));
        id3.addFrame(picture);
    }
}

// The frames of the release the file belongs to; all empty when the row's album is no longer
// the release's, and the track's own while its title is still the track's.
void FillReleaseFrames(TagLib::ID3v2::Tag& id3, const ID3_struct& tag, const ReleaseTags& given) {
    ReleaseTags release;
    if (!given.album.empty() && FullOrField(given.album, tag.album) == given.album) {
        release = given;
        if (FullOrField(given.title, tag.title) != given.title) {
            release.recordingId.clear();
            release.releaseTrackId.clear();
            release.artistIds.clear();
        }
    }
    SetTextFrame(id3, "TPE2", release.albumArtist);
    SetTextFrame(id3, "TPOS",
                 release.discNumber <= 0  ? std::string()
                 : release.discCount <= 0 ? std::to_string(release.discNumber)
                                          : std::to_string(release.discNumber) + "/" +
                                                std::to_string(release.discCount));
    SetTextFrame(id3, "TPUB", release.label);
    SetMusicBrainzRecording(id3, release.recordingId);
    SetUserTextFrame(id3, "MusicBrainz Album Id", release.releaseId);
    SetUserTextFrame(id3, "MusicBrainz Artist Id", Joined(release.artistIds));
    SetUserTextFrame(id3, "MusicBrainz Album Artist Id", Joined(release.albumArtistIds));
    SetUserTextFrame(id3, "MusicBrainz Release Group Id", release.releaseGroupId);
    SetUserTextFrame(id3, "MusicBrainz Release Track Id", release.releaseTrackId);
    SetUserTextFrame(id3, "MusicBrainz Disc Id", release.discId);
    SetUserTextFrame(id3, "MusicBrainz Album Release Country", release.releaseCountry);
    SetUserTextFrame(id3, "CATALOGNUMBER", release.catalogNumber);
    SetUserTextFrame(id3, "BARCODE", release.barcode);
    SetFrontCover(id3, release);
}

void FillTag(TagLib::ID3v2::Tag& id3, const ID3_struct& tag, std::string_view fullTitle,
             int32_t track, const ReleaseTags& release) {
    const bool releaseTitle =
        !release.title.empty() && FullOrField(release.title, tag.title) == release.title;
    SetTextFrame(id3, "TIT2", releaseTitle ? std::string_view(release.title) : fullTitle);
    SetTextFrame(id3, "TPE1", FullOrField(release.artist, tag.artist));
    SetTextFrame(id3, "TALB", FullOrField(release.album, tag.album));
    // ID3v2.3 keeps the year in TYER. TagLib reads a TYER as an ID3v2.4 recording date (TDRC),
    // and turns a TDRC back into a TYER only when it has four characters or more, so the year
    // is set as TYER, as typed, and a TDRC read from an earlier tag goes.
    id3.removeFrames("TDRC");
    SetTextFrame(id3, "TYER", TagText(tag.year));
    SetCommentFrame(id3, TagText(tag.comment));
    SetTextFrame(id3, "TCON", tag.genre < genre_count ? genre_table[tag.genre] : "");
    SetTextFrame(id3, "TRCK", track >= 0 ? std::to_string(track) : std::string());
    FillReleaseFrames(id3, tag, release);
}

// The tag to write, rendered by TagLib from the file's own ID3v2 tag (if it has one) with the
// new values, and the first byte of the file that follows it in the copy.
struct RenderedTag {
    TagLib::ByteVector bytes; // empty when every value is: the file then gets no tag
    long long keepFrom = 0;   // 0, or the end of the tag the file begins with
};

// Reads the file's ID3v2 tag and renders it with the new values, as TagLib would save it, without
// writing anything: the caller writes the copy in one pass, where TagLib would shift the whole
// file through a small buffer to make room for the tag.
std::optional<RenderedTag> RenderTag(const fs::path& path, const ID3_struct& tag,
                                     std::string_view fullTitle, int32_t track,
                                     const ReleaseTags& release) {
    TagLib::FileStream stream(path.c_str(), true);
    if (!stream.isOpen()) {
        return std::nullopt;
    }
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid() || file.firstFrameOffset() < 0) {
        return std::nullopt; // not MPEG audio
    }
    RenderedTag rendered;
    if (file.hasID3v2Tag()) {
        // A tag after other bytes is not the file's to replace here; it is left alone.
        stream.seek(0);
        if (stream.readBlock(3) != TagLib::ID3v2::Header::fileIdentifier()) {
            return std::nullopt;
        }
        rendered.keepFrom = file.ID3v2Tag()->header()->completeTagSize();
    }
    TagLib::ID3v2::Tag* id3 = file.ID3v2Tag(true);
    FillTag(*id3, tag, fullTitle, track, release);
    if (!id3->isEmpty()) {
        rendered.bytes = id3->render(TagLib::ID3v2::v3);
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
                      int32_t track, const ReleaseTags& release) {
    std::error_code error;
    const fs::path target = fs::canonical(path, error);
    struct stat original {};
    // A file this process may not write is left alone, though its folder would let it be
    // replaced.
    if (error || ::access(target.c_str(), W_OK) != 0 || ::stat(target.c_str(), &original) != 0) {
        return false;
    }
    const std::optional<RenderedTag> rendered = RenderTag(target, tag, fullTitle, track, release);
    if (!rendered) {
        return false;
    }
    const int source = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) {
        return false;
    }
    // The copy is the new tag, then the file from the end of its old tag on, with the file's
    // owner and group, permissions and extended attributes; a file whose owner or group this
    // process may not give (another user's) is left alone rather than changing hands.
    Replacement copy(target);
    const auto& bytes = rendered->bytes;
    const bool copied = copy.Created() &&
                        WriteAll(copy.Descriptor(), bytes.data(), bytes.size(), 0) &&
                        CopyRange(source, static_cast<off_t>(rendered->keepFrom), original.st_size,
                                  copy.Descriptor(), static_cast<off_t>(bytes.size())) &&
                        ::fchown(copy.Descriptor(), original.st_uid, original.st_gid) == 0 &&
                        ::fchmod(copy.Descriptor(), original.st_mode & 07777) == 0 &&
                        CopyAttributes(target.c_str(), copy.Descriptor());
    ::close(source);
    struct stat written {};
    return copied && ::fsync(copy.Descriptor()) == 0 && ::fstat(copy.Descriptor(), &written) == 0 &&
           written.st_size ==
               static_cast<off_t>(bytes.size()) + original.st_size - rendered->keepFrom &&
           copy.PutInPlace();
}

} // namespace

int32_t WriteID3v2Tag(const char* path, const ID3_struct& tag, std::string_view fullTitle,
                      int32_t track, const ReleaseTags& release) {
    if (path != nullptr && WriteThroughCopy(path, tag, fullTitle, track, release)) {
        return 0;
    }
    std::printf("Error writing ID3v2 tag.\n");
    return -1;
}
