#include "lookup/DiscLookup.h"

#include "lookup/CddbAnswer.h"
#include "lookup/DiscIds.h"
#include "lookup/MusicBrainzAnswer.h"

#include <QFile>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QStringList>
#include <QThreadPool>
#include <QUrlQuery>
#include <algorithm>
#include <memory>
#include <optional>

namespace {

namespace fs = std::filesystem;

constexpr int kOk = 200;
constexpr int kNotFound = 404;
constexpr int kServiceUnavailable = 503;
constexpr qint64 kLongestAnswer = qint64{4} << 20;
constexpr qint64 kLargestImage = qint64{12} << 20;
constexpr int kSectorsPerSecond = 75;

// The kept answers of one disc: the MusicBrainz answer as it came, the gnudb entry as it came,
// the user's choice among several releases, and front images by release.
constexpr const char* kMusicBrainzFile = "musicbrainz.json";
constexpr const char* kGnudbFile = "gnudb.txt";
constexpr const char* kChoiceFile = "choice";

QString FileName(const fs::path& path) {
    return QFile::decodeName(QByteArray(path.c_str()));
}

QUrl ServiceUrl(const QUrl& base, const QString& path, const QString& query = {}) {
    QUrl url = base;
    QString basePath = url.path();
    while (basePath.endsWith(QLatin1Char('/'))) {
        basePath.chop(1);
    }
    url.setPath(basePath + path);
    url.setQuery(query, QUrl::StrictMode);
    return url;
}

QUrl EnvironmentUrl(const char* name, const char* fallback) {
    const QByteArray value = qgetenv(name);
    return {QString::fromUtf8(value.isEmpty() ? QByteArray(fallback) : value)};
}

bool NamesTracks(const ReleaseNames& names) {
    return std::any_of(names.tracks.begin(), names.tracks.end(),
                       [](const TrackNames& track) { return !track.title.empty(); });
}

QString ServiceFailure(const QString& service, const HttpAnswer& answer) {
    switch (answer.status) {
    case 0:
        return QStringLiteral("%1 %2").arg(service, answer.failure);
    case kNotFound:
        return DiscLookup::tr("%1 does not know this disc").arg(service);
    case kServiceUnavailable:
        return DiscLookup::tr("%1 is busy; try Look Up Again later").arg(service);
    default:
        return DiscLookup::tr("%1 answered HTTP %2").arg(service).arg(answer.status);
    }
}

// The CDDB "hello" of gnudb: the user's e-mail address as user name and host, then the program.
QString CddbHello(const std::string& email) {
    const QString address = QString::fromStdString(email).trimmed();
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    const QString user = at < 0 ? address : address.left(at);
    const QString host = at < 0 ? QStringLiteral("localhost") : address.mid(at + 1);
    return QString::fromLatin1(QUrl::toPercentEncoding(user) + '+' + QUrl::toPercentEncoding(host) +
                               "+Vamble+" VAMBLE_VERSION);
}

// "cddb query <disc ID> <track count> <offsets...> <length in seconds>"
QString CddbQuery(const DiscToc& toc, const std::string& freedbId) {
    QStringList words{QStringLiteral("cddb"), QStringLiteral("query"),
                      QString::fromStdString(freedbId), QString::number(toc.trackOffsets.size())};
    for (const int32_t offset : toc.trackOffsets) {
        words << QString::number(offset);
    }
    words << QString::number(toc.leadOut / kSectorsPerSecond);
    return words.join(QLatin1Char('+'));
}

} // namespace

LookupServices LookupServices::FromEnvironment() {
    return {EnvironmentUrl("VAMBLE_MUSICBRAINZ_URL", "https://musicbrainz.org"),
            EnvironmentUrl("VAMBLE_COVERART_URL", "https://coverartarchive.org"),
            EnvironmentUrl("VAMBLE_GNUDB_URL", "https://gnudb.gnudb.org")};
}

// One look-up as it goes from service to service.
class DiscLookup::Chain {
public:
    Chain(DiscLookup& lookup, DiscLookupRequest disc,
          std::function<void(const DiscLookupAnswer&)> whenDone)
        : owner(lookup), request(std::move(disc)), done(std::move(whenDone)) {}

    static void Start(const std::shared_ptr<Chain>& chain);

private:
    void AskMusicBrainz(const std::shared_ptr<Chain>& self);
    void UseCdText(const std::shared_ptr<Chain>& self);
    void AskGnudb(const std::shared_ptr<Chain>& self);
    void ReadGnudbEntry(const std::shared_ptr<Chain>& self, const QString& category,
                        const QString& entry);
    bool UseGnudbEntry(const QByteArray& text);
    void Finish(NameSource source, std::vector<ReleaseNames> releases);
    [[nodiscard]] fs::path Kept(const char* name) const {
        return owner.AnswerFolder(ids.musicBrainz) / name;
    }

