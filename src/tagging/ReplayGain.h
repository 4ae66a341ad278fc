// ReplayGain 2.0: the loudness of tracks and albums by EBU R128 (measured with libebur128), the
// gain that brings them to the reference of -18 LUFS, and the ID3v2 user texts that players read.
//
// libebur128 is loaded when the first track is measured, so the program does not load it at all
// unless ReplayGain tags are asked for.
#pragma once

#include "tagging/ID3v2Extras.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct Loudness {
    double integrated = 0.0; // LUFS, gated as EBU R128 asks
    double peak = 0.0;       // the largest sample, 1.0 being full scale
};

// The loudness of each track added, and of the album they make together: the album's loudness is
// measured over all of their audio (not averaged over tracks), its peak is their largest.
class AlbumLoudnessMeter {
public:
    AlbumLoudnessMeter();
    ~AlbumLoudnessMeter();
    AlbumLoudnessMeter(const AlbumLoudnessMeter&) = delete;
    AlbumLoudnessMeter& operator=(const AlbumLoudnessMeter&) = delete;

    // Reads the file through and measures it; its loudness, or why it has none: a file that cannot
    // be read, libebur128 missing, or silence, whose loudness is below any gain. A mono file counts
    // as played on both speakers, as players play it.
    std::variant<Loudness, std::string> AddTrack(const std::filesystem::path& file);

    // Over every track whose loudness was measured; nothing before any was.
    [[nodiscard]] std::optional<Loudness> Album() const;

private:
    struct Tracks;
    std::unique_ptr<Tracks> tracks;
};

// The gain in dB that brings the loudness to -18 LUFS.
double ReplayGainDb(const Loudness& loudness);

// The user texts REPLAYGAIN_TRACK_GAIN ("-7.25 dB") and REPLAYGAIN_TRACK_PEAK ("0.988525"), and the
// album's REPLAYGAIN_ALBUM_GAIN and REPLAYGAIN_ALBUM_PEAK when there is an album loudness.
std::vector<UserText> ReplayGainTexts(const Loudness& track, const std::optional<Loudness>& album);
