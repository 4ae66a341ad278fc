// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/AudioItem.h"

#include "filelist/CheckBitmap.h"
#include "filelist/NamePattern.h"
#include "filelist/RowMarks.h"
#include "kit/View.h"
#include "tagging/GenreTable.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The full text kept for a field while the field still holds it cut, else the field's own text.
template <std::size_t N> std::string FullText(const char (&field)[N], const std::string& kept) {
    return FieldHolds(field, kept) ? kept : std::string(TagText(field));
}

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
        warning.clear();
        clash = ClashKind::None;
        ShowMark();
    }
}

void AudioItem::SetFailure(std::string reason) {
    failure = std::move(reason);
    ShowMark();
}

void AudioItem::SetWarning(std::string reason) {
    warning = std::move(reason);
    ShowMark();
}

void AudioItem::SetSourceDamage(std::string what) {
    sourceDamage = std::move(what);
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
        mark = warning.empty() ? checkBitmap : &ClashMark();
    } else if (!failure.empty() || !sourceDamage.empty()) {
        mark = &FailureMark();
    } else if (clash != ClashKind::None || !warning.empty()) {
        mark = &ClashMark();
    }
    SetColumnContent(kDoneColumn, mark, 2.0f, false, false);
}

void AudioItem::TakeFoundTags(const FoundTags& values) {
    const auto take = [this](std::string FoundTags::*text, const std::string& value,
                             void (AudioItem::*setField)(const char*)) {
        if (!value.empty()) {
            (this->*setField)(value.c_str());
            Keep(text, value.size() > sizeof tag.title - 1 ? value : std::string());
        }
    };
    take(&FoundTags::title, values.title, &AudioItem::SetSongTitle);
    take(&FoundTags::artist, values.artist, &AudioItem::SetArtist);
    take(&FoundTags::album, values.album, &AudioItem::SetAlbum);
    take(&FoundTags::comment, values.comment, &AudioItem::SetComment);
    if (!values.year.empty()) {
        SetYear(values.year.c_str());
    }
    if (!values.genre.empty()) {
        const std::optional<uint8_t> number = GenreNumberOfName(values.genre);
        Keep(&FoundTags::genre, number ? std::string() : values.genre);
        if (number) {
            SetGenre(*number);
        }
    }
    if (values.track >= 0) {
        track = values.track;
        trackCount = values.trackCount;
        SetColumnContent(kTrackColumn, std::to_string(track).c_str(), false, true);
    }
}

void AudioItem::SetReleaseNames(const ReleaseNames& names, const TrackNames* trackNames) {
    ReleaseTags found = ReleaseTagsFor(names, trackNames);
    FoundTags values;
    values.title = found.title;
    values.artist = found.artist;
    values.album = found.album;
    values.year = names.Year();
    TakeFoundTags(values);
    // A disc's track files are named by their number ("Track 02.wav"): while the Save As text is
    // still that name, or the title an earlier look-up gave, it shows the title found.
    const char* saveAs = GetColumnContentText(kSaveAsColumn);
    const std::string shown = saveAs != nullptr ? saveAs : "";
    if (!found.title.empty() &&
        (shown == ref.path.filename().string() ||
         (!release.title.empty() && shown == release.title + ".wav"))) {
        SetColumnContent(kSaveAsColumn, (found.title + ".wav").c_str());
    }
    if (found.releaseId == release.releaseId) {
        found.frontCover = std::move(release.frontCover);
    }
    release = std::move(found);
}

KeptRow AudioItem::ToKeptRow(std::string saveAs) const {
    KeptRow row;
    row.file = ref.path;
    row.saveAs = std::move(saveAs);
    row.track = track;
    row.trackCount = trackCount;
    row.title = TagText(tag.title);
    row.artist = TagText(tag.artist);
    row.album = TagText(tag.album);
    row.year = TagText(tag.year);
    row.comment = TagText(tag.comment);
    row.genre = tag.genre;
    row.genreGiven = genreGiven;
    row.fullTitle = Kept(&FoundTags::title);
    row.fullArtist = Kept(&FoundTags::artist);
    row.fullAlbum = Kept(&FoundTags::album);
    row.fullComment = Kept(&FoundTags::comment);
    row.genreName = Kept(&FoundTags::genre);
    row.cover = cover;
    row.failure = failure;
    row.warning = warning;
    row.sourceDamage = sourceDamage;
    row.release = release;
    row.release.frontCoverComing = false;
    if (disc) {
        row.disc = disc->toc;
    }
    return row;
}

