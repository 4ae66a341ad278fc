// SPDX-License-Identifier: GPL-3.0-or-later
// The loudness module's measurement: libsndfile reads the samples, libebur128 measures them.
#include "tagging/LoudnessModule.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <ebur128.h>
#include <memory>
#include <sndfile.h>

namespace {

struct StateDeleter {
    void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};
using State = std::unique_ptr<ebur128_state, StateDeleter>;

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// The largest sample of any channel the state has seen.
double SamplePeak(ebur128_state* state) {
    double peak = 0.0;
    for (unsigned channel = 0; channel < state->channels; ++channel) {
        double channelPeak = 0.0;
        if (ebur128_sample_peak(state, channel, &channelPeak) == EBUR128_SUCCESS) {
            peak = std::max(peak, channelPeak);
        }
    }
    return peak;
}

// Reads the file through into a state of its own; the state, or why there is none.
State Measure(const std::filesystem::path& file, const std::function<bool()>& goOn,
              std::string& error) {
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, SoundFileCloser> sound(sf_open(file.c_str(), SFM_READ, &info));
    if (!sound) {
        error = QCoreApplication::translate("LoudnessMeter", "it cannot be read: %1")
                    .arg(QString::fromUtf8(sf_strerror(nullptr)))
                    .toStdString();
        return nullptr;
    }
    // The histogram keeps the state's size fixed however long the track is.
    State state(ebur128_init(static_cast<unsigned>(info.channels),
                             static_cast<unsigned long>(info.samplerate),
                             EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK | EBUR128_MODE_HISTOGRAM));
    if (!state) {
        error = QCoreApplication::translate("LoudnessMeter", "its format cannot be measured")
                    .toStdString();
        return nullptr;
    }
    if (info.channels == 1) {
        ebur128_set_channel(state.get(), 0, EBUR128_DUAL_MONO);
    }
    constexpr sf_count_t kFrames = 16384;
    std::vector<float> samples(static_cast<size_t>(kFrames * info.channels));
    for (sf_count_t read = 0; (read = sf_readf_float(sound.get(), samples.data(), kFrames)) > 0;) {
        if (goOn && !goOn()) {
            error = QCoreApplication::translate("LoudnessMeter", "it was not measured to its end")
                        .toStdString();
            return nullptr;
        }
        if (ebur128_add_frames_float(state.get(), samples.data(), static_cast<size_t>(read)) !=
            EBUR128_SUCCESS) {
            error =
                QCoreApplication::translate("LoudnessMeter", "it cannot be measured").toStdString();
            return nullptr;
        }
    }
    if (sf_error(sound.get()) != SF_ERR_NO_ERROR) {
        error = QCoreApplication::translate("LoudnessMeter", "it cannot be read: %1")
                    .arg(QString::fromUtf8(sf_strerror(sound.get())))
                    .toStdString();
        return nullptr;
    }
    return state;
}

} // namespace

std::optional<Loudness>
module::MeasureAlbum(const std::vector<std::filesystem::path>& files,
                     const std::function<void(std::size_t, const TrackLoudness&)>& measured,
                     const std::function<bool()>& goOn) {
    std::vector<State> tracks; // those with a loudness
    double albumPeak = 0.0;
    for (std::size_t i = 0; i < files.size() && (!goOn || goOn()); ++i) {
        TrackLoudness track;
        State state = Measure(files[i], goOn, track.error);
        Loudness loudness;
        // Silence has no loudness that any gain brings to the reference.
        if (state &&
            ebur128_loudness_global(state.get(), &loudness.integrated) == EBUR128_SUCCESS &&
            std::isfinite(loudness.integrated)) {
            loudness.peak = SamplePeak(state.get());
            albumPeak = std::max(albumPeak, loudness.peak);
            track.loudness = loudness;
            tracks.push_back(std::move(state));
        }
        measured(i, track);
    }
    std::vector<ebur128_state*> states;
    for (const State& state : tracks) {
        states.push_back(state.get());
    }
    Loudness album{0.0, albumPeak};
    if (states.empty() ||
        ebur128_loudness_global_multiple(states.data(), states.size(), &album.integrated) !=
            EBUR128_SUCCESS ||
        !std::isfinite(album.integrated)) {
        return std::nullopt;
    }
    return album;
}
