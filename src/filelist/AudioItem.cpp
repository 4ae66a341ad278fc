#include "filelist/AudioItem.h"

#include "app/VambleApp.h"
#include "filelist/NamePattern.h"

#include <algorithm>
#include <cstring>

namespace {

int64_t NextRowId() {
    static int64_t last = 0;
    return ++last;
}

} // namespace

AudioItem::AudioItem(const kit::EntryRef& file, uint32_t outlineLevel, bool isSuperitem,
                     bool isExpanded, float minimumHeight)
    : CLVEasyItem(outlineLevel, isSuperitem, isExpanded, minimumHeight), ref(file),
      id(NextRowId()) {}

void AudioItem::SetItemDone(bool isDone) {
    if (isDone) {
        // The check mark is shared by every row and outlives them all.
        SetColumnContent(kDoneColumn, checkBitmap, 2.0f, false, false);
    }
    done = isDone;
}

std::string AudioItem::FullTitle() const {
    const char* saveAs = GetColumnContentText(kSaveAsColumn);
    if (saveAs != nullptr) {
        char cut[sizeof tag.title];
        SetTagText(cut, saveAs);
        if (std::memcmp(cut, tag.title, sizeof cut) == 0) {
            return saveAs;
        }
    }
    return std::string(TagText(tag.title));
}

char* AudioItem::CreateString(const char* pattern) const {
    const char* saveAs = GetColumnContentText(kSaveAsColumn);
    const std::string name = ExpandNamePattern(pattern, tag, track, saveAs ? saveAs : "");
    auto* result = new char[name.size() + 1];
    std::memcpy(result, name.c_str(), name.size() + 1);
    return result;
}

void AudioItem::DrawItem(kit::Painter& painter, kit::View* owner, kit::Rect frame, bool complete) {
    CLVEasyItem::DrawItem(painter, owner, frame, complete);
    if (progress < 0.0f) {
        return;
    }
    // The row fills from the left as the file is encoded, in a see-through blue that leaves the
    // texts readable.
    constexpr kit::Color kDone{51, 119, 204, 64};
    const float right = owner->Bounds().right;
    const kit::Rect bar(frame.left, frame.top,
                        frame.left + std::min(progress, 1.0f) * (right - frame.left), frame.bottom);
    if (bar.IsValid() && painter.Meets(bar)) {
        painter.SetHighColor(kDone);
        painter.FillRect(bar);
    }
}
