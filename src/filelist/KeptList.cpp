// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/KeptList.h"

#include "kit/OutsideText.h"
#include "kit/OwnFiles.h"
#include "lookup/MusicBrainzIds.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <climits>
#include <cmath>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr const char* kFormat = "vamble-list";
constexpr int kVersion = 1;
// Nothing a row holds is longer: a tag typed or found, a path, a reason.
constexpr qsizetype kLongestText = qsizetype{64} * 1024;
constexpr qsizetype kMostValues = 64; // identifiers or labels of one release
constexpr int kHighestNumber = 999;   // tracks, discs
constexpr int kLastSector = 450'000;  // beyond 99 minutes of audio

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QJsonArray Texts(const std::vector<std::string>& texts) {
    QJsonArray array;
    for (const std::string& text : texts) {
        array.append(Text(text));
    }
    return array;
}

// The fields of a row and of its release, by their keys in the file: each table serves writing
// and reading alike, so that the two never disagree.
enum class Shape { Text, Id, DiscId };

template <class T> struct TextField {
    const char* key;
    std::string T::*member;
    Shape shape = Shape::Text;
};
template <class T> struct NumberField {
    const char* key;
    int32_t T::*member;
    int lowest;
    int highest;
    int missing;
};
template <class T> struct ListField {
    const char* key;
    std::vector<std::string> T::*member;
    bool ids;
};

const TextField<KeptRow> kRowTexts[] = {
    {"saveAs", &KeptRow::saveAs},       {"title", &KeptRow::title},
    {"artist", &KeptRow::artist},       {"album", &KeptRow::album},
    {"year", &KeptRow::year},           {"comment", &KeptRow::comment},
    {"fullTitle", &KeptRow::fullTitle}, {"fullArtist", &KeptRow::fullArtist},
    {"fullAlbum", &KeptRow::fullAlbum}, {"fullComment", &KeptRow::fullComment},
    {"genreName", &KeptRow::genreName}, {"failure", &KeptRow::failure},
    {"warning", &KeptRow::warning},     {"sourceDamage", &KeptRow::sourceDamage},
};
const NumberField<KeptRow> kRowNumbers[] = {
    {"track", &KeptRow::track, -1, INT32_MAX, -1},
    {"trackCount", &KeptRow::trackCount, 0, kHighestNumber, 0},
    {"genre", &KeptRow::genre, 0, UINT8_MAX, 0},
};
const TextField<ReleaseTags> kReleaseTexts[] = {
    {"title", &ReleaseTags::title},
    {"artist", &ReleaseTags::artist},
    {"album", &ReleaseTags::album},
    {"albumArtist", &ReleaseTags::albumArtist},
    {"media", &ReleaseTags::media},
    {"originalDate", &ReleaseTags::originalDate},
    {"recordingId", &ReleaseTags::recordingId, Shape::Id},
    {"releaseTrackId", &ReleaseTags::releaseTrackId, Shape::Id},
    {"isrc", &ReleaseTags::isrc},
    {"releaseId", &ReleaseTags::releaseId, Shape::Id},
    {"releaseGroupId", &ReleaseTags::releaseGroupId, Shape::Id},
    {"discId", &ReleaseTags::discId, Shape::DiscId},
    {"releaseCountry", &ReleaseTags::releaseCountry},
    {"barcode", &ReleaseTags::barcode},
};
const NumberField<ReleaseTags> kReleaseNumbers[] = {
    {"discNumber", &ReleaseTags::discNumber, 0, kHighestNumber, 0},
    {"discCount", &ReleaseTags::discCount, 0, kHighestNumber, 0},
    {"trackCount", &ReleaseTags::trackCount, 0, kHighestNumber, 0},
};
const ListField<ReleaseTags> kReleaseLists[] = {
    {"artistIds", &ReleaseTags::artistIds, true},
    {"albumArtistIds", &ReleaseTags::albumArtistIds, true},
    {"labels", &ReleaseTags::labels, false},
    {"catalogNumbers", &ReleaseTags::catalogNumbers, false},
};