std::unique_ptr<AudioItem> AudioItem::FromKeptRow(const KeptRow& kept,
                                                  std::shared_ptr<const DiscSource> source) {
    auto row = std::make_unique<AudioItem>(kit::EntryRef{kept.file});
    row->track = kept.track;
    row->trackCount = kept.trackCount;
    if (kept.track >= 0) {
        row->SetColumnContent(kTrackColumn, std::to_string(kept.track).c_str(), false, true);
    }
    row->SetColumnContent(kFilenameColumn, kept.file.filename().c_str());
    row->SetColumnContent(kSaveAsColumn, kept.saveAs.c_str());
    row->SetColumnContent(kPathColumn, kept.file.c_str());
    row->SetSongTitle(kept.title.c_str());
    row->SetArtist(kept.artist.c_str());
    row->SetAlbum(kept.album.c_str());
    row->SetYear(kept.year.c_str());
    row->SetComment(kept.comment.c_str());
    row->tag.genre = static_cast<uint8_t>(kept.genre);
    row->genreGiven = kept.genreGiven;
    row->Keep(&FoundTags::title, kept.fullTitle);
    row->Keep(&FoundTags::artist, kept.fullArtist);
    row->Keep(&FoundTags::album, kept.fullAlbum);
    row->Keep(&FoundTags::comment, kept.fullComment);
    row->Keep(&FoundTags::genre, kept.genreName);
    row->cover = kept.cover;
    row->failure = kept.failure;
    row->warning = kept.warning;
    row->sourceDamage = kept.sourceDamage;
    row->release = kept.release;
    row->disc = std::move(source);
    row->ShowMark();
    return row;
}

FinishedFile AudioItem::Finished(const std::filesystem::path& mp3) const {
    FinishedFile file;
    file.path = mp3;
    file.tag = tag;
    file.track = track;
    file.trackCount = trackCount;
    file.fullTitle = FullTitle();
    file.fullArtist = FullArtist();
    file.fullAlbum = FullAlbum();
    file.fullComment = FullComment();
    file.genreGiven = GenreGiven();
    file.genreName = GenreName();
    file.source = ref.path;
    file.coverFile = cover;
    file.release = HeldReleaseTags();
    return file;
}

ReleaseTags AudioItem::HeldReleaseTags() const {
    return ReleaseTagsHeld(release, FullTitle(), FullAlbum());
}

void AudioItem::Keep(std::string FoundTags::*text, std::string value) {
    if (!kept && value.empty()) {
        return;
    }
    if (!kept) {
        kept = std::make_unique<FoundTags>();
    }
    kept.get()->*text = std::move(value);
}

const std::string& AudioItem::Kept(std::string FoundTags::*text) const {
    static const std::string none;
    return kept ? kept.get()->*text : none;
}

std::string AudioItem::FullTitle() const {
    if (FieldHolds(tag.title, Kept(&FoundTags::title))) {
        return std::string(WithoutWavExtension(Kept(&FoundTags::title)));
    }
    const char* saveAs = GetColumnContentText(kSaveAsColumn);
    if (saveAs != nullptr) {
        char cut[sizeof tag.title];
        SetTagText(cut, saveAs);
        if (std::memcmp(cut, tag.title, sizeof cut) == 0) {
            return std::string(WithoutWavExtension(saveAs));
        }
    }
    return std::string(WithoutWavExtension(TagText(tag.title)));
}

std::string AudioItem::FullArtist() const {
    return FullText(tag.artist, Kept(&FoundTags::artist));
}

std::string AudioItem::FullAlbum() const {
    return FullText(tag.album, Kept(&FoundTags::album));
}

std::string AudioItem::FullComment() const {
    return FullText(tag.comment, Kept(&FoundTags::comment));
}

std::string AudioItem::GenreName() const {
    return genreGiven ? std::string() : Kept(&FoundTags::genre);
}

char* AudioItem::CreateString(const char* pattern) const {
    const char* saveAs = GetColumnContentText(kSaveAsColumn);
    const std::string title = FullTitle();
    const std::string artist = FullArtist();
    const std::string album = FullAlbum();
    // The release's album artist and disc only while the row's album is still the release's.
    const ReleaseTags held = ReleaseTagsHeld(release, title, album);
    const std::string name = ExpandNamePattern(
        pattern, tag, track, saveAs ? saveAs : "",
        {title, artist, album, held.albumArtist, held.discNumber, held.discCount});
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
    // texts readable; over the bluish background of a selected row it is laid on thicker, so
    // that it stands out as much there.
    constexpr kit::Color kDone{51, 119, 204, 64};
    constexpr kit::Color kDoneSelected{51, 119, 204, 112};
    const float right = owner->Bounds().right;
    const kit::Rect bar(frame.left, frame.top,
                        frame.left + std::min(progress, 1.0f) * (right - frame.left), frame.bottom);
    if (bar.IsValid() && painter.Meets(bar)) {
        painter.SetHighColor(IsSelected() ? kDoneSelected : kDone);
        painter.FillRect(bar);
    }
}
