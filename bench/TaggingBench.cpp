// What tagging one finished file and naming one output file cost: the name expansion, the genre
// lookups, the ID3v1 tag with its attributes written to a real file, and the ID3v2 tag, which
// rewrites the whole file.
#include "filelist/NamePattern.h"
#include "tagging/GenreTable.h"
#include "tagging/ID3Editor.h"
#include "tagging/ID3v2Writer.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
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
        finished.track = 3;
        finished.genreGiven = true;
        if (WriteID3v2Tag(finished) != 0) {
            state.SkipWithError("the tag was not written");
            return;
        }
    }
}
BENCHMARK(BM_FirstID3v2Tag)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
