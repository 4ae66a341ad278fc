// SPDX-License-Identifier: GPL-3.0-or-later
// The audio CD flow without a window: a disc image read with a scratch, a CD folder listed, the
// look-up's answers turned into names or a question, and the cache.
#include "disc/DiscFlow.h"

#include "cdaudio/DiscImage.h"
#include "cdaudio/TrackWav.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

ReleaseNames Release(const std::string& id) {
    ReleaseNames release;
    release.releaseId = id;
    release.title = "Album " + id;
    return release;
}

// Answers every look-up with the releases given and keeps the choices remembered.
class FakeLookup : public DiscLookupService {
public:
    explicit FakeLookup(DiscLookupAnswer given) : answer(std::move(given)) {}
    void SetSettings(LookupSettings /*settings*/) override {}
    void LookUp(const DiscLookupRequest& /*request*/,
                std::function<void(const DiscLookupAnswer&)> done) override {
        done(answer);
    }
    void FetchFrontCover(const ReleaseNames& /*release*/,
                         std::function<void(const CoverArt&)> done) override {
        done({"jpeg", QStringLiteral("image/jpeg"), {}});
    }
    void RememberChoice(const std::string& discId, const std::string& releaseId) override {
        choices->emplace_back(discId, releaseId);
    }
    DiscLookupAnswer answer;
    std::shared_ptr<std::vector<std::pair<std::string, std::string>>> choices =
        std::make_shared<std::vector<std::pair<std::string, std::string>>>();
};

// Keeps what the flow reported.
struct Reports : DiscFlow::Hooks {
    void CdsFound(const std::vector<AudioCd>& /*cds*/, const std::string& /*problem*/) override {}
    void TracksListed(const CdTracks& tracks) override { listed = tracks; }
    void ReadProgressed(const DiscReadProgress& /*progress*/) override { ++progress; }
    void ReadEnded(const DiscReadEnd& end) override { ended = end; }
    void DiscKnown(const DiscRows& rows) override { known = rows; }
    void LookupStatus(const QString& status) override { statuses << status; }
    void ReleaseFound(const DiscRows& /*rows*/, const ReleaseNames& release,
                      NameSource /*source*/) override {
        found.push_back(release.releaseId);
    }
    void ReleaseChoiceNeeded(const DiscRows& /*rows*/,
                             const DiscLookupAnswer& /*answer*/) override {
        ++questions;
    }
    void CoverArrived(const std::vector<int64_t>& rows, const std::string& /*releaseId*/,
                      const CoverArt& cover) override {
        coverRows = rows;
        coverBytes = cover.image.size();
    }
    void CacheMeasured(const fs::path& /*cache*/, const DiscCacheUsage& usage) override {
        measured = usage;
    }
    void CacheCleared(const DiscCacheUsage& left) override { cleared = left; }

    std::optional<CdTracks> listed;
    int progress = 0;
    std::optional<DiscReadEnd> ended;
    std::optional<DiscRows> known;
    QStringList statuses;
    std::vector<std::string> found;
    int questions = 0;
    std::vector<int64_t> coverRows;
    qsizetype coverBytes = 0;
    std::optional<DiscCacheUsage> measured;
    std::optional<DiscCacheUsage> cleared;
};

class DiscFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
    }
    // A flow whose look-ups answer with these releases, the one chosen before being `chosen`.
    DiscFlow& Flow(std::vector<ReleaseNames> releases = {}, std::string chosen = {}) {
        DiscLookupAnswer answer{"disc-id", NameSource::MusicBrainz, std::move(releases),
                                std::move(chosen), QStringLiteral("answered")};
        flow = std::make_unique<DiscFlow>(reports, [this, answer](const LookupSettings&) {
            auto lookup = std::make_unique<FakeLookup>(answer);
            choices = lookup->choices;
            return lookup;
        });
        return *flow;
    }

    QTemporaryDir dir;
    Reports reports;
    std::unique_ptr<DiscFlow> flow;
    std::shared_ptr<std::vector<std::pair<std::string, std::string>>> choices;
};

