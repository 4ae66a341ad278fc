// SPDX-License-Identifier: GPL-3.0-or-later
// The look-up chain against recorded answers served on 127.0.0.1.
#include "lookup/DiscLookup.h"

#include "support/LoopbackServer.h"

#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const QByteArray kDiscPath = "/ws/2/discid/ohhlX44vA82K1SAvWfO52oJ_ZxQ-";
const QByteArray kGnudbPath = "/~cddb/cddb.cgi";
const QByteArray kCoverPath = "/release/5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e/front-500";
const DiscToc kToc{1, {150, 15000, 30000}, 45000};
constexpr auto kInterval = 60ms;

RecordedAnswer Json(const char* file, int status = 200) {
    return {status, AnswerFile(file), "application/json", {}, {}};
}

RecordedAnswer Text(const char* file) {
    return {200, AnswerFile(file), "text/plain", {}, {}};
}

ReleaseNames CdTextNames() {
    ReleaseNames names;
    names.title = "Tide Tables";
    names.tracks = {{1, "Low Water", "Nora Quist", {}, {}, {}, {}}};
    return names;
}

class DiscLookupTest : public ::testing::Test {
protected:
    DiscLookupTest() { Restart({}); }

    void Restart(const std::string& gnudbEmail, bool online = true,
                 std::optional<QUrl> musicBrainz = std::nullopt,
                 std::chrono::milliseconds interval = kInterval) {
        lookup.reset(); // before the settings it would still use
        lookup = std::make_unique<DiscLookup>(
            LookupServices{musicBrainz.value_or(server.Url()), server.Url(), server.Url()},
            LookupSettings{online, gnudbEmail, cache.path().toStdString()},
            LookupTiming{interval, 400ms, 200ms, 1500ms});
    }

    DiscLookupAnswer LookUp(ReleaseNames cdText = {}, bool refresh = false) {
        std::optional<DiscLookupAnswer> answer;
        lookup->LookUp({{kToc, std::move(cdText)}, refresh},
                       [&answer](const DiscLookupAnswer& a) { answer = a; });
        EXPECT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }, 10000));
        return answer.value_or(DiscLookupAnswer{});
    }

    CoverArt FetchCover(const ReleaseNames& release) {
        std::optional<CoverArt> cover;
        lookup->FetchFrontCover(release, [&cover](const CoverArt& c) { cover = c; });
        EXPECT_TRUE(QTest::qWaitFor([&cover] { return cover.has_value(); }, 10000));
        return cover.value_or(CoverArt{});
    }

    LoopbackServer server;
    QTemporaryDir cache;
    std::unique_ptr<DiscLookup> lookup;
};

TEST_F(DiscLookupTest, OneReleaseNamesTheDiscAndIsAskedForOnce) {
    server.Serve(kDiscPath, {Json("musicbrainz-one-release.json")});
    const DiscLookupAnswer answer = LookUp();
    EXPECT_EQ(answer.source, NameSource::MusicBrainz);
    ASSERT_EQ(answer.releases.size(), 1U);
    EXPECT_EQ(answer.releases[0].Track(1)->title, "Low Water");
    EXPECT_FALSE(answer.status.isEmpty());

    const std::vector<SeenRequest> asked = server.RequestsTo(kDiscPath);
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_TRUE(
        asked[0].target.contains("inc=recordings+artist-credits+labels+release-groups+isrcs"));
    EXPECT_TRUE(asked[0].userAgent.startsWith("Vamble/0.7.8 ( ")) << asked[0].userAgent.data();

    // Kept: a new window asks no more, until the user asks to look up again.
    Restart({});
    EXPECT_EQ(LookUp().releases, answer.releases);
    EXPECT_EQ(server.RequestsTo(kDiscPath).size(), 1U);
    LookUp({}, true);
    EXPECT_EQ(server.RequestsTo(kDiscPath).size(), 2U);
}