    DiscLookup& owner;
    DiscLookupRequest request;
    std::function<void(const DiscLookupAnswer&)> done;
    DiscIds ids;
    DiscLookupAnswer answer;
    QStringList reasons; // why the services asked before gave no names
};

void DiscLookup::Chain::Start(const std::shared_ptr<Chain>& chain) {
    const std::optional<DiscIds> ids = ComputeDiscIds(chain->request.disc.toc);
    if (!ids) {
        chain->reasons << tr("the disc's table of contents cannot be looked up");
        chain->UseCdText(chain);
        return;
    }
    chain->ids = *ids;
    chain->answer.discId = ids->musicBrainz;
    if (!chain->request.refresh) {
        if (const auto kept = chain->owner.ReadKept(chain->Kept(kMusicBrainzFile))) {
            MusicBrainzAnswer parsed = ParseMusicBrainzDisc(*kept, ids->musicBrainz);
            if (!parsed.releases.empty()) {
                chain->answer.chosenReleaseId = chain->owner.ReadKept(chain->Kept(kChoiceFile))
                                                    .value_or(QByteArray())
                                                    .toStdString();
                chain->Finish(NameSource::MusicBrainz, std::move(parsed.releases));
                return;
            }
        }
    }
    if (!chain->owner.settings.online) {
        chain->reasons << tr("looking up discs online is off");
        chain->UseCdText(chain);
        return;
    }
    chain->AskMusicBrainz(chain);
}

void DiscLookup::Chain::AskMusicBrainz(const std::shared_ptr<Chain>& self) {
    const QUrl url = ServiceUrl(
        owner.services.musicBrainz,
        QStringLiteral("/ws/2/discid/") + QString::fromStdString(ids.musicBrainz),
        QStringLiteral("inc=recordings+artist-credits+labels+release-groups&cdstubs=no&fmt=json"));
    owner.http.Get(url, "application/json", kLongestAnswer, [self](const HttpAnswer& reply) {
        const QString service = QStringLiteral("MusicBrainz");
        if (reply.status != kOk) {
            self->reasons << ServiceFailure(service, reply);
        } else if (MusicBrainzAnswer parsed =
                       ParseMusicBrainzDisc(reply.body, self->ids.musicBrainz);
                   parsed.malformed) {
            self->reasons << tr("%1 sent an answer that cannot be read").arg(service);
        } else if (parsed.releases.empty()) {
            self->reasons << tr("%1 does not know this disc").arg(service);
        } else {
            self->owner.Keep(self->Kept(kMusicBrainzFile), reply.body);
            self->Finish(NameSource::MusicBrainz, std::move(parsed.releases));
            return;
        }
        self->UseCdText(self);
    });
}

void DiscLookup::Chain::UseCdText(const std::shared_ptr<Chain>& self) {
    if (NamesTracks(request.disc.cdText)) {
        Finish(NameSource::CdText, {request.disc.cdText});
        return;
    }
    AskGnudb(self);
}

void DiscLookup::Chain::AskGnudb(const std::shared_ptr<Chain>& self) {
    if (!owner.settings.online || ids.freedb.empty()) {
        Finish(NameSource::None, {});
        return;
    }
    if (owner.settings.gnudbEmail.empty()) {
        reasons << tr("gnudb is asked once an e-mail address is set");
        Finish(NameSource::None, {});
        return;
    }
    if (!request.refresh) {
        if (const auto entry = owner.ReadKept(Kept(kGnudbFile)); entry && UseGnudbEntry(*entry)) {
            return;
        }
    }
    const QString query = QStringLiteral("cmd=") + CddbQuery(request.disc.toc, ids.freedb) +
                          QStringLiteral("&hello=") + CddbHello(owner.settings.gnudbEmail) +
                          QStringLiteral("&proto=6");
    const QUrl url = ServiceUrl(owner.services.gnudb, QStringLiteral("/~cddb/cddb.cgi"), query);
    owner.http.Get(url, "text/plain", kLongestAnswer, [self](const HttpAnswer& reply) {
        if (reply.status != kOk) {
            self->reasons << ServiceFailure(QStringLiteral("gnudb"), reply);
            self->Finish(NameSource::None, {});
            return;
        }
        const CddbQueryAnswer found = ParseCddbQuery(reply.body.toStdString());
        if (!found.error.empty() || found.matches.empty()) {
            self->reasons << (found.matches.empty() && found.error.empty()
                                  ? tr("gnudb does not know this disc")
                                  : QString::fromStdString(found.error));
            self->Finish(NameSource::None, {});
            return;
        }
        const CddbMatch& match = found.matches.front();
        self->ReadGnudbEntry(self, QString::fromStdString(match.category),
                             QString::fromStdString(match.discId));
    });
}