TEST_F(DiscFlowTest, AScratchedTrackIsAddedOnlyAsTheUserChoosesAndTheDiscIsLookedUp) {
    const DiscImage image = WriteDiscImage(dir.filePath(QStringLiteral("image")).toStdString(),
                                           {160, 400, 160}, "Artist", "Album");
    DiscFlow& discs = Flow({Release("a")});
    discs.SetDriveFaults([](int32_t sector) {
        return sector >= 250 && sector < 300 ? SectorFault::Unstable : SectorFault::None;
    });
    AudioCd cd;
    cd.device = image.cue.string();
    ASSERT_TRUE(discs.Choose(cd));
    EXPECT_FALSE(discs.Choose(cd)); // one read at a time
    EXPECT_FALSE(discs.MeasureCache());
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.ended.has_value(); }, 60000));
    EXPECT_FALSE(discs.Reading());
    EXPECT_GT(reports.progress, 0);

    const DiscReadEnd& end = *reports.ended;
    EXPECT_TRUE(end.error.empty()) << end.error;
    EXPECT_TRUE(end.HasDamagedFiles());
    EXPECT_EQ(end.whole.tags, (ArtistAlbum{"Artist", "Album"}));
    const auto tracks = [](const CdTracks& t) {
        std::vector<std::pair<int32_t, bool>> numbers; // track, damaged
        for (const CdTrack& track : t.tracks) {
            numbers.emplace_back(track.track, track.damagedSectors > 0);
        }
        return numbers;
    };
    using Tracks = std::vector<std::pair<int32_t, bool>>;
    EXPECT_EQ(tracks(end.whole), (Tracks{{1, false}, {3, false}}));
    EXPECT_EQ(tracks(end.WithDamaged()), (Tracks{{1, false}, {2, true}, {3, false}}));

    // The read disc's rows learn their disc and the one release names them.
    discs.NameRows(end.whole, {11, 13}, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reports.found.empty(); }, 5000));
    ASSERT_TRUE(reports.known.has_value());
    EXPECT_EQ(reports.known->rows, (std::vector<int64_t>{11, 13}));
    EXPECT_EQ(reports.known->disc->toc.trackOffsets.size(), 3U);
    EXPECT_EQ(reports.found, (std::vector<std::string>{"a"}));
}

TEST_F(DiscFlowTest, ACdFolderIsListedInTrackOrderWithItsTags) {
    const fs::path folder = dir.filePath(QStringLiteral("cd")).toStdString();
    fs::create_directories(folder);
    for (const char* name : {"Track 10.wav", "Track 2.wav"}) {
        ASSERT_TRUE(TrackWavWriter(folder / name).Finish());
    }
    AudioCd cd;
    cd.folder = folder;
    cd.tags = {"Artist", "Album"};
    ASSERT_TRUE(Flow().Choose(cd));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.listed.has_value(); }, 5000));
    EXPECT_EQ(reports.listed->tracks, (std::vector<CdTrack>{{folder / "Track 2.wav", 2, 0},
                                                            {folder / "Track 10.wav", 10, 0}}));
    EXPECT_EQ(reports.listed->tags, cd.tags);
}

TEST_F(DiscFlowTest, AnAnswerNamesTheRowsOrAsksAndTheChoiceIsRemembered) {
    using Kind = ReleaseDecision::Kind;
    const std::vector<ReleaseNames> two = {Release("a"), Release("b")};
    struct Case {
        std::vector<ReleaseNames> releases;
        std::string chosen;
        Kind kind;
        size_t release;
    };
    for (const Case& c : std::vector<Case>{{{}, "", Kind::KeepNames, 0},
                                           {{Release("a")}, "", Kind::Apply, 0},
                                           {two, "", Kind::Ask, 0},
                                           {two, "b", Kind::Apply, 1},
                                           {two, "gone", Kind::Ask, 0},
                                           {two, std::string(kNoRelease), Kind::KeepNames, 0}}) {
        DiscLookupAnswer answer;
        answer.releases = c.releases;
        answer.chosenReleaseId = c.chosen;
        const ReleaseDecision decision = DecideRelease(answer);
        EXPECT_EQ(decision.kind, c.kind) << c.releases.size() << " " << c.chosen;
        EXPECT_EQ(decision.release, c.release) << c.releases.size() << " " << c.chosen;
    }

    DiscFlow& discs = Flow(two);
    const DiscRows rows{std::make_shared<const DiscSource>(), {7}};
    discs.LookUp(rows, false, {});
    EXPECT_EQ(reports.questions, 1);
    DiscLookupAnswer answer{"disc-id", NameSource::MusicBrainz, two, "", {}};
    discs.ChooseRelease(rows, answer, 1);
    discs.ChooseRelease(rows, answer, -1);
    EXPECT_EQ(*choices, (std::vector<std::pair<std::string, std::string>>{
                            {"disc-id", "b"}, {"disc-id", std::string(kNoRelease)}}));
    EXPECT_EQ(reports.found, (std::vector<std::string>{"b"}));

    discs.FetchCover(two[1], {7, 8});
    EXPECT_EQ(reports.coverRows, (std::vector<int64_t>{7, 8}));
    EXPECT_EQ(reports.coverBytes, 4);
}

TEST_F(DiscFlowTest, TheCacheIsMeasuredAndClearedAwayFromTheCaller) {
    const fs::path cache = DiscCacheFolder();
    ASSERT_EQ(MakeDiscFolder(cache, "0123456789abcdef0123"), "");
    fs::create_directories(cache / "0123456789abcdef0123" / "wav");
    ASSERT_TRUE(TrackWavWriter(cache / "0123456789abcdef0123" / "wav" / "Track 01.wav").Finish());
    DiscFlow& discs = Flow();
    ASSERT_TRUE(discs.MeasureCache());
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.measured.has_value(); }, 5000));
    EXPECT_EQ(reports.measured->discs, 1);
    ASSERT_TRUE(discs.ClearCache());
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.cleared.has_value(); }, 5000));
    EXPECT_EQ(*reports.cleared, DiscCacheUsage{});
    EXPECT_EQ(MeasureDiscCache(cache), DiscCacheUsage{});
}

} // namespace