TEST_F(DiscLookupTest, SeveralReleasesAreOfferedAndTheChoiceIsKept) {
    server.Serve(kDiscPath, {Json("musicbrainz-two-releases.json")});
    DiscLookupAnswer answer = LookUp();
    ASSERT_EQ(answer.releases.size(), 2U);
    EXPECT_EQ(answer.chosenReleaseId, "");
    lookup->RememberChoice(answer.discId, answer.releases[1].releaseId);
    EXPECT_EQ(LookUp().chosenReleaseId, answer.releases[1].releaseId);
    // Looking up again asks again.
    EXPECT_EQ(LookUp({}, true).chosenReleaseId, "");
}

TEST_F(DiscLookupTest, EachTierIsAskedOnlyWhenTheOneBeforeHasNoNames) {
    struct Case {
        const char* name;
        RecordedAnswer musicBrainz;
        bool cdText;
        std::string email;
        std::vector<RecordedAnswer> gnudb;
        NameSource expected;
        size_t gnudbRequests;
    };
    const std::vector<Case> cases = {
        {"unknown disc, CD-Text",
         Json("musicbrainz-not-found.json", 404),
         true,
         "a@b.org",
         {},
         NameSource::CdText,
         0},
        {"malformed answer, CD-Text",
         {200, "{\"releases\": [", "application/json", {}, {}},
         true,
         "",
         {},
         NameSource::CdText,
         0},
        {"unknown disc, no e-mail",
         Json("musicbrainz-not-found.json", 404),
         false,
         "",
         {},
         NameSource::None,
         0},
        {"unknown disc, gnudb knows it",
         Json("musicbrainz-not-found.json", 404),
         false,
         "nora@example.org",
         {Text("gnudb-query-exact.txt"), Text("gnudb-read.txt")},
         NameSource::Gnudb,
         2},
        {"unknown everywhere",
         Json("musicbrainz-not-found.json", 404),
         false,
         "nora@example.org",
         {Text("gnudb-query-none.txt")},
         NameSource::None,
         1},
        {"server error, gnudb refuses",
         {500, "oops", "text/plain", {}, {}},
         false,
         "nora@example.org",
         {{200, "409 No handshake\r\n", "text/plain", {}, {}}},
         NameSource::None,
         1},
    };
    for (const Case& c : cases) {
        server.Serve(kDiscPath, {c.musicBrainz});
        server.Serve(kGnudbPath, c.gnudb);
        const size_t gnudbBefore = server.RequestsTo(kGnudbPath).size();
        Restart(c.email);
        const DiscLookupAnswer answer = LookUp(c.cdText ? CdTextNames() : ReleaseNames{}, true);
        EXPECT_EQ(answer.source, c.expected) << c.name;
        EXPECT_EQ(server.RequestsTo(kGnudbPath).size() - gnudbBefore, c.gnudbRequests) << c.name;
        EXPECT_FALSE(answer.status.isEmpty()) << c.name;
        if (c.expected == NameSource::Gnudb) {
            ASSERT_EQ(answer.releases.size(), 1U);
            EXPECT_EQ(answer.releases[0].title, "Coastal Sampler");
            const QByteArray query = server.RequestsTo(kGnudbPath)[gnudbBefore].target;
            EXPECT_TRUE(query.contains("cmd=cddb+query+08025603+3+150+15000+30000+600"))
                << query.data();
            EXPECT_TRUE(query.contains("hello=nora+example.org+Vamble+")) << query.data();
            EXPECT_TRUE(query.contains("proto=6"));
        }
    }
}

TEST_F(DiscLookupTest, WithoutNetworkNothingIsAsked) {
    Restart("nora@example.org", false);
    EXPECT_EQ(LookUp(CdTextNames()).source, NameSource::CdText);
    EXPECT_EQ(LookUp().source, NameSource::None);
    EXPECT_TRUE(server.Requests().empty());

    // A service that cannot be reached is a reason, not a failure of the look-up.
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const QUrl nobody(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()));
    closed.close();
    Restart({}, true, nobody);
    const DiscLookupAnswer answer = LookUp(CdTextNames());
    EXPECT_EQ(answer.source, NameSource::CdText);
    EXPECT_TRUE(answer.status.contains(QStringLiteral("MusicBrainz")));
}

