// SPDX-License-Identifier: GPL-3.0-or-later
// Rows of an audio CD named by a disc look-up, in the window: the chooser for several releases,
// rows already encoded left alone, the front cover, and a disc nobody knows.
#include "cdaudio/DiscImage.h"
#include "filelist/FileListView.h"
#include "gogo/TestAudio.h"
#include "support/LoopbackServer.h"
#include "support/WindowFixture.h"
#include "tagging/TagReaders.h"
#include "window/ReleaseChooser.h"
#include "window/WindowMessages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <sstream>

namespace {

const QByteArray kDiscPath = "/ws/2/discid/ohhlX44vA82K1SAvWfO52oJ_ZxQ-";
const QByteArray kCoverPath = "/release/5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e/front-500";

class DiscNamingTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        for (const char* service :
             {"VAMBLE_MUSICBRAINZ_URL", "VAMBLE_COVERART_URL", "VAMBLE_GNUDB_URL"}) {
            qputenv(service, server.Url().toString().toUtf8());
        }
        qputenv("XDG_CACHE_HOME", QFile::encodeName(root.filePath(QStringLiteral("cache"))));
        Open();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        disc = std::make_shared<DiscSource>(DiscSource{{1, {150, 15000, 30000}, 45000}, {}});
    }

    // A row of the disc, as reading it adds one.
    AudioItem* AddTrack(int32_t track) {
        const QString path = root.filePath(QStringLiteral("Track %1.wav").arg(track));
        gogotest::WriteTestWav(QFile::encodeName(path).toStdString(),
                               {.channels = 1, .sampleRate = 8000, .seconds = 0.01});
        AudioItem* row = window->FileList()->AddEntry(QFile::encodeName(path).toStdString(), track);
        row->SetSongTitle(QStringLiteral("Track %1").arg(track).toUtf8().constData());
        row->disc = disc;
        return row;
    }

    void LookUpAgain() {
        window->FileList()->Select(0, window->FileList()->CountItems() - 1);
        Send(MSG_LOOK_UP_AGAIN);
    }

    // The status line once it names the look-up's outcome.
    QString StatusMentioning(const QString& word) {
        QString status;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                for (const QLabel* label : window->findChildren<QLabel*>()) {
                    if (label->text().contains(word)) {
                        status = label->text();
                    }
                }
                return !status.isEmpty();
            },
            10000));
        return status;
    }

    LoopbackServer server;
    std::shared_ptr<DiscSource> disc;
};

TEST_F(DiscNamingTest, TheChosenReleaseNamesTheRowsNotEncodedAndBringsItsCover) {
    const QByteArray jpeg =
        QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11) + QByteArray(300, 'c');
    server.Serve(kDiscPath,
                 {{200, AnswerFile("musicbrainz-two-releases.json"), "application/json", {}, {}}});
    server.Serve(kCoverPath, {{200, jpeg, "image/jpeg", {}, {}}});
    AudioItem* first = AddTrack(1);
    AudioItem* second = AddTrack(2);
    AudioItem* encoded = AddTrack(3);
    encoded->SetItemDone(true);
    LookUpAgain();

    ReleaseChooser* chooser = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            chooser = window->findChild<ReleaseChooser*>();
            return chooser != nullptr && chooser->isVisible();
        },
        10000));
    if (const QByteArray shots = qgetenv("VAMBLE_SCREENSHOT_DIR"); !shots.isEmpty()) {
        chooser->grab().save(QString::fromLocal8Bit(shots) +
                             QStringLiteral("/release-chooser.png"));
    }
    QTreeWidget* list = chooser->List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("2011"));
    EXPECT_EQ(list->topLevelItem(0)->text(5), QStringLiteral("CT-2"));
    EXPECT_EQ(list->topLevelItem(1)->text(6), QStringLiteral("5012345678900"));
    // What tells pressings apart: the disambiguation, the format, the track titles.
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("Tide Tables (first pressing)"));
    EXPECT_EQ(list->topLevelItem(0)->text(8), QStringLiteral("CD"));
    EXPECT_TRUE(chooser->Tracks()->text().contains(QStringLiteral("Low Water (Live)")));
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_TRUE(chooser->Tracks()->text().contains(QStringLiteral("2. Spring Tide")));
    chooser->accept();

    EXPECT_EQ(TagText(first->tag.title), "Low Water");
    EXPECT_EQ(TagText(second->tag.title), "Spring Tide");
    EXPECT_STREQ(second->GetColumnContentText(AudioItem::kSaveAsColumn), "Spring Tide.wav")
        << "the list shows the names found";
    EXPECT_EQ(TagText(second->tag.album), "Tide Tables");
    EXPECT_EQ(TagText(second->tag.artist), "Nora Quist");
    EXPECT_EQ(TagText(second->tag.year), "2004");
    EXPECT_EQ(second->release.recordingId, "f1000000-0000-4000-8000-000000000002");
    EXPECT_EQ(TagText(encoded->tag.title), "Track 3");
    EXPECT_TRUE(encoded->release.releaseId.empty());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return first->release.frontCover && first->release.frontCover->bytes == jpeg; },
        10000));
    ASSERT_TRUE(second->release.frontCover);
    EXPECT_EQ(second->release.frontCover->mimeType, "image/jpeg");
}

