// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace kit {

// Sorts the elements by `less` so that elements neither of which is less than the other keep
// their order: a merge sort of short insertion-sorted runs, O(n log n) comparisons and room for
// n more elements. Whatever `less` answers, even at random, it touches only the given elements
// and leaves each of them there once, in some order. std::stable_sort promises nothing of the
// kind for a comparison that breaks the rules of an ordering, and a client's compare function
// may break them.
template <class T, class Less> void StableSort(std::span<T> elements, Less&& less) {
    const size_t n = elements.size();
    constexpr size_t kRun = 8;
    for (size_t start = 0; start < n; start += kRun) {
        const size_t end = std::min(n, start + kRun);
        for (size_t i = start + 1; i < end; i++) {
            T value = std::move(elements[i]);
            size_t j = i;
            for (; j > start && less(value, elements[j - 1]); j--) {
                elements[j] = std::move(elements[j - 1]);
            }
            elements[j] = std::move(value);
        }
    }
    if (n <= kRun) {
        return;
    }
    std::vector<std::remove_const_t<T>> buffer(n);
    std::span<T> from = elements;
    std::span<T> to(buffer);
    for (size_t width = kRun; width < n; width *= 2) {
        for (size_t left = 0; left < n; left += 2 * width) {
            const size_t mid = std::min(n, left + width);
            const size_t end = std::min(n, left + 2 * width);
            size_t a = left;
            size_t b = mid;
            size_t k = left;
            while (a < mid && b < end) {
                // The right run's element goes first only when it is less: equal ones keep
                // their order.
                if (less(from[b], from[a])) {
                    to[k++] = std::move(from[b++]);
                } else {
                    to[k++] = std::move(from[a++]);
                }
            }
            std::move(from.begin() + static_cast<ptrdiff_t>(a),
                      from.begin() + static_cast<ptrdiff_t>(mid),
                      to.begin() + static_cast<ptrdiff_t>(k));
            k += mid - a;
            std::move(from.begin() + static_cast<ptrdiff_t>(b),
                      from.begin() + static_cast<ptrdiff_t>(end),
                      to.begin() + static_cast<ptrdiff_t>(k));
        }
        std::swap(from, to);
    }
    if (from.data() != elements.data()) {
        std::move(from.begin(), from.end(), elements.begin());
    }
}

} // namespace kit