TEST_F(DiscLookupTest, BusyServiceIsWaitedForAndAskedOnceMore) {
    RecordedAnswer busy{503, "slow down", "text/plain", {{"Retry-After", "0"}}, {}};
    server.Serve(kDiscPath, {busy, Json("musicbrainz-one-release.json")});
    EXPECT_EQ(LookUp().source, NameSource::MusicBrainz);
    std::vector<SeenRequest> asked = server.RequestsTo(kDiscPath);
    ASSERT_EQ(asked.size(), 2U);
    EXPECT_GE(asked[1].atMs - asked[0].atMs, kInterval.count() / 2);

    // Busy twice: no third request, and the rows keep their names.
    server.Serve(kDiscPath, {busy});
    EXPECT_EQ(LookUp({}, true).source, NameSource::None);
    EXPECT_EQ(server.RequestsTo(kDiscPath).size(), 4U);
}

TEST_F(DiscLookupTest, SlowAndDrippingAnswersEndInTime) {
    RecordedAnswer slow = Json("musicbrainz-one-release.json");
    slow.delay = 3s;
    // A byte every 50 ms never leaves the line silent for the 400 ms the silence timeout needs:
    // the deadline ends it.
    RecordedAnswer dripping = Json("musicbrainz-one-release.json");
    dripping.drip = 50ms;
    size_t asked = 0;
    for (const RecordedAnswer& answer : {slow, dripping}) {
        server.Serve(kDiscPath, {answer});
        EXPECT_EQ(LookUp(CdTextNames(), true).source, NameSource::CdText);
        EXPECT_EQ(server.RequestsTo(kDiscPath).size(), ++asked);
    }
}

TEST_F(DiscLookupTest, IdsThatAreNotIdsAreRefusedAndNameNoFile) {
    const QByteArray releaseId = "5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e";
    const fs::path root = cache.path().toStdString();
    for (const QByteArray& id :
         {QByteArray("../../../../../../.bashrc"), QByteArray("a/b"), QByteArray("/dev/zero"),
          QByteArray("not-a-uuid"), releaseId.toUpper()}) {
        Restart({});
        server.Serve(kDiscPath, {{200,
                                  AnswerFile("musicbrainz-one-release.json").replace(releaseId, id),
                                  "application/json",
                                  {},
                                  {}}});
        const DiscLookupAnswer answer = LookUp({}, true);
        EXPECT_EQ(answer.source, NameSource::None) << id.data();
        EXPECT_TRUE(answer.releases.empty()) << id.data();

        // Given to the cover fetch all the same, it neither asks nor reads nor keeps anything.
        ReleaseNames hostile;
        hostile.discId = answer.discId;
        hostile.releaseId = id.toStdString();
        EXPECT_TRUE(FetchCover(hostile).image.isEmpty()) << id.data();
        hostile.discId = "../../..";
        hostile.releaseId = releaseId.toStdString();
        EXPECT_TRUE(FetchCover(hostile).image.isEmpty()) << id.data();
    }
    lookup.reset(); // waits for what it keeps
    EXPECT_TRUE(server.RequestsTo("/release").empty());
    EXPECT_TRUE(fs::is_empty(root)) << "nothing was kept";
}