void DiscLookup::Chain::ReadGnudbEntry(const std::shared_ptr<Chain>& self, const QString& category,
                                       const QString& entry) {
    const QString query = QStringLiteral("cmd=cddb+read+%1+%2&hello=%3&proto=6")
                              .arg(QString::fromLatin1(QUrl::toPercentEncoding(category)),
                                   QString::fromLatin1(QUrl::toPercentEncoding(entry)),
                                   CddbHello(owner.settings.gnudbEmail));
    const QUrl url = ServiceUrl(owner.services.gnudb, QStringLiteral("/~cddb/cddb.cgi"), query);
    owner.http.Get(url, "text/plain", kLongestAnswer, [self](const HttpAnswer& reply) {
        if (reply.status != kOk) {
            self->reasons << ServiceFailure(QStringLiteral("gnudb"), reply);
        } else if (self->UseGnudbEntry(reply.body)) {
            self->owner.Keep(self->Kept(kGnudbFile), reply.body);
            return;
        }
        self->Finish(NameSource::None, {});
    });
}

bool DiscLookup::Chain::UseGnudbEntry(const QByteArray& text) {
    CddbReadAnswer read = ParseCddbRead(text.toStdString());
    if (!read.release) {
        reasons << QString::fromStdString(read.error);
        return false;
    }
    read.release->discId = ids.musicBrainz;
    Finish(NameSource::Gnudb, {std::move(*read.release)});
    return true;
}

void DiscLookup::Chain::Finish(NameSource source, std::vector<ReleaseNames> releases) {
    answer.source = source;
    answer.releases = std::move(releases);
    const QString why = reasons.join(QStringLiteral("; "));
    switch (source) {
    case NameSource::MusicBrainz:
        answer.status = tr("Names from MusicBrainz");
        break;
    case NameSource::CdText:
        answer.status = tr("Names from the disc's CD-Text");
        break;
    case NameSource::Gnudb:
        answer.status = tr("Names from gnudb");
        break;
    case NameSource::None:
        answer.status = tr("No names found for this disc");
        break;
    }
    if (!why.isEmpty()) {
        answer.status += QStringLiteral(" (") + why + QLatin1Char(')');
    }
    done(answer);
}

DiscLookup::DiscLookup(LookupServices servicesToAsk, LookupSettings settingsToUse,
                       LookupTiming timing, QObject* parent)
    : QObject(parent), services(std::move(servicesToAsk)), settings(std::move(settingsToUse)),
      http(timing, this) {
    keeping.setMaxThreadCount(1); // in the order kept
}

DiscLookup::~DiscLookup() = default;

void DiscLookup::SetSettings(LookupSettings settingsToUse) {
    settings = std::move(settingsToUse);
}

fs::path DiscLookup::AnswerFolder(const std::string& discId) const {
    return settings.cacheFolder / "lookup" / discId;
}

std::optional<QByteArray> DiscLookup::ReadKept(const fs::path& path) const {
    if (const auto found = kept.find(path); found != kept.end()) {
        return found->second;
    }
    QFile file(FileName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

void DiscLookup::Keep(const fs::path& path, const QByteArray& bytes) {
    kept[path] = bytes;
    keeping.start([path, bytes] {
        std::error_code error;
        fs::create_directories(path.parent_path(), error);
        QSaveFile file(FileName(path));
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) {
            file.commit();
        }
    });
}

void DiscLookup::LookUp(const DiscLookupRequest& request,
                        std::function<void(const DiscLookupAnswer&)> done) {
    Chain::Start(std::make_shared<Chain>(*this, request, std::move(done)));
}

void DiscLookup::RememberChoice(const std::string& discId, const std::string& releaseId) {
    if (!discId.empty()) {
        Keep(AnswerFolder(discId) / kChoiceFile, QByteArray::fromStdString(releaseId));
    }
}

void DiscLookup::FetchFrontCover(const ReleaseNames& release,
                                 std::function<void(const CoverArt&)> done) {
    if (release.releaseId.empty() || release.noFrontCover) {
        done({});
        return;
    }
    const fs::path keptAs = AnswerFolder(release.discId) / ("front-" + release.releaseId);
    const QMimeDatabase mimeTypes;
    if (const auto image = ReadKept(keptAs)) {
        done({*image, mimeTypes.mimeTypeForData(*image).name(), {}});
        return;
    }
    if (!settings.online) {
        done({});
        return;
    }
    const QUrl url = ServiceUrl(
        services.coverArt,
        QStringLiteral("/release/%1/front-500").arg(QString::fromStdString(release.releaseId)));
    http.Get(
        url, "image/jpeg, image/png", kLargestImage,
        [this, keptAs, done = std::move(done)](const HttpAnswer& answer) {
            if (answer.status == kNotFound) {
                done({});
                return;
            }
            if (answer.status != kOk) {
                done({{}, {}, ServiceFailure(QStringLiteral("The Cover Art Archive"), answer)});
                return;
            }
            const QString type = QMimeDatabase().mimeTypeForData(answer.body).name();
            if (type != QLatin1StringView("image/jpeg") && type != QLatin1StringView("image/png")) {
                done({{}, {}, tr("The Cover Art Archive sent no JPEG or PNG picture")});
                return;
            }
            Keep(keptAs, answer.body);
            done({answer.body, type, {}});
        });
}
