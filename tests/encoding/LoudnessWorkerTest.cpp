// The loudness measured beside a run: album by album of one folder each, waited for by the
// tagging, and dropped at once when the run's rows change or the program ends.
#include "encoding/LoudnessWorker.h"

#include "gogo/TestAudio.h"

#include <QTemporaryDir>
#include <future>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class LoudnessWorkerTest : public ::testing::Test {
protected:
    std::filesystem::path Wav(const char* folderAndName, double seconds = 1.0) const {
        const std::filesystem::path path =
            std::filesystem::path(dir.path().toStdString()) / folderAndName;
        std::filesystem::create_directories(path.parent_path());
        gogotest::WriteTestWav(path, {.seconds = seconds});
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(LoudnessWorkerTest, EachFolderIsAnAlbumAndItsRowsGetTrackAndAlbumLoudness) {
    LoudnessWorker worker;
    worker.Measure({{1, Wav("a/1.wav")}, {2, Wav("b/1.wav", 0.5)}, {3, Wav("a/2.wav", 2.0)}});
    const std::optional<RowLoudness> first = worker.WaitForAlbum(1);
    const std::optional<RowLoudness> alone = worker.WaitForAlbum(2);
    const std::optional<RowLoudness> third = worker.WaitForAlbum(3);
    ASSERT_TRUE(first && alone && third);
    for (const RowLoudness* row : {&*first, &*alone, &*third}) {
        EXPECT_EQ(row->error, "");
        ASSERT_TRUE(row->track && row->album);
    }
    EXPECT_EQ(first->album->integrated, third->album->integrated);
    EXPECT_EQ(alone->album->integrated, alone->track->integrated);
    EXPECT_NE(first->album->integrated, alone->album->integrated);
    EXPECT_FALSE(worker.WaitForAlbum(4)) << "a row not to be measured is not waited for";
}

TEST_F(LoudnessWorkerTest, WaitsEndAtOnceWhenTheRowsAreDroppedOrTheEncoderStops) {
    const std::filesystem::path hours =
        std::filesystem::path(dir.path().toStdString()) / "long.wav";
    gogotest::WriteLongSilentWav(hours);
    auto worker = std::make_unique<LoudnessWorker>();
    worker->Measure({{1, hours, true}, {2, Wav("short.wav"), false}});
    EXPECT_TRUE(worker->MeasuredBeforeEncoding(1));
    EXPECT_FALSE(worker->MeasuredBeforeEncoding(2));

    EncodeStop stop;
    auto measured = std::async(std::launch::async, [&] { worker->WaitMeasured(1, stop); });
    EXPECT_EQ(measured.wait_for(100ms), std::future_status::timeout);
    stop.Request();
    EXPECT_EQ(measured.wait_for(5s), std::future_status::ready);

    auto album = std::async(std::launch::async, [&] { return worker->WaitForAlbum(2); });
    EXPECT_EQ(album.wait_for(100ms), std::future_status::timeout);
    worker->Measure({{3, Wav("other.wav")}}); // the next run's rows
    ASSERT_EQ(album.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(album.get());
    EXPECT_TRUE(worker->WaitForAlbum(3));

    // Ending the program does not wait for hours of audio to be read.
    worker->Measure({{1, hours}});
    auto ended = std::async(std::launch::async, [&] { worker.reset(); });
    EXPECT_EQ(ended.wait_for(10s), std::future_status::ready);
}

} // namespace
