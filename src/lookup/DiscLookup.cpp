// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/DiscLookup.h"

#include "kit/OwnFiles.h"
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
constexpr qint64 kLongestChoice = 64;
constexpr int kSectorsPerSecond = 75;

// The kept answers of one disc: the MusicBrainz answer as it came, the gnudb entry as it came,
// the user's choice among several releases, and front images by release ("front-" and the
// release's ID, checked to be one).
constexpr const char* kMusicBrainzFile = "musicbrainz.json";
constexpr const char* kGnudbFile = "gnudb.txt";
constexpr const char* kChoiceFile = "choice";
constexpr const char* kLookupFolder = "lookup";

bool IsPicture(const QString& mimeType) {
    return mimeType == QLatin1StringView("image/jpeg") ||
           mimeType == QLatin1StringView("image/png");
}

// A kept choice: a release ID, or kNoRelease; anything else counts as no choice.
std::string ValidChoice(const std::optional<QByteArray>& kept) {
    const std::string choice = kept.value_or(QByteArray()).toStdString();
    return choice == kNoRelease || IsMusicBrainzId(choice) ? choice : std::string();
}

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
    void UseKeptMusicBrainz(const std::shared_ptr<Chain>& self,
                            const std::optional<QByteArray>& keptAnswer);
    void AskOnline(const std::shared_ptr<Chain>& self);
    void AskMusicBrainz(const std::shared_ptr<Chain>& self);
    void UseCdText(const std::shared_ptr<Chain>& self);
    void AskGnudb(const std::shared_ptr<Chain>& self);
    void AskGnudbOnline(const std::shared_ptr<Chain>& self);
    void ReadGnudbEntry(const std::shared_ptr<Chain>& self, const QString& category,
                        const QString& entry);
    bool UseGnudbEntry(const QByteArray& text);
    void Finish(NameSource source, std::vector<ReleaseNames> releases);

    DiscLookup& owner;
    DiscLookupRequest request;
    std::function<void(const DiscLookupAnswer&)> done;
    DiscIds ids;
    DiscLookupAnswer answer;
    QStringList reasons; // why the services asked before gave no names
};

void DiscLookup::Chain::Start(const std::shared_ptr<Chain>& chain) {
    const std::optional<DiscIds> ids = ComputeDiscIds(chain->request.disc.toc);
    if (!ids || !IsMusicBrainzDiscId(ids->musicBrainz)) {
        chain->reasons << tr("the disc's table of contents cannot be looked up");
        chain->UseCdText(chain);
        return;
    }
    chain->ids = *ids;
    chain->answer.discId = ids->musicBrainz;
    if (chain->request.refresh) {
        chain->AskOnline(chain);
        return;
    }
    chain->owner.ReadKept(chain->ids.musicBrainz, kMusicBrainzFile, kLongestAnswer,
                          [chain](const std::optional<QByteArray>& keptAnswer) {
                              chain->UseKeptMusicBrainz(chain, keptAnswer);
                          });
}

void DiscLookup::Chain::UseKeptMusicBrainz(const std::shared_ptr<Chain>& self,
                                           const std::optional<QByteArray>& keptAnswer) {
    MusicBrainzAnswer parsed =
        keptAnswer ? ParseMusicBrainzDisc(*keptAnswer, ids.musicBrainz) : MusicBrainzAnswer();
    if (parsed.releases.empty()) {
        AskOnline(self);
        return;
    }
    owner.ReadKept(ids.musicBrainz, kChoiceFile, kLongestChoice,
                   [self, releases = std::move(parsed.releases)](
                       const std::optional<QByteArray>& choice) mutable {
                       self->answer.chosenReleaseId = ValidChoice(choice);
                       self->Finish(NameSource::MusicBrainz, std::move(releases));
                   });
}

void DiscLookup::Chain::AskOnline(const std::shared_ptr<Chain>& self) {
    if (!owner.settings.online) {
        reasons << tr("looking up discs online is off");
        UseCdText(self);
        return;
    }
    AskMusicBrainz(self);
}

void DiscLookup::Chain::AskMusicBrainz(const std::shared_ptr<Chain>& self) {
    const QUrl url = ServiceUrl(
        owner.services.musicBrainz,
        QStringLiteral("/ws/2/discid/") + QString::fromStdString(ids.musicBrainz),
        QStringLiteral(
            "inc=recordings+artist-credits+labels+release-groups+isrcs&cdstubs=no&fmt=json"));
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
            self->owner.Keep(self->ids.musicBrainz, kMusicBrainzFile, reply.body);
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
    if (request.refresh) {
        AskGnudbOnline(self);
        return;
    }
    owner.ReadKept(ids.musicBrainz, kGnudbFile, kLongestAnswer,
                   [self](const std::optional<QByteArray>& entry) {
                       if (!entry || !self->UseGnudbEntry(*entry)) {
                           self->AskGnudbOnline(self);
                       }
                   });
}

void DiscLookup::Chain::AskGnudbOnline(const std::shared_ptr<Chain>& self) {
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
            self->owner.Keep(self->ids.musicBrainz, kGnudbFile, reply.body);
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
    connect(this, &DiscLookup::KeptAnswerRead, this, &DiscLookup::FinishRead, Qt::QueuedConnection);
}

