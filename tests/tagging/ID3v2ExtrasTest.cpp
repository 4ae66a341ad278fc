// SPDX-License-Identifier: GPL-3.0-or-later
// Cover pictures found beside WAV files and read by their content, and the extra frames as mutagen
// reads them back from a tag.
#include "tagging/ID3v2Extras.h"

#include "TagReaders.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/textidentificationframe.h>

namespace {

const QByteArray kPng = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, 'p');
const QByteArray kJpeg = QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(64, 'j');

class ID3v2ExtrasTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const QString& name, const QByteArray& bytes) const {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QFile::encodeName(file.fileName()).toStdString();
    }

    QTemporaryDir dir;
};

TEST_F(ID3v2ExtrasTest, CoverBesideTheWavIsTheFirstByNameThenExtension) {
    struct Case {
        QStringList files;
        const char* expected; // nothing found: empty
    };
    const Case cases[] = {
        {{QStringLiteral("Folder.JPG"), QStringLiteral("front.png")}, "Folder.JPG"},
        {{QStringLiteral("folder.jpg"), QStringLiteral("cover.png")}, "cover.png"},
        {{QStringLiteral("cover.png"), QStringLiteral("COVER.jpeg")}, "COVER.jpeg"},
        {{QStringLiteral("covers.jpg"), QStringLiteral("cover.gif"), QStringLiteral("back.jpg")},
         ""},
        {{QStringLiteral("cover.jpg/inside")}, ""}, // a folder named like a cover
    };
    int folder = 0;
    for (const Case& c : cases) {
        const QString at = QString::number(++folder) + u'/';
        for (const QString& file : c.files) {
            Write(at + file, kJpeg);
        }
        const std::optional<std::filesystem::path> found =
            FindCoverBeside(Write(at + QStringLiteral("song.wav"), "RIFF"));
        EXPECT_EQ(found ? found->filename().string() : std::string(), c.expected)
            << c.files.join(u' ').toStdString();
    }
}

TEST_F(ID3v2ExtrasTest, PicturesAreTakenByTheirContentAndSize) {
    const CoverRead png = ReadCoverPicture(Write(QStringLiteral("named.jpg"), kPng));
    ASSERT_TRUE(png.picture);
    EXPECT_EQ(png.picture->mimeType, "image/png");
    EXPECT_EQ(png.picture->bytes, kPng);
    EXPECT_EQ(ReadCoverPicture(Write(QStringLiteral("photo"), kJpeg)).picture->mimeType,
              "image/jpeg");

    QByteArray huge = kJpeg;
    huge.resize(16 * 1024 * 1024 + 1);
    for (const auto& [name, bytes] : {std::pair{QStringLiteral("text.jpg"), QByteArray("text")},
                                      std::pair{QStringLiteral("huge.jpg"), huge}}) {
        const CoverRead read = ReadCoverPicture(Write(name, bytes));
        EXPECT_FALSE(read.picture) << name.toStdString();
        EXPECT_NE(read.error, "") << name.toStdString();
    }
    EXPECT_NE(ReadCoverPicture(dir.filePath(QStringLiteral("missing.jpg")).toStdString()).error,
              "");
}

TEST_F(ID3v2ExtrasTest, FramesReplaceTheirLikeAndLeaveTheRest) {
    if (!HaveMutagen()) {
        GTEST_SKIP() << "python3-mutagen is not installed for /usr/bin/python3";
    }
    using TagLib::ID3v2::AttachedPictureFrame;
    using TagLib::ID3v2::UserTextIdentificationFrame;
    TagLib::ID3v2::Tag tag;
    for (const auto type : {AttachedPictureFrame::FrontCover, AttachedPictureFrame::BackCover}) {
        auto* picture = new AttachedPictureFrame;
        picture->setType(type);
        picture->setMimeType("image/png");
        picture->setPicture(TagLib::ByteVector("old", 3));
        tag.addFrame(picture);
    }
    tag.addFrame(new UserTextIdentificationFrame("replaygain_track_gain", {"-1.00 dB"}));
    tag.addFrame(new UserTextIdentificationFrame("Other", {"kept"}));

    PutExtras(tag,
              {CoverPicture{"image/jpeg", kJpeg},
               {{"REPLAYGAIN_TRACK_GAIN", {"5.00 dB"}}, {"REPLAYGAIN_TRACK_PEAK", {"0.070795"}}}},
              false);

    const TagLib::ByteVector rendered = tag.render(TagLib::ID3v2::v3);
    const QString path = QFile::decodeName(
        Write(QStringLiteral("tag.id3"), QByteArray(rendered.data(), rendered.size())).c_str());
    const QJsonObject read = QJsonDocument::fromJson(::Run(QStringLiteral("/usr/bin/python3"),
                                                           {QStringLiteral("-c"), QStringLiteral(R"(
import json, sys
from mutagen.id3 import ID3
tag = ID3(sys.argv[1])
print(json.dumps({
    'pictures': [[int(p.type), p.mime, p.data.hex()] for p in tag.getall('APIC')],
    'texts': {t.desc: t.text[0] for t in tag.getall('TXXX')}}))
)"),
                                                            path}))
                                 .object();
    const QJsonArray pictures = read[QStringLiteral("pictures")].toArray();
    ASSERT_EQ(pictures.size(), 2);
    for (const QJsonValue& picture : pictures) {
        const QJsonArray fields = picture.toArray();
        const bool front = fields[0].toInt() == AttachedPictureFrame::FrontCover;
        EXPECT_EQ(fields[1].toString(),
                  front ? QStringLiteral("image/jpeg") : QStringLiteral("image/png"));
        EXPECT_EQ(QByteArray::fromHex(fields[2].toString().toLatin1()), front ? kJpeg : "old");
    }
    const QJsonObject texts = read[QStringLiteral("texts")].toObject();
    EXPECT_EQ(texts.toVariantMap(),
              QJsonObject({{QStringLiteral("REPLAYGAIN_TRACK_GAIN"), QStringLiteral("5.00 dB")},
                           {QStringLiteral("REPLAYGAIN_TRACK_PEAK"), QStringLiteral("0.070795")},
                           {QStringLiteral("Other"), QStringLiteral("kept")}})
                  .toVariantMap());
}

} // namespace
