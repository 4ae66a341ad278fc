// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/WavTags.h"

#include "kit/OutsideText.h"
#include "tagging/GenreTable.h"
#include "tagging/TagsModule.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <mutex>
#include <taglib/id3v1genres.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/tfilestream.h>
#include <taglib/wavfile.h>
#include <tuple>
#include <utility>

namespace {

// TagLib reads a tag chunk whole into memory: a larger one is not read (a file of a few
// kilobytes may say its chunk holds gigabytes). ID3v2 tags carry pictures; INFO lists only texts.
constexpr uint32_t kLargestId3Chunk = uint32_t{16} << 20;
constexpr uint32_t kLargestListChunk = uint32_t{1} << 20;

uint32_t LittleEndian32(const char* bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

// INFO texts have no declared encoding: UTF-8 where the bytes are valid UTF-8, else Latin-1.
class InfoTextHandler : public TagLib::RIFF::Info::StringHandler {
public:
    [[nodiscard]] TagLib::String parse(const TagLib::ByteVector& data) const override {
        // The texts are zero-terminated inside their chunks; TagLib keeps what follows the zero.
        const int end = data.find('\0');
        const TagLib::ByteVector text = end < 0 ? data : data.mid(0, static_cast<unsigned>(end));
        QStringDecoder utf8(QStringDecoder::Utf8);
        // Decoding is what tells invalid bytes.
        [[maybe_unused]] const QString decoded = utf8(QByteArrayView(text.data(), text.size()));
        return {text, utf8.hasError() ? TagLib::String::Latin1 : TagLib::String::UTF8};
    }
};

void UseInfoTextHandler() {
    static std::once_flag once;
    static InfoTextHandler handler;
    std::call_once(once, [] { TagLib::RIFF::Info::Tag::setStringHandler(&handler); });
}

// The `length` bytes of the file at `offset`; fewer where the file ends or cannot be read.
QByteArray ReadAt(QFile& file, qint64 offset, qint64 length) {
    return file.seek(offset) ? file.read(length) : QByteArray();
}

// Whether an ID3v2 tag that begins at `offset` fits in `length` bytes.
bool HoldsId3v2Tag(QFile& file, qint64 offset, uint32_t length) {
    constexpr uint32_t kHeaderSize = 10;
    const QByteArray header = ReadAt(file, offset, kHeaderSize);
    if (length < kHeaderSize || header.size() != kHeaderSize || !header.startsWith("ID3") ||
        header[3] < 2 || header[3] > 4) {
        return false;
    }
    uint32_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if ((header[i] & 0x80) != 0) {
            return false;
        }
        size = (size << 7) | static_cast<uint32_t>(header[i]);
    }
    const uint32_t footer = (header[5] & 0x10) != 0 ? 10 : 0;
    return size + footer <= length - kHeaderSize;
}

// Whether the sub-chunks of an INFO list of `length` bytes at `offset` (behind its type) fit in it.
bool InfoListIsWhole(QFile& file, qint64 offset, uint32_t length) {
    for (uint32_t at = 0; at + 8 <= length;) {
        const QByteArray header = ReadAt(file, offset + at, 8);
        if (header.size() != 8) {
            return false;
        }
        const uint64_t end = uint64_t{at} + 8 + LittleEndian32(header.constData() + 4);
        if (end > length) {
            return false;
        }
        at = static_cast<uint32_t>(end + (end & 1));
    }
    return true;
}

// A chunk ID of four printable ASCII characters; TagLib stops reading the chunks at another.
bool IsChunkId(QByteArrayView id) {
    return std::all_of(id.begin(), id.end(), [](char c) { return c >= 32 && c <= 126; });
}

std::string Translated(const char* text) {
    return QCoreApplication::translate("WavTags", text).toStdString();
}

// Walks the file's chunks and says what is wrong with those that carry tags: TagLib skips such
// chunks silently, or reads the bytes behind a tag as if they were its frames; a chunk larger
// than TagLib may read is damage too. A data chunk that reaches past the end (a recording that was
// cut off) is no damage: what precedes it is whole.
std::string ChunkDamage(QFile& file) {
    const QByteArray riff = ReadAt(file, 0, 12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8) != "WAVE") {
        return {};
    }
    const auto fileSize = static_cast<uint64_t>(file.size());
    for (uint64_t offset = riff.size(); offset + 8 <= fileSize;) {
        const QByteArray header = ReadAt(file, static_cast<qint64>(offset), 8);
        if (header.size() != 8) {
            return {};
        }
        const QByteArrayView id = QByteArrayView(header).first(4);
        if (!IsChunkId(id)) {
            return {};
        }
        const uint32_t size = LittleEndian32(header.constData() + 4);
        const uint64_t end = offset + 8 + size;
        const bool isList = id == "LIST";
        const bool isId3 = id == "id3 " || id == "ID3 ";
        if (end > fileSize) {
            return isList  ? Translated(QT_TRANSLATE_NOOP(
                                 "WavTags", "its LIST chunk reaches past the end of the file"))
                   : isId3 ? Translated(QT_TRANSLATE_NOOP(
                                 "WavTags", "its id3 chunk reaches past the end of the file"))
                           : std::string();
        }
        if ((isList && size > kLargestListChunk) || (isId3 && size > kLargestId3Chunk)) {
            return Translated(QT_TRANSLATE_NOOP(
                "WavTags", "a chunk that carries its tags is too large to be read"));
        }
        const qint64 body = static_cast<qint64>(offset) + 8;
        if (isId3 && !HoldsId3v2Tag(file, body, size)) {
            return Translated(
                QT_TRANSLATE_NOOP("WavTags", "its id3 chunk holds no whole ID3v2 tag"));
        }
        if (isList && size >= 4 && ReadAt(file, body, 4) == "INFO" &&
            !InfoListIsWhole(file, body + 4, size - 4)) {
            return Translated(QT_TRANSLATE_NOOP("WavTags", "its INFO list is damaged"));
        }
        offset = end + (end & 1);
    }
    return {};
}

