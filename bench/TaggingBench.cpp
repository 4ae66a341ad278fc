// What tagging one finished file and naming one output file cost: the name expansion, the genre
// lookups, and the ID3v1 tag with its attributes written to a real file.
#include "filelist/NamePattern.h"
#include "tagging/GenreTable.h"
#include "tagging/ID3Editor.h"

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

} // namespace

BENCHMARK_MAIN();
