// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace kit {

// A sequence of pointers to elements that know where the sequence keeps them, so that the index
// of an element is found in constant time. The pointers lie in one array with a gap at the place
// last edited: an insertion or removal moves only the pointers between it and the edit before
// (telling each its new place), so a run of edits that walks through the sequence, such as
// removing the selected rows one by one from the last, costs the length of the sequence in all
// rather than at every step.
//
// `Place` is the member of T in which the sequence keeps an element's place in its array; it
// means something only while the element is in the sequence, and an element is in at most one
// sequence with the same `Place` at a time.
template <class T, int32_t T::*Place> class GapList {
public:
    size_t size() const { return store.size() - GapWidth(); }
    bool empty() const { return size() == 0; }
    T* operator[](size_t index) const {
        return store[index < gapBegin ? index : index + GapWidth()];
    }
    // The index of an element in the sequence; meaningless for any other.
    size_t IndexOf(const T* element) const {
        const auto slot = static_cast<size_t>(element->*Place);
        return slot < gapBegin ? slot : slot - GapWidth();
    }

    // Inserts the elements at `index` (at most size()).
    void Insert(size_t index, std::span<T* const> elements) {
        MoveGap(index);
        if (GapWidth() < elements.size()) {
            Widen(elements.size());
        }
        for (T* element : elements) {
            Put(gapBegin++, element);
        }
    }
    // Removes `count` elements from `index` on (all within the sequence).
    void Erase(size_t index, size_t count) {
        MoveGap(index);
        gapEnd += count;
    }
    void Clear() {
        store.clear();
        gapBegin = gapEnd = 0;
    }
    // The elements in order.
    std::vector<T*> ToVector() const {
        std::vector<T*> elements(store.begin(), store.begin() + static_cast<ptrdiff_t>(gapBegin));
        elements.insert(elements.end(), store.begin() + static_cast<ptrdiff_t>(gapEnd),
                        store.end());
        return elements;
    }
    // Replaces the sequence with `elements`, in their order.
    void Assign(std::vector<T*> elements) {
        store = std::move(elements);
        gapBegin = gapEnd = store.size();
        for (size_t slot = 0; slot < store.size(); slot++) {
            store[slot]->*Place = static_cast<int32_t>(slot);
        }
    }

private:
    size_t GapWidth() const { return gapEnd - gapBegin; }
    void Put(size_t slot, T* element) {
        store[slot] = element;
        element->*Place = static_cast<int32_t>(slot);
    }
    // Makes the gap begin at `index`, moving the elements between across it.
    void MoveGap(size_t index) {
        while (gapBegin > index) {
            Put(--gapEnd, store[--gapBegin]);
        }
        while (gapBegin < index) {
            Put(gapBegin++, store[gapEnd++]);
        }
    }
    // Widens the gap to at least `count`, with room to spare so that growing by one element
    // at a time costs constant time on average.
    void Widen(size_t count) {
        const size_t tail = store.size() - gapEnd;
        const size_t width = count + std::max<size_t>(16, size() / 2);
        store.resize(gapBegin + width + tail);
        for (size_t i = tail; i > 0; i--) {
            Put(gapBegin + width + i - 1, store[gapEnd + i - 1]);
        }
        gapEnd = gapBegin + width;
    }

    std::vector<T*> store;
    size_t gapBegin = 0;
    size_t gapEnd = 0;
};

} // namespace kit