template <class T, size_t Texts, size_t Numbers>
void PutFields(QJsonObject& object, const T& value, const TextField<T> (&texts)[Texts],
               const NumberField<T> (&numbers)[Numbers]) {
    for (const TextField<T>& field : texts) {
        object.insert(QLatin1StringView(field.key), Text(value.*field.member));
    }
    for (const NumberField<T>& field : numbers) {
        object.insert(QLatin1StringView(field.key), value.*field.member);
    }
}

QJsonObject ReleaseObject(const ReleaseTags& release) {
    QJsonObject object;
    PutFields(object, release, kReleaseTexts, kReleaseNumbers);
    for (const ListField<ReleaseTags>& field : kReleaseLists) {
        object.insert(QLatin1StringView(field.key), Texts(release.*field.member));
    }
    return object;
}

// The release covers of the rows, each once: the rows of a disc share one picture.
class Covers {
public:
    // The cover's place among those kept, -1 for none.
    int Add(const std::optional<CoverPicture>& cover) {
        if (!cover) {
            return -1;
        }
        for (size_t i = 0; i < covers.size(); ++i) {
            if (covers[i] == *cover) {
                return static_cast<int>(i);
            }
        }
        covers.push_back(*cover);
        return static_cast<int>(covers.size() - 1);
    }
    [[nodiscard]] QJsonArray Array() const {
        QJsonArray array;
        for (const CoverPicture& cover : covers) {
            array.append(
                QJsonObject{{QStringLiteral("type"), QString::fromStdString(cover.mimeType)},
                            {QStringLiteral("data"), QString::fromLatin1(cover.bytes.toBase64())}});
        }
        return array;
    }

private:
    std::vector<CoverPicture> covers;
};

QJsonObject RowObject(const KeptRow& row, Covers& covers) {
    QJsonObject object{
        {QStringLiteral("file"), QFile::decodeName(row.file.c_str())},
        {QStringLiteral("genreGiven"), row.genreGiven},
        {QStringLiteral("cover"), QFile::decodeName(row.cover.c_str())},
    };
    PutFields(object, row, kRowTexts, kRowNumbers);
    if (!row.release.Empty()) {
        QJsonObject release = ReleaseObject(row.release);
        if (const int cover = covers.Add(row.release.frontCover); cover >= 0) {
            release.insert(QStringLiteral("frontCover"), cover);
        }
        object.insert(QStringLiteral("release"), release);
    }
    if (row.disc) {
        QJsonArray offsets;
        for (const int32_t offset : row.disc->trackOffsets) {
            offsets.append(offset);
        }
        object.insert(QStringLiteral("disc"),
                      QJsonObject{{QStringLiteral("firstTrack"), row.disc->firstTrack},
                                  {QStringLiteral("trackOffsets"), offsets},
                                  {QStringLiteral("leadOut"), row.disc->leadOut}});
    }
    return object;
}

// Reads the values of one JSON object, each checked for its type, range and size; the first
// value that does not fit makes the whole object unfit.
class Fields {
public:
    explicit Fields(const QJsonValue& value) : object(value.toObject()), fit(value.isObject()) {}

    [[nodiscard]] bool Fit() const { return fit; }

    // A text with its control and direction characters taken out; missing, an empty text.
    std::string Text(const char* key) {
        const QJsonValue value = object.value(QLatin1StringView(key));
        if (value.isUndefined()) {
            return {};
        }
        if (!value.isString() || value.toString().size() > kLongestText) {
            fit = false;
            return {};
        }
        return kit::CleanOutsideText(value.toString().toStdString());
    }

    // An absolute path without NULs, or empty (for an optional one).
    std::filesystem::path Path(const char* key, bool required) {
        const QJsonValue value = object.value(QLatin1StringView(key));
        const QByteArray path = QFile::encodeName(value.toString());
        if ((value.isUndefined() || path.isEmpty()) && !required) {
            return {};
        }
        if (!value.isString() || !path.startsWith('/') || path.contains('\0') ||
            path.size() >= PATH_MAX) {
            fit = false;
            return {};
        }
        return {path.toStdString()};
    }

