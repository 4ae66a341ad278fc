// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/AudioDisc.h"

#include "cdaudio/CdModule.h"
#include "cdaudio/CdioDisc.h"
#include "kit/OutsideText.h"

#include <cdio/cdtext.h>
#include <string_view>

namespace {

std::string Trimmed(const char* text) {
    const std::string_view view = text != nullptr ? text : "";
    const size_t first = view.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(view.substr(first, view.find_last_not_of(" \t") - first + 1));
}

// A CD-Text field of a track; track 0 holds the values of the whole disc. The disc's bytes are
// cleaned of control and direction characters.
std::string CdTextField(const cdtext_t* cdtext, cdtext_field_t field, track_t track) {
    const char* text = cdtext != nullptr ? cdtext_get_const(cdtext, field, track) : nullptr;
    return text != nullptr ? Trimmed(kit::CleanOutsideText(text).c_str()) : std::string();
}

} // namespace

CdioPtr OpenCdioDisc(const std::string& device) {
    return CdioPtr(cdio_open(device.c_str(), DRIVER_UNKNOWN));
}

DiscInfo ReadDiscInfo(CdIo_t* cdio) {
    DiscInfo info;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t last = cdio_get_last_track_num(cdio);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK) {
        return info;
    }
    const cdtext_t* cdtext = cdio_get_cdtext(cdio);
    for (track_t track = first; track <= last; ++track) {
        info.tracks.push_back({track, cdio_get_track_lsn(cdio, track),
                               static_cast<int32_t>(cdio_get_track_sec_count(cdio, track)),
                               cdio_get_track_format(cdio, track) == TRACK_FORMAT_AUDIO,
                               CdTextField(cdtext, CDTEXT_FIELD_TITLE, track),
                               CdTextField(cdtext, CDTEXT_FIELD_PERFORMER, track)});
    }
    info.leadOut = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    info.title = CdTextField(cdtext, CDTEXT_FIELD_TITLE, 0);
    info.performer = CdTextField(cdtext, CDTEXT_FIELD_PERFORMER, 0);
    return info;
}

std::vector<std::string> module::ListCdDrives() {
    std::vector<std::string> drives;
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    for (char** device = devices; device != nullptr && *device != nullptr; ++device) {
        drives.emplace_back(*device);
    }
    if (devices != nullptr) {
        cdio_free_device_list(devices);
    }
    return drives;
}

std::optional<DiscInfo> module::ProbeAudioDisc(const std::string& device) {
    const CdioPtr cdio = OpenCdioDisc(device);
    if (!cdio) {
        return std::nullopt;
    }
    DiscInfo info = ReadDiscInfo(cdio.get());
    if (!info.HasAudio()) {
        return std::nullopt;
    }
    return info;
}
