#include "filelist/AudioItem.h"

#include "app/VambleApp.h"
#include "filelist/NamePattern.h"
#include "filelist/RowMarks.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

int64_t NextRowId() {
    static int64_t last = 0;
    return ++last;
}

} // namespace

AudioItem::AudioItem(kit::EntryRef file, uint32_t outlineLevel, bool isSuperitem, bool isExpanded,
                     float minimumHeight)
    : CLVEasyItem(outlineLevel, isSuperitem, isExpanded, minimumHeight), ref(std::move(file)),
      id(NextRowId()) {}

void AudioItem::SetItemDone(bool isDone) {
    done = isDone;
    if (isDone) {
        failure.clear();
        clash = ClashKind::None;
        ShowMark();
    }
}

void AudioItem::SetFailure(std::string reason) {
    failure = std::move(reason);
    ShowMark();
}

void AudioItem::SetClash(ClashKind kind, int64_t withRow) {
    if (kind == clash && withRow == clashWith) {
        return;
    }
    clash = kind;
    clashWith = kind == ClashKind::SameAsRow ? withRow : 0;
    ShowMark();
}

bool AudioItem::SetOutputPlan(OutputPlan newPlan) {
    // Texts compare faster than paths, which compare level by level.
    if (newPlan.status == output.status &&
        newPlan.outputPath.native() == output.outputPath.native() &&
        newPlan.detail == output.detail) {
        return false;
    }
    output = std::move(newPlan);
    SetColumnContent(kOutputColumn, output.outputPath.c_str());
    return true;
}

void AudioItem::ShowMark() {
    // The marks are shared by every row and outlive them all.
    const kit::Bitmap* mark = nullptr;
    if (done) {
        mark = checkBitmap;
    } else if (!failure.empty()) {
        mark = &FailureMark();
    } else if (clash != ClashKind::None) {
        mark = &ClashMark();
    }
    SetColumnContent(kDoneColumn, mark, 2.0f, false, false);
}

void AudioItem::SetReleaseNames(const ReleaseNames& names, const TrackNames* trackNames) {
    ReleaseTags found = ReleaseTagsFor(names, trackNames);
    if (!found.title.empty()) {
        SetSongTitle(found.title.c_str());
    }
    if (!found.artist.empty()) {
        SetArtist(found.artist.c_str());
    }
    if (!found.album.empty()) {
        SetAlbum(found.album.c_str());
    }
    if (const std::string year = names.Year(); !year.empty()) {
        SetYear(year.c_str());
    }
    if (found.releaseId == release.releaseId) {
        found.frontCover = release.frontCover;
        found.coverMimeType = release.coverMimeType;
    }
    release = std::move(found);
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
