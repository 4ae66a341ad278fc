// SPDX-License-Identifier: GPL-3.0-or-later
// The loudness measured beside a run: album by album of one folder each, waited for by the
// tagging, and dropped at once when the run's rows change or the program ends.
#include "encoding/LoudnessWorker.h"

#include "gogo/TestAudio.h"

#include <QTemporaryDir>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <vector>

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
    for (const int64_t row : {1, 2, 3}) {
        worker.Encoded(row);
    }
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
    worker->Encoded(3);
    EXPECT_TRUE(worker->WaitForAlbum(3));

    // Ending the program does not wait for hours of audio to be read.
    worker->Measure({{1, hours}});
    auto ended = std::async(std::launch::async, [&] { worker.reset(); });
    EXPECT_EQ(ended.wait_for(10s), std::future_status::ready);
}

TEST_F(LoudnessWorkerTest, AnAlbumCountsOnlyTheRowsThatWereEncoded) {
    // Row 3 is far louder than the others (a full-scale tone): an album that counts it is louder.
    const std::filesystem::path loud = Wav("a/3.wav");
    SF_INFO info{.frames = 0,
                 .samplerate = 44100,
                 .channels = 2,
                 .format = SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                 .sections = 0,
                 .seekable = 0};
    SNDFILE* file = sf_open(loud.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> tone(88200);
    for (size_t i = 0; i < tone.size(); ++i) {
        tone[i] = (i / 2 / 22) % 2 == 0 ? 0.99F : -0.99F;
    }
    sf_writef_float(file, tone.data(), 44100);
    sf_close(file);
    const std::vector<LoudnessJob> jobs = {{1, Wav("a/1.wav")}, {2, Wav("a/2.wav")}, {3, loud}};
    LoudnessWorker alone;
    alone.Measure({jobs[0], jobs[1]});
    alone.NoMoreStart({1, 2});
    alone.Encoded(1);
    alone.Encoded(2);
    const std::optional<RowLoudness> twoTracks = alone.WaitForAlbum(1);
    ASSERT_TRUE(twoTracks && twoTracks->album);

    // The loud row fails before the album is measured, after it, or is never reached.
    const std::vector<std::pair<const char*, std::function<void(LoudnessWorker&)>>> ways = {
        {"left out at once",
         [](LoudnessWorker& w) {
             w.NoMoreStart({1, 2});
         }},
        {"left out once measured",
         [](LoudnessWorker& w) {
             w.WaitMeasured(3, EncodeStop());
             w.NoMoreStart({1, 2});
         }},
    };
    for (const auto& [name, leaveOut] : ways) {
        LoudnessWorker worker;
        worker.Measure(jobs);
        auto first = std::async(std::launch::async, [&] { return worker.WaitForAlbum(1); });
        EXPECT_EQ(first.wait_for(100ms), std::future_status::timeout)
            << name << ": the album waits for every row's outcome";
        leaveOut(worker);
        worker.Encoded(1);
        worker.Encoded(2);
        ASSERT_EQ(first.wait_for(10s), std::future_status::ready) << name;
        const std::optional<RowLoudness> album = first.get();
        ASSERT_TRUE(album && album->album) << name;
        EXPECT_DOUBLE_EQ(album->album->integrated, twoTracks->album->integrated) << name;
    }
}

} // namespace