    int32_t Number(const char* key, int lowest, int highest, int missing) {
        const QJsonValue value = object.value(QLatin1StringView(key));
        if (value.isUndefined()) {
            return missing;
        }
        // The range first: a double beyond an int's range may not be converted to one.
        const double number = value.toDouble(-1e300);
        if (!value.isDouble() || number < lowest || number > highest ||
            number != std::trunc(number)) {
            fit = false;
            return missing;
        }
        return static_cast<int32_t>(number);
    }

    bool Flag(const char* key) {
        const QJsonValue value = object.value(QLatin1StringView(key));
        if (!value.isUndefined() && !value.isBool()) {
            fit = false;
        }
        return value.toBool();
    }

    // A MusicBrainz identifier, or empty.
    std::string Id(const char* key) {
        std::string id = Text(key);
        if (!id.empty() && !IsMusicBrainzId(id)) {
            fit = false;
        }
        return id;
    }

    // Texts (identifiers, when `ids`), at most kMostValues.
    std::vector<std::string> Texts(const char* key, bool ids) {
        const QJsonValue value = object.value(QLatin1StringView(key));
        std::vector<std::string> texts;
        if (value.isUndefined()) {
            return texts;
        }
        const QJsonArray array = value.toArray();
        if (!value.isArray() || array.size() > kMostValues) {
            fit = false;
            return texts;
        }
        for (const QJsonValue& item : array) {
            const QString text = item.toString();
            if (!item.isString() || text.isEmpty() || text.size() > kLongestText ||
                (ids && !IsMusicBrainzId(text.toStdString()))) {
                fit = false;
                return {};
            }
            // A value that cleaning leaves empty (only spaces) is none.
            if (std::string clean = kit::CleanOutsideText(text.toStdString()); !clean.empty()) {
                texts.push_back(std::move(clean));
            }
        }
        return texts;
    }

    [[nodiscard]] QJsonValue Value(const char* key) const {
        return object.value(QLatin1StringView(key));
    }
    void Unfit() { fit = false; }

private:
    QJsonObject object;
    bool fit;
};

template <class T, size_t Texts, size_t Numbers>
void TakeFields(Fields& fields, T& value, const TextField<T> (&texts)[Texts],
                const NumberField<T> (&numbers)[Numbers]) {
    for (const TextField<T>& field : texts) {
        std::string& text = value.*field.member;
        text = field.shape == Shape::Id ? fields.Id(field.key) : fields.Text(field.key);
        if (field.shape == Shape::DiscId && !text.empty() && !IsMusicBrainzDiscId(text)) {
            fields.Unfit();
        }
    }
    for (const NumberField<T>& field : numbers) {
        value.*field.member = fields.Number(field.key, field.lowest, field.highest, field.missing);
    }
}

ReleaseTags ReadRelease(Fields& fields) {
    ReleaseTags release;
    TakeFields(fields, release, kReleaseTexts, kReleaseNumbers);
    for (const ListField<ReleaseTags>& field : kReleaseLists) {
        release.*field.member = fields.Texts(field.key, field.ids);
    }
    return release;
}

std::optional<DiscToc> ReadDisc(Fields& fields) {
    DiscToc toc;
    toc.firstTrack = fields.Number("firstTrack", 1, 99, 1);
    toc.leadOut = fields.Number("leadOut", 0, kLastSector, 0);
    const QJsonValue offsets = fields.Value("trackOffsets");
    if (!offsets.isArray() || offsets.toArray().size() > 99) {
        fields.Unfit();
        return std::nullopt;
    }
    int32_t previous = -1;
    for (const QJsonValue& value : offsets.toArray()) {
        const double offset = value.toDouble(-1);
        if (!value.isDouble() || offset <= previous || offset >= toc.leadOut ||
            offset != std::trunc(offset)) {
            fields.Unfit();
            return std::nullopt;
        }
        previous = static_cast<int32_t>(offset);
        toc.trackOffsets.push_back(previous);
    }
    return toc;
}

