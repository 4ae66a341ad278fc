// SPDX-License-Identifier: GPL-3.0-or-later
// What tagging one finished file and naming one output file cost: the name expansion, the genre
// lookups, the ID3v1 tag with its attributes written to a real file, and the ID3v2 tag, which
// rewrites the whole file. Also what finding those tags costs: a WAV file's own tags read when it
// is added, and the loudness of a track measured for its ReplayGain.
#include "filelist/NamePattern.h"
#include "tagging/GenreTable.h"
#include "tagging/ID3Editor.h"
#include "tagging/ID3v2Writer.h"
#include "tagging/ReplayGain.h"
#include "tagging/WavTags.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {

ID3_struct FullTag() {
    ID3_struct tag{};
    SetTagText(tag.title, "A Title of Exactly Thirty Char");
    SetTagText(tag.artist, "Artist");
    SetTagText(tag.album, "Album");
    SetTagText(tag.year, "1999");
    SetTagText(tag.comment, "Comment");
    tag.genre = 84;
    return tag;
}

void BM_ExpandDefaultPattern(benchmark::State& state) {
    const ID3_struct tag = FullTag();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExpandNamePattern("%t-%s", tag, 3, "song.wav"));
    }
}
BENCHMARK(BM_ExpandDefaultPattern);

void BM_ExpandEveryCode(benchmark::State& state) {
    const ID3_struct tag = FullTag();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ExpandNamePattern("%a/%c (%y)/%t - %s [%n] 100%%", tag, 12, "song.wav"));
    }
}
BENCHMARK(BM_ExpandEveryCode);

void BM_GenreLookupOfLastName(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetGenreIndex("Satire"));
        benchmark::DoNotOptimize(GetGenreSortedIndex("Vocal"));
    }
}
BENCHMARK(BM_GenreLookupOfLastName);

// Opening the file, writing the tag over the previous one and all seven attributes.
void BM_TagOneFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray path = dir.filePath(QStringLiteral("song.mp3")).toLocal8Bit();
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::ftruncate(fd, 4 << 20) != 0) {
        state.SkipWithError("cannot create the file");
        return;
    }
    ::close(fd);
    const ID3_struct tag = FullTag();
    for (auto _ : state) {
        ID3Editor editor(path.constData(), &tag, 3);
        benchmark::DoNotOptimize(editor.WriteTag());
        benchmark::DoNotOptimize(editor.WriteTagsToAttr());
    }
}
BENCHMARK(BM_TagOneFile);

// The first ID3v2 tag of a freshly encoded file of the argument's megabytes (128 kbit/s frames of
// silence and an ID3v1 tag; 5 MB is a song of about five minutes): the copy, TagLib's rewrite of
// it, the check and the rename.
void BM_FirstID3v2Tag(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("song.mp3"));
    const QByteArray frame = QByteArray("\xff\xfb\x90\x64", 4) + QByteArray(413, '\0');
    const QByteArray mp3 = frame.repeated(static_cast<qsizetype>(state.range(0) << 20) / 417) +
                           "TAG" + QByteArray(125, '\0');
    const ID3_struct tag = FullTag();
    for (auto _ : state) {
        state.PauseTiming();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(mp3) != mp3.size()) {
            state.SkipWithError("cannot create the file");
            return;
        }
        file.close();
        state.ResumeTiming();
        FinishedFile finished;
        finished.path = QFile::encodeName(path).toStdString();
        finished.tag = tag;
        finished.fullTitle = "Ünïcödé full title";
        finished.fullArtist = TagText(tag.artist);
        finished.fullAlbum = TagText(tag.album);
        finished.fullComment = TagText(tag.comment);
        finished.track = 3;
        finished.genreGiven = true;
        if (WriteID3v2Tag(finished) != 0) {
            state.SkipWithError("the tag was not written");
            return;
        }
    }
}
BENCHMARK(BM_FirstID3v2Tag)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

// A WAV file of `seconds` of stereo noise at 44.1 kHz, 16 bits, with `chunks` behind its audio.
QString NoiseWav(const QTemporaryDir& dir, int seconds, const QByteArray& chunks = {}) {
    const auto littleEndian = [](uint32_t value) {
        return QByteArray::fromRawData(reinterpret_cast<const char*>(&value), 4);
    };
    QByteArray samples(seconds * 44100 * 4, '\0');
    std::minstd_rand noise(1);
    for (char& byte : samples) {
        byte = static_cast<char>(noise() >> 8);
    }
    const QByteArray format =
        QByteArray("fmt \x10\0\0\0\x01\0\x02\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x10\0", 24);
    const QByteArray body = "WAVE" + format + "data" +
                            littleEndian(static_cast<uint32_t>(samples.size())) + samples + chunks;
    const QString path = dir.filePath(QStringLiteral("noise%1.wav").arg(chunks.size()));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("RIFF" + littleEndian(static_cast<uint32_t>(body.size())) + body);
    return path;
}

// A file of 30 seconds without tags, and one with an INFO list behind its audio, as a drop reads
// them (from the page cache).
void BM_ReadWavTags(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray info("LIST\x1a\0\0\0INFOINAM\x0e\0\0\0A song title\0\0", 34);
    const std::filesystem::path path =
        QFile::encodeName(NoiseWav(dir, 30, state.range(0) != 0 ? info : QByteArray()))
            .toStdString();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadWavTags(path));
    }
}
BENCHMARK(BM_ReadWavTags)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The loudness and peak of a 30-second track, read through from the page cache.
void BM_TrackLoudness(benchmark::State& state) {
    QTemporaryDir dir;
    const std::filesystem::path path = QFile::encodeName(NoiseWav(dir, 30)).toStdString();
    for (auto _ : state) {
        bool measured = false;
        MeasureAlbum({path}, [&](std::size_t, const TrackLoudness& track) {
            measured = track.loudness.has_value();
        });
        if (!measured) {
            state.SkipWithError("the track was not measured");
            return;
        }
    }
}
BENCHMARK(BM_TrackLoudness)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