TEST_F(DiscNamingTest, AnUnknownDiscKeepsTheRowsNamesAndSaysSo) {
    server.Serve(kDiscPath,
                 {{404, AnswerFile("musicbrainz-not-found.json"), "application/json", {}, {}}});
    AudioItem* row = AddTrack(1);
    LookUpAgain();
    EXPECT_TRUE(
        StatusMentioning(QStringLiteral("MusicBrainz")).contains(QStringLiteral("No names")));
    EXPECT_EQ(TagText(row->tag.title), "Track 1");
    EXPECT_TRUE(row->release.releaseId.empty());

    // Encoded, the row is not looked up again, and the status line says why nothing happens.
    row->done = true;
    LookUpAgain();
    EXPECT_TRUE(StatusMentioning(QStringLiteral("Look Up Again")).contains(QStringLiteral("none")));
    EXPECT_EQ(server.RequestsTo(kDiscPath).size(), 1U);
}

// End to end: a disc image that libcdio opens like a drive is chosen, read, named from each
// source in turn and encoded with the companion encoder; mutagen reads the tags back.
class DiscNamingEndToEnd : public DiscNamingTest {
protected:
    void SetUp() override {
        DiscNamingTest::SetUp();
        const QByteArray companion =
            QFile::encodeName(QFileInfo(QStringLiteral(COMPANION_GOGO)).path());
        qputenv("PATH", companion + ':' + qgetenv("PATH"));
        out = root.filePath(QStringLiteral("out"));
        Find<QLineEdit>(QStringLiteral("Save in:"))->setText(out);
    }

    // A two-track image with the disc's CD-Text and, when given, each track's title and
    // performer.
    [[nodiscard]] DiscImage
    Image(const std::vector<std::pair<std::string, std::string>>& tracks) const {
        const DiscImage image = WriteDiscImage(root.filePath(QStringLiteral("image")).toStdString(),
                                               {160, 3000}, "Jean-Michel Jarre", "Oxygene");
        std::ifstream in(image.cue);
        std::stringstream cue;
        size_t track = 0;
        for (std::string line; std::getline(in, line);) {
            cue << line << '\n';
            if (line.find(" AUDIO") != std::string::npos && track < tracks.size()) {
                cue << "    TITLE \"" << tracks[track].first << "\"\n    PERFORMER \""
                    << tracks[track].second << "\"\n";
                ++track;
            }
        }
        in.close();
        std::ofstream(image.cue) << cue.str();
        return image;
    }

    // Chooses the image as a disc to read and waits until its second row has an album from
    // the look-up; returns that row.
    AudioItem* ChooseAndWaitForNames(const DiscImage& image, const std::string& album) {
        kit::Message volume(MSG_CD_VOLUME);
        volume.Add("Volume", std::string("Jean-Michel Jarre - Oxygene"));
        volume.Add("Device", image.cue.string());
        volume.Add("dev_t", int32_t{0});
        kit::PostMessage(window, volume);
        FileListView* list = window->FileList();
        AudioItem* second = nullptr;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                for (int32_t i = 0; i < list->CountItems(); ++i) {
                    auto* row = static_cast<AudioItem*>(list->ItemAt(i));
                    if (row->track == 2 && row->release.album == album) {
                        second = row;
                    }
                }
                return second != nullptr;
            },
            60000));
        return second;
    }

    // Encodes every row and returns the ID3v2 frames of the second track's MP3.
    TagFields EncodeAndReadSecond() {
        Send(MSG_ENCODE);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return window->FileList()->GetNumItemsNotDone() == 0 && !window->IsEncoding(); },
            60000));
        const QStringList mp3s = QDir(out).entryList({QStringLiteral("02*")}, QDir::Files);
        EXPECT_EQ(mp3s.size(), 1) << mp3s.join(u' ').toStdString();
        return mp3s.isEmpty() ? TagFields{} : ReadID3v2FramesWithMutagen(out + u'/' + mp3s[0]);
    }

    QString out;
};

