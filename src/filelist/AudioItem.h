// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/CLVEasyItem.h"
#include "encoding/EncoderCommand.h"
#include "encoding/OutputClashes.h"
#include "filelist/KeptList.h"
#include "kit/Message.h"
#include "lookup/DiscSource.h"
#include "tagging/FinishedFile.h"
#include "tagging/FoundTags.h"
#include "tagging/ID3Struct.h"
#include "tagging/ReleaseTags.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

// One row of the file list: a source WAV file queued for encoding, its tag values, its track
// number and whether it has been encoded; where its MP3 file would go now and whether that
// clashes with another row or an existing file; why its last encoding failed. The list's six
// columns are the mark, "Track", "Filename", "Save As", "Path To File" and "Output File"; the
// file list fills them.
class AudioItem : public CLVEasyItem {
public:
    AudioItem(kit::EntryRef file, uint32_t outlineLevel = 0, bool isSuperitem = false,
              bool isExpanded = false, float minimumHeight = 0.0f);
    ~AudioItem() override = default;

    // Each stores at most 30 characters (the year 4); a null text empties the field.
    void SetSongTitle(const char* text) { SetTagText(tag.title, text); }
    void SetArtist(const char* text) { SetTagText(tag.artist, text); }
    void SetAlbum(const char* text) { SetTagText(tag.album, text); }
    void SetComment(const char* text) { SetTagText(tag.comment, text); }
    void SetYear(const char* text) { SetTagText(tag.year, text); }
    void SetGenre(uint8_t genre) {
        tag.genre = genre;
        genreGiven = true;
    }
    // Whether a genre was applied to the row; the genre number of a row without one is 0.
    [[nodiscard]] bool GenreGiven() const { return genreGiven; }

    // Takes the values found for the row outside the program (in its WAV file, or in its file's
    // name): each value found replaces the row's, cut to its field as the setters cut, and the
    // texts are kept at their full length for the ID3v2 tag. A track replaces the row's track and
    // its "Track" cell; a genre name the genre table does not hold is kept only for the ID3v2 tag.
    // The caller redraws the row.
    void TakeFoundTags(const FoundTags& values);

    // Gives the row the names a disc look-up found for its track (`trackNames` may be null): the
    // title, artist, album and year where the release has them, taken as found tags are, and the
    // rest of the release for the ID3v2 tag. The release's front cover stays when the release is
    // the same. A Save As text nobody edited (the file's name, or an earlier release's title)
    // becomes the title found.
    void SetReleaseNames(const ReleaseNames& names, const TrackNames* trackNames);
    // The release's tags for the row's file, as far as its title and album are still the release's.
    [[nodiscard]] ReleaseTags HeldReleaseTags() const;

    // The song title at its full length, for the ID3v2 tag: the title found for the row while
    // the title field still holds it; else the Save As text when the title is that text cut to
    // the tag's 30 bytes (as a title taken from the file name is); else the title as stored;
    // like "%s", without a final ".wav".
    [[nodiscard]] std::string FullTitle() const;
    // The artist, album and comment at their full length, for the ID3v2 tag: the text found for
    // the row while its field still holds it, else the field.
    [[nodiscard]] std::string FullArtist() const;
    [[nodiscard]] std::string FullAlbum() const;
    [[nodiscard]] std::string FullComment() const;
    // The genre found for the row by a name the genre table does not hold, while no genre was
    // applied; empty otherwise.
    [[nodiscard]] std::string GenreName() const;

    // The picture the user gave the row for its front cover; empty for none (the one beside the
    // WAV file is then taken, if any).
    void SetCover(std::filesystem::path picture) { cover = std::move(picture); }
    [[nodiscard]] const std::filesystem::path& Cover() const { return cover; }

    // The row's encoded file `mp3` with what the row gives its tags, as they are now (tags
    // applied during a run reach the file); the settings' part (`id3v2`, `embedCover`,
    // `replayGain`) is left for the caller.
    [[nodiscard]] FinishedFile Finished(const std::filesystem::path& mp3) const;

