// Ten thousand rows: after a change of the name pattern, every row's output file planned again
// and the clashes found, the disk asked as the window asks it (one listing per folder). A tenth of
// the files exist already and a tenth of the rows share a file with another. Runs offscreen.
#include "filelist/FileListView.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int kRows = 10000;

void BM_OutputFilesOfTenThousandRows(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string out = folder.path().toStdString();
    CLVContainerView* container = nullptr;
    auto* list = new FileListView(kit::Rect(0, 0, 600, 400), "ListView", &container);
    container->resize(640, 480);
    container->show();
    for (int i = 0; i < kRows; ++i) {
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

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
