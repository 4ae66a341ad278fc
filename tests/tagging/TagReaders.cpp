// SPDX-License-Identifier: GPL-3.0-or-later
#include "TagReaders.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/uniquefileidentifierframe.h>

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

} // namespace

QByteArray Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}

QByteArray RunPython(const char* script, const QStringList& arguments) {
    return Run(kPython, QStringList{QStringLiteral("-c"), QString::fromUtf8(script)} + arguments);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ID3_struct MakeTag(const char* title, const char* artist, const char* album, const char* year,
                   const char* comment, uint8_t genre) {
    ID3_struct tag{};
    SetTagText(tag.title, title);
    SetTagText(tag.artist, artist);
    SetTagText(tag.album, album);
    SetTagText(tag.year, year);
    SetTagText(tag.comment, comment);
    tag.genre = genre;
    return tag;
}

const QByteArray& EncodedMp3() {
    static const QByteArray mp3 = [] {
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("in.wav"));
        const QString out = dir.filePath(QStringLiteral("out.mp3"));
        Run(QStringLiteral("sox"),
            QStringLiteral("-q -n -r 44100 -c 2 -b 16 %1 synth 1 sine 440").arg(wav).split(u' '));
        Run(QStringLiteral(GOGO_PATH),
            QStringLiteral("%1 %2 -b 128 -cpu 1 -m j -priority 10").arg(wav, out).split(u' '));
        return FileBytes(out);
    }();
    return mp3;
}

FinishedFile Finished(const QString& path, const ID3_struct& tag, std::string_view title,
                      int32_t track) {
    FinishedFile file;
    file.path = QFile::encodeName(path).toStdString();
    file.tag = tag;
    file.fullTitle = title;
    file.fullArtist = TagText(tag.artist);
    file.fullAlbum = TagText(tag.album);
    file.fullComment = TagText(tag.comment);
    file.track = track;
    file.genreGiven = true;
    return file;
}

bool HaveProgram(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool HaveMutagen() {
    QProcess process;
    process.start(kPython, {QStringLiteral("-c"), QStringLiteral("import mutagen")});
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

std::map<std::string, QByteArray> ReadUserAttributes(const QString& path) {
    const QByteArray output =
        Run(QStringLiteral("getfattr"),
            {QStringLiteral("--absolute-names"), QStringLiteral("-d"), QStringLiteral("-m"),
             QStringLiteral("^user\\."), QStringLiteral("-e"), QStringLiteral("hex"), path});
    std::map<std::string, QByteArray> attributes;
    for (const QByteArray& line : output.split('\n')) {
        const qsizetype equals = line.indexOf("=0x");
        if (!line.startsWith("user.") || equals < 0) {
            continue;
        }
        attributes[line.mid(5, equals - 5).toStdString()] =
            QByteArray::fromHex(line.mid(equals + 3));
    }
    return attributes;
}

TagFields ReadTagWithId3v2(const QString& path) {
    const QString output =
        QString::fromLatin1(Run(QStringLiteral("id3v2"), {QStringLiteral("-l"), path}));
    TagFields fields;
    const auto take = [&](const char* pattern, std::initializer_list<const char*> names) {
        const QRegularExpressionMatch match =
            QRegularExpression(QString::fromLatin1(pattern), QRegularExpression::MultilineOption)
                .match(output);
        if (!match.hasMatch()) {
            return;
        }
        int group = 1;
        for (const char* name : names) {
            if (match.capturedStart(group) >= 0) {
                fields[name] = match.captured(group).trimmed().toStdString();
            }
            ++group;
        }
    };
    take("^Title  : (.{30})  Artist: (.*)$", {"title", "artist"});
    take("^Album  : (.{30})  Year: (.*), Genre: .*\\((\\d+)\\)$", {"album", "year", "genre"});
    take("^Comment: (.*?) *(?:Track: (\\d+))?$", {"comment", "track"});
    // id3v2 shows "Track: 0" for a tag without a track byte, and no track for a full comment.
    if (fields["track"].empty() || fields["track"] == "0") {
        fields.erase("track");
    }
    return fields;
}

namespace {

// The tag as mutagen reads it: with "v2" only the ID3v2 tag, with its genre and version.
TagFields ReadWithMutagen(const QString& path, const char* which) {
    static const char* script = R"(
import json, sys
from mutagen.id3 import ID3
v2 = sys.argv[2] == 'v2'
tag = ID3(sys.argv[1], load_v1=not v2)
names = {'TIT2': 'title', 'TPE1': 'artist', 'TALB': 'album', 'TDRC': 'year',
         'COMM': 'comment', 'TRCK': 'track'}
if v2:
    names['TCON'] = 'genre'
fields = {names[k.split(':')[0]]: str(v) for k, v in tag.items() if k.split(':')[0] in names}
if v2:
    fields['version'] = '.'.join(map(str, tag.version))
print(json.dumps(fields))
)";
    const QByteArray output = RunPython(script, {path, QString::fromLatin1(which)});
    TagFields fields;
    const QJsonObject object = QJsonDocument::fromJson(output).object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        fields[it.key().toStdString()] = it.value().toString().toStdString();
    }
    return fields;
}

} // namespace

