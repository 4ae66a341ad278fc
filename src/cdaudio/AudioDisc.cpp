#include "cdaudio/AudioDisc.h"

#include "cdaudio/AudioCd.h"
#include "cdaudio/CdioDisc.h"

#include <cdio/cdtext.h>
#include <string_view>

namespace {

std::string_view Trimmed(const char* text) {
    std::string_view view = text != nullptr ? text : "";
    const size_t first = view.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return view.substr(first, view.find_last_not_of(" \t") - first + 1);
}

bool HasAudioTrack(CdIo_t* cdio) {
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t last = cdio_get_last_track_num(cdio);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK) {
        return false;
    }
    for (track_t track = first; track <= last; ++track) {
        if (cdio_get_track_format(cdio, track) == TRACK_FORMAT_AUDIO) {
            return true;
        }
    }
    return false;
}

} // namespace

CdioPtr OpenCdioDisc(const std::string& device) {
    return CdioPtr(cdio_open(device.c_str(), DRIVER_UNKNOWN));
}

std::string CdTextName(CdIo_t* cdio) {
    const cdtext_t* cdtext = cdio_get_cdtext(cdio);
    if (cdtext == nullptr) {
        return std::string(kUnnamedCdLabel);
    }
    // Track 0 holds the values of the whole disc.
    const std::string_view performer = Trimmed(cdtext_get_const(cdtext, CDTEXT_FIELD_PERFORMER, 0));
    const std::string_view title = Trimmed(cdtext_get_const(cdtext, CDTEXT_FIELD_TITLE, 0));
    if (title.empty()) {
        return std::string(kUnnamedCdLabel);
    }
    if (performer.empty()) {
        return std::string(title);
    }
    return std::string(performer) + " - " + std::string(title);
}

std::vector<std::string> ListCdDrives() {
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

std::optional<std::string> ProbeAudioDisc(const std::string& device) {
    const CdioPtr cdio = OpenCdioDisc(device);
    if (!cdio || !HasAudioTrack(cdio.get())) {
        return std::nullopt;
    }
    return CdTextName(cdio.get());
}
