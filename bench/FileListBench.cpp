// One drop of 10,000 WAV files on the file list: the type of every file read, the rows added,
// and the list painted. Also the type check alone and the memory a row takes. Runs offscreen.
#include "filelist/FileListView.h"
#include "filelist/FileType.h"
#include "kit/AppDefs.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <malloc.h>
#include <string>

namespace {

constexpr int kFiles = 10000;

// Ten thousand small WAV files with long names, made once.
const QTemporaryDir& Folder() {
    static const QTemporaryDir folder = [] {
        QTemporaryDir made;
        const QByteArray header(
            "RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00"
            "\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00"
            "data\x00\x00\x00\x00",
            44);
        for (int i = 0; i < kFiles; ++i) {
            QFile file(
                made.filePath(QStringLiteral("%1 - a song with a fairly long title.wav").arg(i)));
            file.open(QIODevice::WriteOnly);
            file.write(header);
        }
        return made;
    }();
    return folder;
}

kit::Message DropOfAllFiles() {
    kit::Message drop(kit::B_SIMPLE_DATA);
    for (int i = 0; i < kFiles; ++i) {
        const QString path =
            Folder().filePath(QStringLiteral("%1 - a song with a fairly long title.wav").arg(i));
        drop.Add<kit::EntryRef>("refs", kit::EntryRef{QFile::encodeName(path).toStdString()});
    }
    return drop;
}

// Bytes of the heap in use.
long HeapBytes() {
    return static_cast<long>(mallinfo2().uordblks);
}

void BM_DropTenThousandFiles(benchmark::State& state) {
    const kit::Message drop = DropOfAllFiles();
    long bytesPerRow = 0;
    for (auto _ : state) {
        CLVContainerView* container = nullptr;
        auto* list = new FileListView(kit::Rect(0, 0, 600, 400), "ListView", &container);
        container->resize(640, 480);
        container->show();
        QApplication::processEvents();
        const long before = HeapBytes();

        kit::Message message = drop;
        list->MessageReceived(&message);
        container->repaint();
        QApplication::processEvents();

        state.PauseTiming();
        bytesPerRow = (HeapBytes() - before) / std::max(1, list->CountItems());
        if (list->CountItems() != kFiles) {
            state.SkipWithError("not every file was added");
        }
        delete container;
        state.ResumeTiming();
    }
    state.counters["bytes_per_row"] = static_cast<double>(bytesPerRow);
    state.counters["rows_per_s"] = benchmark::Counter(
        static_cast<double>(kFiles), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DropTenThousandFiles)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TypeOfTenThousandFiles(benchmark::State& state) {
    const kit::Message drop = DropOfAllFiles();
    for (auto _ : state) {
        int wav = 0;
        kit::EntryRef ref;
        for (int32_t i = 0; drop.Find("refs", i, &ref) == kit::B_OK; ++i) {
            wav += IsWavMimeType(MimeTypeOf(ref.path)) ? 1 : 0;
        }
        benchmark::DoNotOptimize(wav);
    }
}
BENCHMARK(BM_TypeOfTenThousandFiles)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