    // The row as the kept list holds it, with `saveAs` as its Save As text.
    [[nodiscard]] KeptRow ToKeptRow(std::string saveAs) const;
    // A row made again from a kept one, its cells filled; its disc is `source` (shared by the
    // rows of one disc).
    static std::unique_ptr<AudioItem> FromKeptRow(const KeptRow& kept,
                                                  std::shared_ptr<const DiscSource> source);

    // Marks the row done and shows the check mark in its first column; a done row has no
    // failure, no clash and no warning yet. The caller redraws the row.
    void SetItemDone(bool isDone);

    // On a row not done the mark column shows a failure mark while the row has a failure or a
    // damaged file, else a warning mark while it has a clash or a warning; a done row shows the
    // warning mark while it has a warning. After each of these the caller redraws the row.

    // Why the row's last encoding failed (the encoder's message); empty clears it.
    void SetFailure(std::string reason);
    // What went wrong with the row's file: its own tags could not be read (shown until the row
    // is done), or, once encoded, its tags could not be written; empty clears it.
    void SetWarning(std::string reason);
    // What is wrong with the row's file itself, such as a CD track with sectors that could not
    // be read exactly; it stays until the row is removed. Shown with the failure mark.
    void SetSourceDamage(std::string what);
    // The row's clash, with the identity of the earlier row for SameAsRow.
    void SetClash(ClashKind kind, int64_t withRow = 0);
    // Where the row's MP3 file goes with the current settings; shown in the "Output File" column.
    // Returns whether anything changed.
    bool SetOutputPlan(OutputPlan newPlan);

    // The output name for this row's file from the name pattern, as a new array the caller
    // releases with delete[]; empty, never null, when the pattern expands to nothing.
    char* CreateString(const char* pattern) const;

    // The row's identity, never reused while the program runs: work for a row refers to it by
    // this, not by its place in the list.
    int64_t Id() const { return id; }

    // While several rows are encoded at once, each shows how far it is, 0 to 1, by filling from
    // the left; negative: not shown.
    float progress = -1.0f;
    void DrawItem(kit::Painter& painter, kit::View* owner, kit::Rect frame, bool complete) override;

    [[nodiscard]] const std::string& Failure() const { return failure; }
    [[nodiscard]] const std::string& Warning() const { return warning; }
    [[nodiscard]] const std::string& SourceDamage() const { return sourceDamage; }
    [[nodiscard]] ClashKind Clash() const { return clash; }
    [[nodiscard]] int64_t ClashesWith() const { return clashWith; }
    [[nodiscard]] const OutputPlan& Output() const { return output; }

    kit::EntryRef ref;
    bool done = false;
    int32_t track = -1;
    int32_t trackCount = 0; // the tracks of the row's disc or album, where known; else 0
    ID3_struct tag{};
    // For a row read from an audio CD, the disc it came from (shared by the disc's rows), so that
    // it can be looked up again; null for other rows.
    std::shared_ptr<const DiscSource> disc;
    // What a disc look-up found for the row beyond its ID3v1 fields.
    ReleaseTags release;

    // The columns of the file list.
    static constexpr int32_t kDoneColumn = 0;
    static constexpr int32_t kTrackColumn = 1;
    static constexpr int32_t kFilenameColumn = 2;
    static constexpr int32_t kSaveAsColumn = 3;
    static constexpr int32_t kPathColumn = 4;
    static constexpr int32_t kOutputColumn = 5;

private:
    void ShowMark();
    // Keeps the text (empty: none) as the found value `text`.
    void Keep(std::string FoundTags::*text, std::string value);
    [[nodiscard]] const std::string& Kept(std::string FoundTags::*text) const;

    const int64_t id;
    std::string failure;
    std::string warning;
    std::string sourceDamage;
    bool genreGiven = false;
    // The texts found for the row that its fields hold only cut, and a genre name the genre table
    // does not hold; null while there are none, as for most rows.
    std::unique_ptr<FoundTags> kept;
    std::filesystem::path cover;
    ClashKind clash = ClashKind::None;
    int64_t clashWith = 0;
    OutputPlan output;
};