TEST_F(DiscLookupTest, KeptAnswersAreReadOnlyFromTheProgramsOwnFiles) {
    const fs::path root = cache.path().toStdString();
    const fs::path folder = root / "lookup" / "ohhlX44vA82K1SAvWfO52oJ_ZxQ-";
    const fs::path outside = root / "outside";
    const auto plantFile = [&](const fs::path& at) {
        fs::create_directories(outside);
        std::ofstream(outside / "answer.json") << AnswerFile("musicbrainz-one-release.json").data();
        fs::create_directories(at.parent_path());
        fs::create_symlink(outside / "answer.json", at);
    };
    const std::vector<std::pair<const char*, std::function<void()>>> plants = {
        {"a link to an answer", [&] { plantFile(folder / "musicbrainz.json"); }},
        {"a link to the folder of answers",
         [&] {
             fs::create_directories(outside / "ohhlX44vA82K1SAvWfO52oJ_ZxQ-");
             std::ofstream(outside / "ohhlX44vA82K1SAvWfO52oJ_ZxQ-" / "musicbrainz.json")
                 << AnswerFile("musicbrainz-one-release.json").data();
             fs::create_directory_symlink(outside, root / "lookup");
         }},
        {"an answer too large",
         [&] {
             fs::create_directories(folder);
             std::ofstream(folder / "musicbrainz.json")
                 << AnswerFile("musicbrainz-one-release.json").data()
                 << std::string(size_t{5} << 20, ' ');
         }},
        {"a FIFO",
         [&] {
             fs::create_directories(folder);
             ::mkfifo((folder / "musicbrainz.json").c_str(), 0600);
         }},
    };
    server.Serve(kDiscPath, {Json("musicbrainz-not-found.json", 404)});
    size_t asked = 0;
    for (const auto& [name, plant] : plants) {
        lookup.reset();
        fs::remove_all(root / "lookup");
        fs::remove_all(outside);
        plant();
        Restart({});
        EXPECT_EQ(LookUp().source, NameSource::None) << name;
        EXPECT_EQ(server.RequestsTo(kDiscPath).size(), ++asked) << name << ": asked the service";
    }
}

TEST_F(DiscLookupTest, RequestsToOneServiceKeepTheirDistance) {
    // The server notes a request when its event loop gets to it, a few milliseconds late at
    // times: an interval far longer than that tells paced requests from others.
    constexpr auto kLongInterval = 250ms;
    Restart({}, true, std::nullopt, kLongInterval);
    server.Serve(kDiscPath, {Json("musicbrainz-not-found.json", 404)});
    int answered = 0;
    for (int i = 0; i < 3; ++i) {
        lookup->LookUp({{kToc, {}}, true}, [&answered](const DiscLookupAnswer&) { ++answered; });
    }
    ASSERT_TRUE(QTest::qWaitFor([&answered] { return answered == 3; }, 10000));
    const std::vector<SeenRequest> asked = server.RequestsTo(kDiscPath);
    ASSERT_EQ(asked.size(), 3U);
    for (size_t i = 1; i < asked.size(); ++i) {
        EXPECT_GE(asked[i].atMs - asked[i - 1].atMs, kLongInterval.count() / 2);
    }
}

TEST_F(DiscLookupTest, FrontCoverIsFetchedKeptOrAbsent) {
    const QByteArray jpeg =
        QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11) + QByteArray(600, 'x');
    server.Serve(kCoverPath, {{307, {}, "text/plain", {{"Location", "/images/front.jpg"}}, {}}});
    server.Serve("/images/front.jpg", {{200, jpeg, "image/jpeg", {}, {}}});
    server.Serve(kDiscPath, {Json("musicbrainz-one-release.json")});
    const ReleaseNames release = LookUp().releases.at(0);

    CoverArt cover = FetchCover(release);
    EXPECT_EQ(cover.image, jpeg);
    EXPECT_EQ(cover.mimeType, QStringLiteral("image/jpeg"));
    EXPECT_EQ(FetchCover(release).image, jpeg); // kept: asked once
    EXPECT_EQ(server.RequestsTo(kCoverPath).size(), 1U);

    ReleaseNames other = release;
    other.releaseId = "00000000-0000-4000-8000-000000000000";
    cover = FetchCover(other); // the archive has none: a 404
    EXPECT_TRUE(cover.image.isEmpty());
    EXPECT_TRUE(cover.failure.isEmpty());

    other.releaseId = "11111111-0000-4000-8000-000000000000";
    server.Serve("/release/" + QByteArray(other.releaseId.c_str()),
                 {{200, "<html/>", "text/html", {}, {}}});
    cover = FetchCover(other);
    EXPECT_TRUE(cover.image.isEmpty());
    EXPECT_FALSE(cover.failure.isEmpty());

    const size_t asked = server.Requests().size();
    other.noFrontCover = true;
    EXPECT_TRUE(FetchCover(other).image.isEmpty());
    EXPECT_EQ(server.Requests().size(), asked);
}

} // namespace
