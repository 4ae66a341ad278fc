// SPDX-License-Identifier: GPL-3.0-or-later
// One drop of 10,000 WAV files on the file list: the type of every file read, the rows added,
// and the list painted, and their own tags read. Also the type check alone, the memory a row takes,
// the output files of 10,000 rows planned and checked for clashes, 10,000 rows sorted, and 10,000
// rows kept and restored. Runs offscreen.
#include "filelist/FileListView.h"
#include "filelist/FileType.h"
#include "filelist/KeptList.h"
#include "kit/AppDefs.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>

namespace {

constexpr int kFiles = 10000;

// Ten thousand small WAV files with long names, made once.
const QTemporaryDir& Folder() {
    static const QTemporaryDir folder = [] {
        QTemporaryDir made;
        const QByteArray header("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00"
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

// A file list in a window of 640 by 480 pixels, shown; deleting `container` deletes it.
FileListView* ShownList(CLVContainerView*& container) {
    auto* list = new FileListView(kit::Rect(0, 0, 600, 400), "ListView", &container);
    container->resize(640, 480);
    container->show();
    return list;
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
        FileListView* list = ShownList(container);
        QApplication::processEvents();
        const long before = HeapBytes();

        kit::Message message = drop;
        list->MessageReceived(&message);
        container->repaint();
        QApplication::processEvents();
        if (state.range(0) != 0) {
            list->FinishReadingTags();
        }

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
// Argument 0: until the rows are shown (their WAV files' own tags are read meanwhile, on a thread
// of their own); 1: until every row has its tags.
BENCHMARK(BM_DropTenThousandFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

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

// After a change of the name pattern, every row's output file planned again and the clashes
// found, the disk asked as the window asks it (one listing per folder). A tenth of the files
// exist already and a tenth of the rows share a file with another.
void BM_OutputFilesOfTenThousandRows(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string out = folder.path().toStdString();
    CLVContainerView* container = nullptr;
    FileListView* list = ShownList(container);
    for (int i = 0; i < kFiles; ++i) {
        // Every tenth row takes the name and track of the row before it.
        const int base = i % 10 == 9 ? i - 1 : i;
        const std::string name = std::to_string(base) + " - a song";
        auto* row = new AudioItem(kit::EntryRef{"/music/" + std::to_string(i) + ".wav"});
        row->SetColumnContent(AudioItem::kSaveAsColumn, (name + ".wav").c_str());
        row->SetArtist("Artist");
        row->SetAlbum(std::to_string(i / 1000).c_str());
        row->track = base % 20 + 10;
        list->AddItem(row);
        if (i % 10 == 0) {
            std::filesystem::create_directories(out + "/" + std::to_string(i / 1000));
            std::ofstream(out + "/" + std::to_string(i / 1000) + "/" + std::to_string(row->track) +
                          "-" + name + ".mp3");
        }
    }
    container->repaint();
    QApplication::processEvents();

    EncoderSettings settings;
    settings.outputDir = out;
    const char* const patterns[] = {"%c/%t-%n", "%a/%c/%t-%n"};
    int clashes = 0;
    int turn = 0;
    for (auto _ : state) {
        settings.namePattern = patterns[turn++ % 2];
        FolderListings disk;
        list->UpdateOutputFiles(settings,
                                [&disk](std::string_view path) { return disk.Exists(path); });
        state.PauseTiming();
        clashes = 0;
        for (int32_t i = 0; i < list->CountItems(); ++i) {
            clashes += static_cast<AudioItem*>(list->ItemAt(i))->Clash() != ClashKind::None;
        }
        container->repaint();
        state.ResumeTiming();
    }
    state.counters["clashing_rows"] = clashes;
    delete container;
}
BENCHMARK(BM_OutputFilesOfTenThousandRows)->Unit(benchmark::kMillisecond)->Iterations(20);

// A header click on a list of 10,000 rows: sorted by the column, then the other way round. The
// names hold numbers, compared as numbers; the tracks run in shuffled order.
void BM_SortTenThousandRows(benchmark::State& state) {
    const auto column = static_cast<int32_t>(state.range(0));
    CLVContainerView* container = nullptr;
    FileListView* list = ShownList(container);
    for (int i = 0; i < kFiles; ++i) {
        const int shuffled = (i * 7919) % kFiles;
        auto* row = new AudioItem(kit::EntryRef{"/music/" + std::to_string(shuffled) + ".wav"});
        const std::string name =
            std::to_string(shuffled) + " - a song with a fairly long title.wav";
        row->SetColumnContent(AudioItem::kFilenameColumn, name.c_str());
        row->track = shuffled;
        list->AddItem(row);
    }
    QApplication::processEvents();
    list->SetSortKey(column);
    for (auto _ : state) {
        list->ReverseSortMode(column); // descending
        list->ReverseSortMode(column); // no key: the order stays
        list->SetSortKey(column);      // ascending
        container->repaint();
    }
    state.counters["sorts_per_s"] =
        benchmark::Counter(2.0, benchmark::Counter::kIsIterationInvariantRate);
    delete container;
}
BENCHMARK(BM_SortTenThousandRows)
    ->Arg(AudioItem::kFilenameColumn)
    ->Arg(AudioItem::kTrackColumn)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// Ten thousand rows as the kept list holds them: tags typed, a release found for every tenth.
std::vector<KeptRow> KeptRows() {
    std::vector<KeptRow> rows;
    for (int i = 0; i < kFiles; ++i) {
        KeptRow row;
        row.file = QFile::encodeName(
                       Folder().filePath(
                           QStringLiteral("%1 - a song with a fairly long title.wav").arg(i)))
                       .toStdString();
        row.saveAs = std::to_string(i) + " - a song with a fairly long title.wav";
        row.title = "A song with a fairly long ti";
        row.artist = "Nora Quist";
        row.album = "Tide Tables";
        row.year = "1997";
        row.track = i % 20 + 1;
        if (i % 10 == 0) {
            row.release.album = "Tide Tables";
            row.release.releaseId = "5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e";
            row.release.labels = {"Harbour Records"};
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// A start with 10,000 kept rows: the file read and checked, and the rows made, added and painted
// (their files are looked at on a thread of their own meanwhile).
void BM_RestoreTenThousandKeptRows(benchmark::State& state) {
    QTemporaryDir folder;
    const std::filesystem::path stateFolder = folder.path().toStdString();
    if (!KeptListFile(stateFolder).Write(KeptListBytes(KeptRows())).isEmpty()) {
        state.SkipWithError("the list could not be written");
        return;
    }
    for (auto _ : state) {
        CLVContainerView* container = nullptr;
        FileListView* list = ShownList(container);
        QApplication::processEvents();
        KeptListFile file(stateFolder);
        list->RestoreRows(file.Load().rows);
        container->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        if (list->CountItems() != kFiles) {
            state.SkipWithError("not every row came back");
        }
        list->FinishReadingTags();
        delete container;
        state.ResumeTiming();
    }
    state.counters["bytes_in_file"] = static_cast<double>(
        QFileInfo(QString::fromStdString((stateFolder / "list.json").string())).size());
}
BENCHMARK(BM_RestoreTenThousandKeptRows)->Unit(benchmark::kMillisecond)->Iterations(5);

// What keeping 10,000 rows costs: the look the GUI thread takes once a second (the rows as the
// kept list holds them, compared with those written last), and the write its thread does after
// a change.
void BM_KeepTenThousandRows(benchmark::State& state) {
    QTemporaryDir folder;
    const std::filesystem::path stateFolder = folder.path().toStdString();
    CLVContainerView* container = nullptr;
    auto* list = new FileListView(kit::Rect(0, 0, 600, 400), "ListView", &container);
    list->RestoreRows(KeptRows());
    list->FinishReadingTags();
    const std::vector<KeptRow> written = list->RowsToKeep();
    const KeptListFile file(stateFolder);
    for (auto _ : state) {
        if (state.range(0) == 0) {
            const std::vector<KeptRow> rows = list->RowsToKeep();
            benchmark::DoNotOptimize(rows == written);
        } else if (!file.Write(KeptListBytes(written)).isEmpty()) {
            state.SkipWithError("the list could not be written");
        }
    }
    delete container;
}
// Argument 0: the look; 1: the write.
BENCHMARK(BM_KeepTenThousandRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