std::string Utf8(const TagLib::String& text) {
    return kit::CleanOutsideText(text.stripWhiteSpace().to8Bit(true));
}

// TagLib names the 111 genres as other programs do ("Alternative Rock" for number 40); the genre
// table's own name stands for them here, so that the row finds the number.
TagLib::String OurGenreName(const TagLib::String& name) {
    const int number = TagLib::ID3v1::genreIndex(name);
    return number >= 0 && number < genre_count ? TagLib::String(genre_table[number]) : name;
}

// A track number as tags write it, "3" or "3/12": the track and the count (0 where not said).
std::pair<int32_t, int32_t> TrackAndCount(const TagLib::String& text) {
    const QString value = QString::fromStdString(text.stripWhiteSpace().to8Bit(true));
    const qsizetype slash = value.indexOf(QLatin1Char('/'));
    bool numbered = false;
    const int track = value.left(slash).toInt(&numbered);
    bool counted = false;
    const int count = slash < 0 ? 0 : value.mid(slash + 1).toInt(&counted);
    if (!numbered || track <= 0) {
        return {-1, 0};
    }
    return {track, counted && count >= track ? count : 0};
}

void FillInTrack(FoundTags& into, const TagLib::String& text) {
    if (into.track < 0) {
        std::tie(into.track, into.trackCount) = TrackAndCount(text);
    }
}

// Each value of `from` fills the value of `into` that is still empty.
void FillIn(FoundTags& into, const TagLib::Tag& from) {
    const auto fill = [](std::string& value, const TagLib::String& text) {
        if (value.empty()) {
            value = Utf8(text);
        }
    };
    fill(into.title, from.title());
    fill(into.artist, from.artist());
    fill(into.album, from.album());
    fill(into.comment, from.comment());
    fill(into.genre, OurGenreName(from.genre()));
    if (into.year.empty() && from.year() > 0) {
        into.year = std::to_string(from.year());
    }
}

} // namespace

WavTagsRead module::ReadWavTags(const std::filesystem::path& file) {
    WavTagsRead read;
    QFile opened(QFile::decodeName(file.c_str()));
    if (!opened.open(QIODevice::ReadOnly)) {
        return read;
    }
    read.damage = ChunkDamage(opened);
    opened.close();
    if (!read.damage.empty()) {
        return read;
    }
    UseInfoTextHandler();
    TagLib::FileStream stream(file.c_str(), true);
    if (!stream.isOpen()) {
        return read;
    }
    const TagLib::RIFF::WAV::File wav(&stream, false);
    if (!wav.isValid()) {
        return read;
    }
    // The track as the tag writes it, with the count its tag may add ("3/12").
    if (wav.hasID3v2Tag()) {
        FillIn(read.tags, *wav.ID3v2Tag());
        const TagLib::ID3v2::FrameList frames = wav.ID3v2Tag()->frameList("TRCK");
        if (!frames.isEmpty()) {
            FillInTrack(read.tags, frames.front()->toString());
        }
    }
    // TagLib reads an INFO track number from "IPRT"; ffmpeg and others write "ITRK" as well.
    if (wav.hasInfoTag()) {
        FillIn(read.tags, *wav.InfoTag());
        for (const char* field : {"IPRT", "ITRK"}) {
            FillInTrack(read.tags, wav.InfoTag()->fieldText(field));
        }
    }
    return read;
}
