#include "cdaudio/DiscSourceRead.h"

#include "cdaudio/CdioDisc.h"

#include <cdio/cdtext.h>

namespace {

// The sectors before a disc's first track, which disc IDs count in its addresses.
constexpr int32_t kLeadIn = 150;
// The gap an enhanced CD leaves between its audio session and the data track after it (the
// lead-out and lead-in of the two sessions), which the audio session's lead-out lies before.
constexpr int32_t kSessionGap = 11400;

std::string CdText(const cdtext_t* cdtext, cdtext_field_t field, track_t track) {
    const char* text = cdtext != nullptr ? cdtext_get_const(cdtext, field, track) : nullptr;
    return text != nullptr ? text : "";
}

} // namespace

std::optional<DiscSource> ReadDiscSource(const std::string& device) {
    const CdioPtr cdio = OpenCdioDisc(device);
    if (!cdio) {
        return std::nullopt;
    }
    const track_t first = cdio_get_first_track_num(cdio.get());
    const track_t last = cdio_get_last_track_num(cdio.get());
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK) {
        return std::nullopt;
    }
    // The audio tracks in a row: a data track before them (a mixed-mode disc) is left out, and
    // one after them (an enhanced CD) ends them.
    track_t track = first;
    while (track <= last && cdio_get_track_format(cdio.get(), track) != TRACK_FORMAT_AUDIO) {
        ++track;
    }
    DiscSource disc;
    disc.toc.firstTrack = track;
    const cdtext_t* cdtext = cdio_get_cdtext(cdio.get());
    disc.cdText.title = CdText(cdtext, CDTEXT_FIELD_TITLE, 0);
    disc.cdText.artist = CdText(cdtext, CDTEXT_FIELD_PERFORMER, 0);
    for (; track <= last && cdio_get_track_format(cdio.get(), track) == TRACK_FORMAT_AUDIO;
         ++track) {
        disc.toc.trackOffsets.push_back(cdio_get_track_lsn(cdio.get(), track) + kLeadIn);
        disc.cdText.tracks.push_back({disc.Position(track), CdText(cdtext, CDTEXT_FIELD_TITLE, track),
                                      CdText(cdtext, CDTEXT_FIELD_PERFORMER, track), {}, {}, {}});
    }
    if (disc.toc.trackOffsets.empty()) {
        return std::nullopt;
    }
    disc.toc.leadOut = track <= last
                           ? cdio_get_track_lsn(cdio.get(), track) + kLeadIn - kSessionGap
                           : cdio_get_track_lsn(cdio.get(), CDIO_CDROM_LEADOUT_TRACK) + kLeadIn;
    disc.cdText.trackCount = static_cast<int32_t>(disc.cdText.tracks.size());
    return disc;
}
