// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/MusicBrainzAnswer.h"

#include "kit/OutsideText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

namespace {

constexpr int kLastTrack = 99;
constexpr int kMostDiscs = 999;

// A text that a name or tag is made of.
std::string Text(const QJsonObject& object, QLatin1StringView key) {
    return kit::CleanOutsideText(object.value(key).toString().toStdString());
}

// An identifier, taken as it is: it is checked for its shape before anything uses it.
std::string Id(const QJsonObject& object) {
    return object.value(QLatin1StringView("id")).toString().toStdString();
}

int InRange(int value, int most) {
    return value >= 0 && value <= most ? value : 0;
}

bool IsIdOrEmpty(const std::string& id) {
    return id.empty() || IsMusicBrainzId(id);
}

bool AllAreIds(const std::vector<std::string>& ids) {
    return std::all_of(ids.begin(), ids.end(), IsMusicBrainzId);
}

// Whether every identifier of the release has the shape of one; the release's own is required,
// since its front cover and its tags are found by it.
bool IdsHaveTheirShape(const ReleaseNames& release) {
    return IsMusicBrainzId(release.releaseId) && IsIdOrEmpty(release.releaseGroupId) &&
           AllAreIds(release.artistIds) &&
           std::all_of(release.tracks.begin(), release.tracks.end(), [](const TrackNames& track) {
               return IsIdOrEmpty(track.recordingId) && IsIdOrEmpty(track.trackId) &&
                      AllAreIds(track.artistIds);
           });
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
        const std::string id = Id(name.value(QLatin1StringView("artist")).toObject());
        if (!id.empty()) {
            ids.push_back(id);
        }
    }
}

bool MediumHoldsDisc(const QJsonObject& medium, std::string_view discId) {
    const QJsonArray discs = medium.value(QLatin1StringView("discs")).toArray();
    return std::any_of(discs.begin(), discs.end(),
                       [discId](const QJsonValue& disc) { return Id(disc.toObject()) == discId; });
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
        names.recordingId = Id(recording);
        names.trackId = Id(track);
        // An ISRC of another shape is left out: it goes into the file's tag as it is.
        for (const QJsonValue& isrc : recording.value(QLatin1StringView("isrcs")).toArray()) {
            static const QRegularExpression kIsrc(QStringLiteral("^[A-Z]{2}[A-Z0-9]{3}[0-9]{7}$"));
            if (isrc.isString() && kIsrc.match(isrc.toString()).hasMatch()) {
                names.isrc = isrc.toString().toStdString();
                break;
            }
        }
        if (names.position > 0 && names.position <= kLastTrack) {
            read.push_back(std::move(names));
        }
    }
    return read;
}

ReleaseNames ReadRelease(const QJsonObject& release, std::string_view discId) {
    ReleaseNames names;
    names.releaseId = Id(release);
    names.title = Text(release, QLatin1StringView("title"));
    names.disambiguation = Text(release, QLatin1StringView("disambiguation"));
    ReadArtistCredit(release.value(QLatin1StringView("artist-credit")).toArray(), names.artist,
                     names.artistIds);
    names.date = Text(release, QLatin1StringView("date"));
    names.country = Text(release, QLatin1StringView("country"));
    names.barcode = Text(release, QLatin1StringView("barcode"));
    names.releaseGroupId = Id(release.value(QLatin1StringView("release-group")).toObject());
    names.discId = discId;
    const QJsonValue front = release.value(QLatin1StringView("cover-art-archive"))
                                 .toObject()
                                 .value(QLatin1StringView("front"));
    names.noFrontCover = front.isBool() && !front.toBool();
    names.originalDate = Text(release.value(QLatin1StringView("release-group")).toObject(),
                              QLatin1StringView("first-release-date"));
    // Every label and catalogue number of the release, each once, in the answer's order.
    const auto add = [](std::vector<std::string>& values, std::string value) {
        if (!value.empty() && std::find(values.begin(), values.end(), value) == values.end()) {
            values.push_back(std::move(value));
        }
    };
    for (const QJsonValue& value : release.value(QLatin1StringView("label-info")).toArray()) {
        const QJsonObject info = value.toObject();
        add(names.labels,
            Text(info.value(QLatin1StringView("label")).toObject(), QLatin1StringView("name")));
        add(names.catalogNumbers, Text(info, QLatin1StringView("catalog-number")));
    }
    const QJsonArray media = release.value(QLatin1StringView("media")).toArray();
    names.discCount = InRange(static_cast<int>(media.size()), kMostDiscs);
    QJsonObject medium = media.isEmpty() ? QJsonObject() : media.first().toObject();
    for (const QJsonValue& value : media) {
        if (MediumHoldsDisc(value.toObject(), discId)) {
            medium = value.toObject();
            break;
        }
    }
    names.discNumber = InRange(medium.value(QLatin1StringView("position")).toInt(), kMostDiscs);
    names.format = Text(medium, QLatin1StringView("format"));
    names.tracks = ReadTracks(medium.value(QLatin1StringView("tracks")).toArray());
    names.trackCount = InRange(
        medium.value(QLatin1StringView("track-count")).toInt(static_cast<int>(names.tracks.size())),
        kLastTrack);
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
        ReleaseNames names = ReadRelease(release.toObject(), discId);
        if (!IdsHaveTheirShape(names)) {
            return {.releases = {}, .malformed = true};
        }
        answer.releases.push_back(std::move(names));
    }
    return answer;
}