// The kept covers, each a JPEG or PNG picture of at most 16 MiB whose bytes show its type;
// nothing when one is not.
std::optional<std::vector<CoverPicture>> ReadCovers(const QJsonValue& value) {
    constexpr qsizetype kLargestCover = qsizetype{16} * 1024 * 1024;
    std::vector<CoverPicture> covers;
    if (value.isUndefined()) {
        return covers;
    }
    if (!value.isArray()) {
        return std::nullopt;
    }
    const QMimeDatabase types;
    for (const QJsonValue& item : value.toArray()) {
        const QString type = item.toObject().value(QLatin1StringView("type")).toString();
        const QString data = item.toObject().value(QLatin1StringView("data")).toString();
        if (data.size() > kLargestCover / 3 * 4 + 4) {
            return std::nullopt;
        }
        const auto decoded = QByteArray::fromBase64Encoding(
            data.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || decoded.decoded.isEmpty() || decoded.decoded.size() > kLargestCover ||
            (type != QLatin1StringView("image/jpeg") && type != QLatin1StringView("image/png")) ||
            types.mimeTypeForData(decoded.decoded).name() != type) {
            return std::nullopt;
        }
        covers.push_back({type.toStdString(), decoded.decoded});
    }
    return covers;
}

std::optional<KeptRow> ReadRow(const QJsonValue& value, const std::vector<CoverPicture>& covers) {
    Fields fields(value);
    KeptRow row;
    row.file = fields.Path("file", true);
    row.cover = fields.Path("cover", false);
    row.genreGiven = fields.Flag("genreGiven");
    TakeFields(fields, row, kRowTexts, kRowNumbers);
    if (const QJsonValue release = fields.Value("release"); !release.isUndefined()) {
        Fields releaseFields(release);
        row.release = ReadRelease(releaseFields);
        const int cover =
            releaseFields.Number("frontCover", -1, static_cast<int>(covers.size()) - 1, -1);
        if (cover >= 0) {
            row.release.frontCover = covers[static_cast<size_t>(cover)];
        }
        if (!releaseFields.Fit()) {
            fields.Unfit();
        }
        // A release without an album, title or artist is none: rows keep no such release.
        if (row.release.Empty()) {
            row.release = {};
        }
    }
    if (const QJsonValue disc = fields.Value("disc"); !disc.isUndefined()) {
        Fields discFields(disc);
        row.disc = ReadDisc(discFields);
        if (!discFields.Fit()) {
            fields.Unfit();
        }
    }
    return fields.Fit() ? std::optional(std::move(row)) : std::nullopt;
}

std::filesystem::path StateFolder() {
    const QByteArray state = qgetenv("XDG_STATE_HOME");
    // A relative state folder is no folder: it would depend on where the program was started.
    if (state.startsWith('/')) {
        return std::filesystem::path(state.toStdString()) / "vamble";
    }
    const QString home = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    if (home.isEmpty()) {
        return {};
    }
    return std::filesystem::path(QFile::encodeName(home).toStdString()) / ".local" / "state" /
           "vamble";
}

} // namespace

QByteArray KeptListBytes(const std::vector<KeptRow>& rows) {
    QJsonArray array;
    Covers covers;
    for (const KeptRow& row : rows) {
        array.append(RowObject(row, covers));
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), QLatin1StringView(kFormat)},
                                     {QStringLiteral("version"), kVersion},
                                     {QStringLiteral("rows"), array},
                                     {QStringLiteral("covers"), covers.Array()}})
        .toJson(QJsonDocument::Compact);
}