TEST_F(DiscNamingEndToEnd, MusicBrainzNamesEveryFrameAndTheCover) {
    const QByteArray jpeg =
        QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11) + QByteArray(300, 'c');
    server.Serve("/ws/2/discid/",
                 {{200, AnswerFile("musicbrainz-one-release.json"), "application/json", {}, {}}});
    server.Serve(kCoverPath, {{200, jpeg, "image/jpeg", {}, {}}});
    AudioItem* row = ChooseAndWaitForNames(Image({}), "Tide Tables");
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return row->release.frontCover.has_value(); }, 10000));
    TagFields frames = EncodeAndReadSecond();
    EXPECT_EQ(frames["TIT2"], "Spring Tide (feat. Ülla Brandt)"); // longer than ID3v1 takes
    EXPECT_EQ(frames["TPE1"], "Nora Quist feat. Ülla Brandt");
    EXPECT_EQ(frames["TALB"], "Tide Tables");
    EXPECT_EQ(frames["TPE2"], "Nora Quist & The Ebb");
    EXPECT_EQ(frames["TPOS"], "1/1");
    EXPECT_EQ(frames["TRCK"], "2/3"); // the disc's track count, as libraries read it
    EXPECT_EQ(frames["TMED"], "CD");
    EXPECT_EQ(frames["TSRC"], "GBAAA0400002");
    EXPECT_EQ(frames["TPUB"], "Harbour Records/Ebb Tide Music");
    EXPECT_EQ(frames["UFID:http://musicbrainz.org"], "f1000000-0000-4000-8000-000000000002");
    EXPECT_EQ(frames["TXXX:MusicBrainz Album Id"], "5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e");
    EXPECT_EQ(frames["TXXX:MusicBrainz Release Group Id"], "9d2f4b6c-4444-4c3b-8d6e-0123456789ab");
    EXPECT_EQ(frames["APIC"],
              "image/jpeg 3 " +
                  QCryptographicHash::hash(jpeg, QCryptographicHash::Sha1).toHex().toStdString());
}

TEST_F(DiscNamingEndToEnd, AnUnknownDiscIsNamedByItsTracksCdText) {
    server.Serve("/ws/2/discid/",
                 {{404, AnswerFile("musicbrainz-not-found.json"), "application/json", {}, {}}});
    AudioItem* row = ChooseAndWaitForNames(
        Image({{"Oxygene, Part I", "Jean-Michel Jarre"}, {"Oxygene, Part II", "J.-M. Jarre"}}),
        "Oxygene");
    ASSERT_NE(row, nullptr);
    TagFields frames = EncodeAndReadSecond();
    EXPECT_EQ(frames["TIT2"], "Oxygene, Part II");
    EXPECT_EQ(frames["TPE1"], "J.-M. Jarre");
    EXPECT_EQ(frames["TPE2"], "Jean-Michel Jarre");
    EXPECT_EQ(frames["TRCK"], "2/2");
    EXPECT_FALSE(frames.contains("TXXX:MusicBrainz Album Id"));
}

TEST_F(DiscNamingEndToEnd, WithAnEmailGnudbNamesWhatNobodyElseKnows) {
    server.Serve("/ws/2/discid/",
                 {{404, AnswerFile("musicbrainz-not-found.json"), "application/json", {}, {}}});
    server.Serve("/~cddb/cddb.cgi",
                 {{200, AnswerFile("gnudb-query-exact.txt"), "text/plain", {}, {}},
                  {200, AnswerFile("gnudb-read.txt"), "text/plain", {}, {}}});
    Find<QLineEdit>(QStringLiteral("gnudb e-mail:"))->setText(QStringLiteral("nora@example.org"));
    AudioItem* row = ChooseAndWaitForNames(Image({}), "Coastal Sampler");
    ASSERT_NE(row, nullptr);
    TagFields frames = EncodeAndReadSecond();
    EXPECT_EQ(frames["TIT2"],
              "A Title So Long That The Entry Carries It Over Two Lines Of The File");
    EXPECT_EQ(frames["TPE1"], "The Ebb");
    EXPECT_EQ(frames["TALB"], "Coastal Sampler");
    EXPECT_EQ(frames["TDRC"], "1999"); // mutagen reads the ID3v2.3 year as a v2.4 date
}

} // namespace
