// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Font.h"
#include "kit/Geometry.h"
#include "kit/Painter.h"

#include <QObject>
#include <QPointer>
#include <cstdint>

namespace kit {

class View;

// One row of a ListView. The row draws itself; the list keeps its selection state. An item's
// itemHeight is set by Update when the list adopts it or its font changes. An item belongs to
// at most one list at a time.
class ListItem {
public:
    explicit ListItem(uint32_t outlineLevel = 0, bool expanded = true);
    virtual ~ListItem() = default;
    ListItem(const ListItem&) = delete;
    ListItem& operator=(const ListItem&) = delete;

    float Height() const { return itemHeight; }
    float Width() const { return itemWidth; }
    void SetHeight(float h) { itemHeight = h; }
    void SetWidth(float w) { itemWidth = w; }

    bool IsSelected() const { return selected; }
    bool IsEnabled() const { return enabled; }
    void SetEnabled(bool on) { enabled = on; }
    bool IsExpanded() const { return expandedState; }
    void SetExpanded(bool on) { expandedState = on; }
    uint32_t OutlineLevel() const { return level; }
    // Whether a list holds the item.
    bool IsInList() const { return !holdingList.isNull(); }
    void SetOutlineLevel(uint32_t outlineLevel) { level = outlineLevel; }

    // Draws the row into `frame` (the owner's coordinates). With `complete` false the owner's
    // view colour is already behind the row, so only what differs from it needs drawing.
    virtual void DrawItem(Painter& painter, View* owner, Rect frame, bool complete) = 0;
    // Takes the owner's width and the height of one line of the font.
    virtual void Update(View* owner, const Font& font);
    // The height Update gives a row with this font: one line of it.
    static float LineHeight(const Font& font);

private:
    friend class ListView;

    // The list holding the item (null when none, also once that list is gone) and where that
    // list's storage keeps it.
    QPointer<QObject> holdingList;
    int32_t listSlot = -1;
    float itemWidth = 0.0f;
    float itemHeight = 0.0f;
    uint32_t level;
    bool selected = false;
    bool enabled = true;
    bool expandedState;
};

} // namespace kit