KeptListRead ReadKeptList(const QByteArray& bytes) {
    KeptListRead read;
    QJsonParseError error{};
    const QJsonObject list = QJsonDocument::fromJson(bytes, &error).object();
    if (error.error != QJsonParseError::NoError ||
        list.value(QLatin1StringView("format")).toString() != QLatin1StringView(kFormat)) {
        read.damage = QT_TRANSLATE_NOOP("KeptList", "it is not a list of files this program wrote");
        return read;
    }
    const QJsonValue version = list.value(QLatin1StringView("version"));
    if (!version.isDouble() || version.toDouble() < kVersion) {
        read.damage = QT_TRANSLATE_NOOP("KeptList", "it has no version this program knows");
        return read;
    }
    if (version.toDouble() > kVersion) {
        read.newer = true;
        return read;
    }
    const QJsonValue rows = list.value(QLatin1StringView("rows"));
    if (!rows.isArray()) {
        read.damage = QT_TRANSLATE_NOOP("KeptList", "it holds no rows");
        return read;
    }
    const std::optional<std::vector<CoverPicture>> covers =
        ReadCovers(list.value(QLatin1StringView("covers")));
    if (!covers) {
        read.damage = QT_TRANSLATE_NOOP("KeptList", "a cover in it is damaged");
        return read;
    }
    for (const QJsonValue& value : rows.toArray()) {
        std::optional<KeptRow> row = ReadRow(value, *covers);
        if (!row) {
            read.rows.clear();
            read.damage = QT_TRANSLATE_NOOP("KeptList", "a row in it is damaged");
            return read;
        }
        read.rows.push_back(std::move(*row));
    }
    return read;
}

KeptListFile::KeptListFile(std::filesystem::path folder) {
    if (folder.empty()) {
        folder = StateFolder();
    }
    if (folder.empty()) {
        return;
    }
    // The folder is the program's own: made private, and never used through a link.
    if (!kit::MakeOwnFolder(folder).isEmpty()) {
        return;
    }
    path = folder / "list.json";
    // Held for as long as the program runs, and given up by the system when it ends in any way.
    const std::filesystem::path lockPath = folder / "list.lock";
    lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        lock = -1;
    }
}

KeptListFile::~KeptListFile() {
    if (lock >= 0) {
        ::close(lock);
    }
}

KeptListFile::Loaded KeptListFile::Load() {
    Loaded loaded;
    if (!Held()) {
        return loaded;
    }
    std::error_code missing;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, missing))) {
        return loaded;
    }
    // Not a link, not a FIFO, not without end: read only as a regular file of a bounded size.
    const std::optional<QByteArray> bytes = kit::ReadOwnFile(path, kLargestFile);
    KeptListRead read;
    QString problem;
    if (!bytes) {
        problem = QCoreApplication::translate(
            "KeptList", "it cannot be read, is no regular file or is larger than 256 MiB");
    } else {
        read = ReadKeptList(*bytes);
        problem =
            read.newer
                ? QCoreApplication::translate("KeptList", "a newer version of the program wrote it")
            : read.damage.empty() ? QString()
                                  : QCoreApplication::translate("KeptList", read.damage.c_str());
    }
    if (problem.isEmpty()) {
        loaded.rows = std::move(read.rows);
        return loaded;
    }
    // Set aside under a name of its own, never deleted: a newer version may still want it.
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    const std::filesystem::path aside = path.string() + ".set-aside-" + stamp;
    std::error_code error;
    std::filesystem::rename(path, aside, error);
    loaded.problem =
        (error ? QCoreApplication::translate(
                     "KeptList",
                     "The list of files from last time could not be taken: %1. It stays at %2.")
               : QCoreApplication::translate(
                     "KeptList",
                     "The list of files from last time could not be taken: %1. It was kept as %2."))
            .arg(problem, QFile::decodeName((error ? path : aside).c_str()));
    return loaded;
}

QString KeptListFile::Write(const QByteArray& bytes) const {
    return Held() ? kit::ReplaceFile(path, bytes, false) : QString();
}
