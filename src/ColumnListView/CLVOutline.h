// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/StableSort.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// Index arithmetic of an outline kept as one sequence in outline order. Each entry has a level
// (0 at the top); an entry's subitems follow it directly and have greater levels, ending at the
// first following entry whose level is not greater. The superitem of an entry is the nearest
// preceding entry with a lower level. The functions take the number of entries and `level(i)`,
// the level of entry i.
namespace outline {

// One past the last subitem of entry `index`.
template <class Level> int32_t SubtreeEnd(int32_t count, int32_t index, Level&& level) {
    const auto own = level(index);
    int32_t end = index + 1;
    while (end < count && level(end) > own) {
        end++;
    }
    return end;
}

// The index of the entry's superitem, -1 when it has none.
template <class Level> int32_t SuperitemIndex(int32_t index, Level&& level) {
    const auto own = level(index);
    for (int32_t i = index - 1; i >= 0; i--) {
        if (level(i) < own) {
            return i;
        }
    }
    return -1;
}

// One past the end of the range [first, first + n) grown to take along the subitems of its
// entries: it extends while the following entry's level is greater than the lowest level in the
// range.
template <class Level> int32_t RemovalEnd(int32_t count, int32_t first, int32_t n, Level&& level) {
    int32_t end = first + n;
    if (n <= 0) {
        return end;
    }
    auto lowest = level(first);
    for (int32_t i = first + 1; i < end; i++) {
        lowest = std::min(lowest, level(i));
    }
    while (end < count && level(end) > lowest) {
        end++;
    }
    return end;
}

// The subitems of entry `index` that show when it is expanded, in order: each of them, except
// the subitems of those that are collapsed (`expanded(i)` false).
template <class Level, class Expanded>
std::vector<int32_t> ShownSubitems(int32_t count, int32_t index, Level&& level,
                                   Expanded&& expanded) {
    std::vector<int32_t> shown;
    const int32_t end = SubtreeEnd(count, index, level);
    for (int32_t i = index + 1; i < end;) {
        shown.push_back(i);
        i = expanded(i) ? i + 1 : SubtreeEnd(count, i, level);
    }
    return shown;
}

// SubtreeEnd of every entry, in one pass.
template <class Level> std::vector<int32_t> SubtreeEnds(int32_t count, Level&& level) {
    std::vector<int32_t> ends(static_cast<size_t>(count), count);
    std::vector<int32_t> open;
    for (int32_t i = 0; i < count; i++) {
        while (!open.empty() && level(open.back()) >= level(i)) {
            ends[static_cast<size_t>(open.back())] = i;
            open.pop_back();
        }
        open.push_back(i);
    }
    return ends;
}

// The outline sorted: within every group of siblings (the top-level entries, and the direct
// subitems of each entry) the siblings of each level are sorted by themselves with the stable
// sort `less(i, j)`, and every entry is followed by its own subitems, so that every entry keeps
// its superitem. Siblings may differ in level, the deeper ones first (a deeper one after a
// shallower one would be its subitem): they keep that order. Returns the new order as indexes
// of the old one. Depth costs no stack: pending sibling groups are kept in a list of their own.
template <class Level, class Less>
std::vector<int32_t> SortOutline(int32_t count, Level&& level, Less&& less) {
    const std::vector<int32_t> ends = SubtreeEnds(count, level);
    const auto siblings = [&](int32_t from, int32_t to) {
        std::vector<int32_t> group;
        for (int32_t i = from; i < to; i = ends[static_cast<size_t>(i)]) {
            group.push_back(i);
        }
        for (auto run = group.begin(); run != group.end();) {
            const auto runLevel = level(*run);
            const auto end =
                std::find_if(run, group.end(), [&](int32_t i) { return level(i) != runLevel; });
            kit::StableSort(std::span<int32_t>(run, end), less);
            run = end;
        }
        return group;
    };
    struct Pending {
        std::vector<int32_t> group;
        size_t next = 0;
    };
    std::vector<int32_t> order;
    order.reserve(static_cast<size_t>(count));
    std::vector<Pending> pending;
    pending.push_back({siblings(0, count)});
    while (!pending.empty()) {
        Pending& top = pending.back();
        if (top.next == top.group.size()) {
            pending.pop_back();
            continue;
        }
        const int32_t entry = top.group[top.next++];
        order.push_back(entry);
        const int32_t end = ends[static_cast<size_t>(entry)];
        if (end > entry + 1) {
            pending.push_back({siblings(entry + 1, end)});
        }
    }
    return order;
}

} // namespace outline
