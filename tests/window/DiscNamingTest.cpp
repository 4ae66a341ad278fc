// Rows of an audio CD named by a disc look-up, in the window: the chooser for several releases,
// rows already encoded left alone, the front cover, and a disc nobody knows.
#include "filelist/FileListView.h"
#include "gogo/TestAudio.h"
#include "support/LoopbackServer.h"
#include "support/WindowFixture.h"
#include "window/ReleaseChooser.h"
#include "window/WindowMessages.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

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
        qputenv("VAMBLE_LOOKUP_MODULE", LOOKUP_MODULE);
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
    list->setCurrentItem(list->topLevelItem(1));
    chooser->accept();

    EXPECT_EQ(TagText(first->tag.title), "Low Water");
    EXPECT_EQ(TagText(second->tag.title), "Spring Tide");
    EXPECT_EQ(TagText(second->tag.album), "Tide Tables");
    EXPECT_EQ(TagText(second->tag.artist), "Nora Quist");
    EXPECT_EQ(TagText(second->tag.year), "2004");
    EXPECT_EQ(second->release.recordingId, "f1000000-0000-4000-8000-000000000002");
    EXPECT_EQ(TagText(encoded->tag.title), "Track 3");
    EXPECT_TRUE(encoded->release.releaseId.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return first->release.frontCover == jpeg; }, 10000));
    EXPECT_EQ(second->release.coverMimeType, "image/jpeg");
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
}

TEST_F(DiscNamingTest, WithoutTheLookUpModuleTheRowsKeepTheirNamesAndTheStatusSaysWhy) {
    qputenv("VAMBLE_LOOKUP_MODULE", QFile::encodeName(root.filePath(QStringLiteral("none.so"))));
    AudioItem* row = AddTrack(1);
    LookUpAgain();
    EXPECT_FALSE(StatusMentioning(QStringLiteral("none.so")).isEmpty());
    EXPECT_EQ(TagText(row->tag.title), "Track 1");
    EXPECT_TRUE(server.Requests().empty());
}

} // namespace
