// Timings of the column list with many rows: adding them, painting one screenful, resizing a
// column. Runs offscreen; the rows are built like the file list's.
#include "ColumnListView/ColumnListView.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct FileList {
    FileList() {
        list = new ColumnListView(kit::Rect(0, 0, 400, 400), &container, "ListView",
                                  kit::B_MULTIPLE_SELECTION_LIST, false, true, true, true,
                                  kit::B_FANCY_BORDER);
        list->AddColumn(new CLVColumn(
            nullptr, 16.0f, CLV_COL_FIXED_POSITION | CLV_COL_FIXED_WIDTH | CLV_COL_JOIN_HEADER,
            16.0f));
        list->AddColumn(
            new CLVColumn("Track", 50.0f, CLV_COL_SORTABLE | CLV_COL_ALIGN_RIGHT, 50.0f));
        for (const char* label : {"Filename", "Save As", "Path To File"}) {
            list->AddColumn(
                new CLVColumn(label, 150.0f, CLV_COL_SORTABLE | CLV_COL_NOTIFY_ITEMS, 70.0f));
        }
        container->show();
        QApplication::processEvents();
    }
    ~FileList() {
        list->MakeEmpty();
        delete container;
    }
    FileList(const FileList&) = delete;
    FileList& operator=(const FileList&) = delete;

    static std::unique_ptr<CLVEasyItem> Row(int64_t i) {
        const std::string n = std::to_string(i);
        const std::string name = "track-" + n + "-a-reasonably-long-file-name.wav";
        auto item = std::make_unique<CLVEasyItem>();
        item->SetColumnContent(1, n.c_str(), false, true);
        item->SetColumnContent(2, name.c_str(), true, false);
        item->SetColumnContent(3, name.c_str(), true, false);
        item->SetColumnContent(4, ("/home/user/music/album/" + name).c_str(), true, false);
        return item;
    }
    void Fill(int64_t count) {
        for (int64_t i = 0; i < count; i++) {
            rows.push_back(Row(i));
            list->AddItem(rows.back().get());
        }
    }

    ColumnListView* list = nullptr;
    CLVContainerView* container = nullptr;
    std::vector<std::unique_ptr<CLVEasyItem>> rows;
};

// Building the rows' cells and adding them to a shown list, as dropping files does.
void AddRows(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<FileList>();
        state.ResumeTiming();
        f->Fill(state.range(0));
        QApplication::processEvents();
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(AddRows)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Painting the whole visible list (about 25 rows) in the middle of the list.
void PaintScreenful(benchmark::State& state) {
    FileList f;
    f.Fill(state.range(0));
    f.list->ScrollTo(
        kit::Point(0, f.list->ItemFrame(static_cast<int32_t>(state.range(0) / 2)).top));
    f.list->repaint();
    for (auto _ : state) {
        f.list->repaint();
    }
}
BENCHMARK(PaintScreenful)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Changing the width of the Filename column (which notifies every row) and painting the result.
void ResizeColumn(benchmark::State& state) {
    FileList f;
    f.Fill(state.range(0));
    f.list->ScrollTo(
        kit::Point(0, f.list->ItemFrame(static_cast<int32_t>(state.range(0) / 2)).top));
    QApplication::processEvents();
    CLVColumn* column = f.list->ColumnAt(2);
    float width = 150.0f;
    for (auto _ : state) {
        width = width == 150.0f ? 120.0f : 150.0f;
        column->SetWidth(width);
        QApplication::processEvents();
    }
}
BENCHMARK(ResizeColumn)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
