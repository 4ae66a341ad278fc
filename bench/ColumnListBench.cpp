// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the column list with many rows: adding them, painting one screenful, resizing a
// column, sorting flat and outlined rows, removing many rows one by one. Runs offscreen; the rows
// are built like the file list's.
#include "ColumnListView/ColumnListView.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <random>
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

// Rows with random texts: column 1 a shuffling key, column 2 a name, column 3 one of 100 albums
// (so that rows often tie in it and a second key decides).
std::unique_ptr<CLVEasyItem> RandomRow(std::mt19937& random, uint32_t level = 0) {
    const auto text = [&](const char* prefix, uint32_t range) {
        return prefix + std::to_string(random() % range);
    };
    auto item = std::make_unique<CLVEasyItem>(level, level == 0, random() % 2 == 0);
    item->SetColumnContent(1, text("", 1000000).c_str(), false, true);
    item->SetColumnContent(2, text("track-", 1000000).c_str(), true, false);
    item->SetColumnContent(3, text("album-", 100).c_str(), true, false);
    return item;
}

// Sorts by one key (column 2) or, with range(1) 2, by two (column 3, then 2), starting each
// time from the same shuffled order (sorted by column 1, untimed).
void SortBy(benchmark::State& state, ColumnListView* list, int32_t rows) {
    const int32_t shuffle[] = {1};
    const int32_t oneKey[] = {2};
    const int32_t twoKeys[] = {3, 2};
    const CLVSortMode ascending[] = {CLVSortAscending, CLVSortAscending};
    const bool two = state.range(1) == 2;
    for (auto _ : state) {
        state.PauseTiming();
        list->SetSortFunction(CLVEasyItem::CompareItems);
        list->SetSorting(1, shuffle, ascending);
        // Without a compare function setting the keys sorts nothing.
        list->SetSortFunction(nullptr);
        list->SetSorting(two ? 2 : 1, two ? twoKeys : oneKey, ascending);
        list->SetSortFunction(CLVEasyItem::CompareItems);
        state.ResumeTiming();
        list->SortItems();
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.SetLabel(two ? "album, name" : "name");
}

// A flat list of range(0) rows.
void SortFlat(benchmark::State& state) {
    FileList f;
    std::mt19937 random(1);
    for (int64_t i = 0; i < state.range(0); i++) {
        f.rows.push_back(RandomRow(random));
        f.list->AddItem(f.rows.back().get());
    }
    SortBy(state, f.list, static_cast<int32_t>(state.range(0)));
}
BENCHMARK(SortFlat)->Args({100000, 1})->Args({100000, 2})->Unit(benchmark::kMillisecond);

// A hierarchy of range(0) top-level rows with three subitems each, half of them expanded.
void SortOutline(benchmark::State& state) {
    CLVContainerView* container = nullptr;
    auto* list = new ColumnListView(kit::Rect(0, 0, 400, 400), &container, "Outline",
                                    kit::B_SINGLE_SELECTION_LIST, true);
    list->AddColumn(new CLVColumn(nullptr, 0.0f, CLV_COL_EXPANDER));
    for (const char* label : {"Key", "Name", "Album"}) {
        list->AddColumn(new CLVColumn(label, 120.0f, CLV_COL_SORTABLE, 20.0f));
    }
    std::mt19937 random(1);
    std::vector<std::unique_ptr<CLVEasyItem>> rows;
    for (int64_t i = 0; i < state.range(0); i++) {
        for (uint32_t level : {0u, 1u, 1u, 1u}) {
            rows.push_back(RandomRow(random, level));
            list->AddItem(rows.back().get());
        }
    }
    SortBy(state, list, list->FullListCountItems());
    list->MakeEmpty();
    delete container;
}
BENCHMARK(SortOutline)->Args({10000, 1})->Args({10000, 2})->Unit(benchmark::kMillisecond);

// Removes shown rows one by one, last first, as the file list's Remove command does: with
// range(1) 0 every other row (`removable(row)` says which), with range(1) 1 every row after
// "Select All". `build(count)` makes the list afresh for each run, untimed; it offers List(),
// Count() (the shown rows) and Remove(row).
template <class Build, class Removable>
void RemoveRows(benchmark::State& state, Build&& build, Removable&& removable) {
    const bool selected = state.range(1) == 1;
    int64_t removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto list = build(state.range(0));
        ColumnListView* l = list->List();
        if (selected) {
            l->Select(0, l->CountItems() - 1);
        }
        QApplication::processEvents();
        state.ResumeTiming();
        for (int32_t i = list->Count() - 1; i >= 0; i--) {
            if (selected ? l->IsItemSelected(i) : removable(i)) {
                list->Remove(i);
                removed++;
            }
        }
        QApplication::processEvents();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(removed);
    state.SetLabel(selected ? "all selected" : "every other");
}

// A flat file list of range(0) rows; RemoveItem(index) on each shown row to go.
struct FlatRows {
    explicit FlatRows(int64_t count) { f.Fill(count); }
    ColumnListView* List() const { return f.list; }
    int32_t Count() const { return f.list->CountItems(); }
    void Remove(int32_t row) const { f.list->RemoveItem(row); }
    FileList f;
};

void RemoveRowsFlat(benchmark::State& state) {
    RemoveRows(
        state, [](int64_t n) { return std::make_unique<FlatRows>(n); },
        [](int32_t i) { return i % 2 == 0; });
}
BENCHMARK(RemoveRowsFlat)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// An expanded outline of range(0) rows: top-level rows with three subitems each. Every other
// row means the first and third subitem of each. Rows are removed by item, as a full-list
// index is not a shown row's; the subitems go before their superitem.
struct OutlineRows {
    explicit OutlineRows(int64_t count) {
        list = new ColumnListView(kit::Rect(0, 0, 400, 400), &container, "Outline",
                                  kit::B_MULTIPLE_SELECTION_LIST, true);
        list->AddColumn(new CLVColumn(nullptr, 0.0f, CLV_COL_EXPANDER));
        list->AddColumn(new CLVColumn("Name", 200.0f, CLV_COL_SORTABLE, 20.0f));
        for (int64_t i = 0; i < count; i++) {
            const uint32_t level = i % 4 == 0 ? 0 : 1;
            rows.push_back(std::make_unique<CLVEasyItem>(level, level == 0, true));
            rows.back()->SetColumnContent(1, std::to_string(i).c_str());
            list->AddItem(rows.back().get());
        }
        container->show();
    }
    ~OutlineRows() {
        list->MakeEmpty();
        delete container;
    }
    OutlineRows(const OutlineRows&) = delete;
    OutlineRows& operator=(const OutlineRows&) = delete;
    ColumnListView* List() const { return list; }
    int32_t Count() const { return list->CountItems(); }
    void Remove(int32_t row) const { list->RemoveItem(list->ItemAt(row)); }

    ColumnListView* list = nullptr;
    CLVContainerView* container = nullptr;
    std::vector<std::unique_ptr<CLVEasyItem>> rows;
};

void RemoveRowsOutline(benchmark::State& state) {
    RemoveRows(
        state, [](int64_t n) { return std::make_unique<OutlineRows>(n); },
        [](int32_t i) { return i % 2 == 1; });
}
BENCHMARK(RemoveRowsOutline)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

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