DiscLookup::~DiscLookup() = default;

void DiscLookup::SetSettings(LookupSettings settingsToUse) {
    settings = std::move(settingsToUse);
}

std::optional<fs::path> DiscLookup::KeptPath(const std::string& discId,
                                             const std::string& name) const {
    if (!IsMusicBrainzDiscId(discId) || settings.cacheFolder.empty()) {
        return std::nullopt;
    }
    return settings.cacheFolder / kLookupFolder / discId / name;
}

void DiscLookup::ReadKept(const std::string& discId, const std::string& name, qint64 maxBytes,
                          KeptRead done) {
    const std::optional<fs::path> path = KeptPath(discId, name);
    if (!path) {
        done(std::nullopt);
        return;
    }
    if (const auto found = kept.find(*path); found != kept.end()) {
        done(found->second);
        return;
    }
    const quint64 read = nextRead++;
    readsWaiting[read] = std::move(done);
    keeping.start([this, path = *path, maxBytes, read] {
        // Each folder on the way is checked, so that no link leads the read elsewhere.
        const fs::path root = path.parent_path().parent_path().parent_path();
        const bool own = kit::CheckOwnFolder(root).isEmpty() &&
                         kit::CheckOwnFolder(root / kLookupFolder).isEmpty() &&
                         kit::CheckOwnFolder(path.parent_path()).isEmpty();
        {
            const std::lock_guard lock(readsMutex);
            readsDone[read] = own ? kit::ReadOwnFile(path, maxBytes) : std::nullopt;
        }
        emit KeptAnswerRead(read);
    });
}

void DiscLookup::FinishRead(quint64 read) {
    std::optional<QByteArray> bytes;
    {
        const std::lock_guard lock(readsMutex);
        bytes = std::move(readsDone[read]);
        readsDone.erase(read);
    }
    const auto waiting = readsWaiting.find(read);
    if (waiting != readsWaiting.end()) {
        const KeptRead done = std::move(waiting->second);
        readsWaiting.erase(waiting);
        done(bytes);
    }
}

void DiscLookup::Keep(const std::string& discId, const std::string& name, const QByteArray& bytes) {
    const std::optional<fs::path> path = KeptPath(discId, name);
    if (!path) {
        return;
    }
    kept[*path] = bytes;
    keeping.start([path = *path, bytes] {
        const fs::path folder = path.parent_path();
        const bool own = kit::MakeOwnFolder(folder.parent_path().parent_path()).isEmpty() &&
                         kit::MakeOwnFolder(folder.parent_path()).isEmpty() &&
                         kit::MakeOwnFolder(folder).isEmpty();
        // Written beside and renamed over the name: a link at the name is replaced, not followed.
        QSaveFile file(FileName(path));
        if (own && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) {
            file.commit();
        }
    });
}

void DiscLookup::LookUp(const DiscLookupRequest& request,
                        std::function<void(const DiscLookupAnswer&)> done) {
    Chain::Start(std::make_shared<Chain>(*this, request, std::move(done)));
}

void DiscLookup::RememberChoice(const std::string& discId, const std::string& releaseId) {
    if (releaseId == kNoRelease || IsMusicBrainzId(releaseId)) {
        Keep(discId, kChoiceFile, QByteArray::fromStdString(releaseId));
    }
}

void DiscLookup::FetchFrontCover(const ReleaseNames& release,
                                 std::function<void(const CoverArt&)> done) {
    // The IDs name a file and a path of the service: only IDs of their shape do.
    if (!IsMusicBrainzId(release.releaseId) || !IsMusicBrainzDiscId(release.discId) ||
        release.noFrontCover) {
        done({});
        return;
    }
    ReadKept(release.discId, "front-" + release.releaseId, kLargestImage,
             [this, release, done = std::move(done)](const std::optional<QByteArray>& image) {
                 const QString type =
                     image ? QMimeDatabase().mimeTypeForData(*image).name() : QString();
                 if (IsPicture(type)) {
                     done({*image, type, {}});
                 } else if (settings.online) {
                     DownloadFrontCover(release, done);
                 } else {
                     done({});
                 }
             });
}

void DiscLookup::DownloadFrontCover(const ReleaseNames& release,
                                    const std::function<void(const CoverArt&)>& done) {
    const QUrl url =
        ServiceUrl(services.coverArt, QStringLiteral("/release/%1/front-500")
                                          .arg(QString::fromLatin1(QUrl::toPercentEncoding(
                                              QString::fromStdString(release.releaseId)))));
    http.Get(
        url, "image/jpeg, image/png", kLargestImage,
        [this, release, done](const HttpAnswer& answer) {
            if (answer.status == kNotFound) {
                done({});
                return;
            }
            if (answer.status != kOk) {
                done({{}, {}, ServiceFailure(QStringLiteral("The Cover Art Archive"), answer)});
                return;
            }
            const QString type = QMimeDatabase().mimeTypeForData(answer.body).name();
            if (!IsPicture(type)) {
                done({{}, {}, tr("The Cover Art Archive sent no JPEG or PNG picture")});
                return;
            }
            Keep(release.discId, "front-" + release.releaseId, answer.body);
            done({answer.body, type, {}});
        });
}
