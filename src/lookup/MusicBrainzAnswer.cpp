#include "lookup/MusicBrainzAnswer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

std::string Text(const QJsonObject& object, QLatin1StringView key) {
    return object.value(key).toString().toStdString();
}

// An artist credit as the service shows it: each credited name followed by its join phrase
// ("Artist A feat. Artist B"), and the artists' IDs.
void ReadArtistCredit(const QJsonArray& credit, std::string& shown, std::vector<std::string>& ids) {
    shown.clear();
    ids.clear();
    for (const QJsonValue& value : credit) {
        const QJsonObject name = value.toObject();
        shown +=
            Text(name, QLatin1StringView("name")) + Text(name, QLatin1StringView("joinphrase"));
        const std::string id =
            Text(name.value(QLatin1StringView("artist")).toObject(), QLatin1StringView("id"));
        if (!id.empty()) {
            ids.push_back(id);
        }
    }
}

bool MediumHoldsDisc(const QJsonObject& medium, std::string_view discId) {
    const QJsonArray discs = medium.value(QLatin1StringView("discs")).toArray();
    return std::any_of(discs.begin(), discs.end(), [discId](const QJsonValue& disc) {
        return Text(disc.toObject(), QLatin1StringView("id")) == discId;
    });
}

std::vector<TrackNames> ReadTracks(const QJsonArray& tracks) {
    std::vector<TrackNames> read;
    for (const QJsonValue& value : tracks) {
        const QJsonObject track = value.toObject();
        const QJsonObject recording = track.value(QLatin1StringView("recording")).toObject();
        TrackNames names;
        names.position = track.value(QLatin1StringView("position")).toInt();
        names.title = Text(track, QLatin1StringView("title"));
        if (names.title.empty()) {
            names.title = Text(recording, QLatin1StringView("title"));
        }
        // A track's own credit, else its recording's.
        QJsonArray credit = track.value(QLatin1StringView("artist-credit")).toArray();
        if (credit.isEmpty()) {
            credit = recording.value(QLatin1StringView("artist-credit")).toArray();
        }
        ReadArtistCredit(credit, names.artist, names.artistIds);
        names.recordingId = Text(recording, QLatin1StringView("id"));
        names.trackId = Text(track, QLatin1StringView("id"));
        if (names.position > 0) {
            read.push_back(std::move(names));
        }
    }
    return read;
}

ReleaseNames ReadRelease(const QJsonObject& release, std::string_view discId) {
    ReleaseNames names;
    names.releaseId = Text(release, QLatin1StringView("id"));
    names.title = Text(release, QLatin1StringView("title"));
    ReadArtistCredit(release.value(QLatin1StringView("artist-credit")).toArray(), names.artist,
                     names.artistIds);
    names.date = Text(release, QLatin1StringView("date"));
    names.country = Text(release, QLatin1StringView("country"));
    names.barcode = Text(release, QLatin1StringView("barcode"));
    names.releaseGroupId =
        Text(release.value(QLatin1StringView("release-group")).toObject(), QLatin1StringView("id"));
    names.discId = discId;
    const QJsonValue front = release.value(QLatin1StringView("cover-art-archive"))
                                 .toObject()
                                 .value(QLatin1StringView("front"));
    names.noFrontCover = front.isBool() && !front.toBool();
    for (const QJsonValue& value : release.value(QLatin1StringView("label-info")).toArray()) {
        const QJsonObject info = value.toObject();
        if (names.label.empty()) {
            names.label =
                Text(info.value(QLatin1StringView("label")).toObject(), QLatin1StringView("name"));
        }
        if (names.catalogNumber.empty()) {
            names.catalogNumber = Text(info, QLatin1StringView("catalog-number"));
        }
    }
    const QJsonArray media = release.value(QLatin1StringView("media")).toArray();
    names.discCount = static_cast<int32_t>(media.size());
    QJsonObject medium = media.isEmpty() ? QJsonObject() : media.first().toObject();
    for (const QJsonValue& value : media) {
        if (MediumHoldsDisc(value.toObject(), discId)) {
            medium = value.toObject();
            break;
        }
    }
    names.discNumber = medium.value(QLatin1StringView("position")).toInt();
    names.tracks = ReadTracks(medium.value(QLatin1StringView("tracks")).toArray());
    names.trackCount =
        medium.value(QLatin1StringView("track-count")).toInt(static_cast<int>(names.tracks.size()));
    return names;
}

} // namespace

MusicBrainzAnswer ParseMusicBrainzDisc(const QByteArray& json, std::string_view discId) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    const QJsonValue releases = document.object().value(QLatin1StringView("releases"));
    if (error.error != QJsonParseError::NoError || !document.isObject() || !releases.isArray()) {
        return {.releases = {}, .malformed = true};
    }
    MusicBrainzAnswer answer;
    for (const QJsonValue& release : releases.toArray()) {
        if (!release.isObject()) {
            return {.releases = {}, .malformed = true};
        }
        answer.releases.push_back(ReadRelease(release.toObject(), discId));
    }
    return answer;
}