TagFields ReadTagWithMutagen(const QString& path) {
    // mutagen presents an ID3v1 tag as ID3v2 frames; its genre names differ from ours, so the
    // genre is compared through id3v2 only.
    return ReadWithMutagen(path, "v1");
}

TagFields ReadID3v2WithMutagen(const QString& path) {
    return ReadWithMutagen(path, "v2");
}

TagFields ReadID3v2FramesWithMutagen(const QString& path) {
    static const char* script = R"(
import hashlib, json, sys
from mutagen.id3 import ID3
fields = {}
for key, frame in ID3(sys.argv[1], load_v1=False).items():
    if key.startswith('UFID'):
        fields[key] = frame.data.decode()
    elif key.startswith('APIC'):
        fields['APIC'] = '%s %d %s' % (frame.mime, frame.type, hashlib.sha1(frame.data).hexdigest())
    else:
        fields[key] = str(frame)
print(json.dumps(fields))
)";
    const QByteArray output =
        Run(kPython, {QStringLiteral("-c"), QString::fromLatin1(script), path});
    TagFields fields;
    const QJsonObject object = QJsonDocument::fromJson(output).object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        fields[it.key().toStdString()] = it.value().toString().toStdString();
    }
    return fields;
}

TagFields ReadID3v2FramesWithTagLib(const QString& path) {
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    TagFields fields;
    if (!file.isValid() || !file.hasID3v2Tag()) {
        ADD_FAILURE() << "TagLib finds no ID3v2 tag in " << path.toStdString();
        return fields;
    }
    const auto joined = [](const TagLib::StringList& values) {
        return values.toString(TagLib::String(std::string(1, '\0'))).to8Bit(true);
    };
    for (const TagLib::ID3v2::Frame* frame : file.ID3v2Tag()->frameList()) {
        const std::string id(frame->frameID().data(), frame->frameID().size());
        if (const auto* userText =
                dynamic_cast<const TagLib::ID3v2::UserTextIdentificationFrame*>(frame)) {
            TagLib::StringList values = userText->fieldList(); // the description, then the values
            values.erase(values.begin());
            fields[id + ":" + userText->description().to8Bit(true)] = joined(values);
        } else if (const auto* ufid =
                       dynamic_cast<const TagLib::ID3v2::UniqueFileIdentifierFrame*>(frame)) {
            fields[id + ":" + ufid->owner().to8Bit(true)] =
                std::string(ufid->identifier().data(), ufid->identifier().size());
        } else if (const auto* text =
                       dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(frame)) {
            fields[id] = joined(text->fieldList());
        }
    }
    return fields;
}

TagFields ReadID3v2WithId3v2(const QString& path) {
    // One line a frame: "TIT2 (Title/songname/content description): text"; a comment's text
    // follows its description and language, a genre's name is followed by its number.
    static const std::map<QString, std::string> names = {
        {QStringLiteral("TIT2"), "title"},   {QStringLiteral("TPE1"), "artist"},
        {QStringLiteral("TALB"), "album"},   {QStringLiteral("TYER"), "year"},
        {QStringLiteral("COMM"), "comment"}, {QStringLiteral("TCON"), "genre"},
        {QStringLiteral("TRCK"), "track"}};
    static const QRegularExpression frame(
        QStringLiteral(R"(^(\w{4}) \(.*?\): (?:\(.*?\)\[\w*\]: )?(.*?)(?: \(\d+\))?$)"));
    const QString output =
        QString::fromUtf8(Run(QStringLiteral("id3v2"), {QStringLiteral("-l"), path}));
    TagFields fields;
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = frame.match(line);
        if (match.hasMatch() && names.contains(match.captured(1))) {
            fields[names.at(match.captured(1))] = match.captured(2).toStdString();
        }
    }
    return fields;
}

QByteArray Int32Bytes(int32_t value) {
    QByteArray bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

QByteArray TextBytes(const char* text) {
    return QByteArray(text, static_cast<qsizetype>(std::strlen(text) + 1));
}
