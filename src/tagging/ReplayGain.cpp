#include "tagging/ReplayGain.h"

#include <QLibrary>
#include <array>
#include <charconv>
#include <cmath>
#include <ebur128.h>
#include <sndfile.h>

namespace {

// The functions of libebur128 this file calls, resolved when first needed. The header gives their
// types; nothing links the library.
struct Ebur128 {
    decltype(&ebur128_init) init = nullptr;
    decltype(&ebur128_destroy) destroy = nullptr;
    decltype(&ebur128_set_channel) setChannel = nullptr;
    decltype(&ebur128_add_frames_float) addFramesFloat = nullptr;
    decltype(&ebur128_loudness_global) loudnessGlobal = nullptr;
    decltype(&ebur128_loudness_global_multiple) loudnessGlobalMultiple = nullptr;
    decltype(&ebur128_sample_peak) samplePeak = nullptr;
    std::string error; // why the library cannot be used; empty when it can

    static const Ebur128& Get() {
        static const Ebur128 library = Load();
        return library;
    }

private:
    static Ebur128 Load() {
        Ebur128 loaded;
        QLibrary library(QStringLiteral("ebur128"), EBUR128_VERSION_MAJOR);
        const auto resolve = [&library](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                library.resolve(name));
            return function != nullptr;
        };
        // The library stays loaded: QLibrary unloads only when asked to.
        if (!library.load() || !resolve(loaded.init, "ebur128_init") ||
            !resolve(loaded.destroy, "ebur128_destroy") ||
            !resolve(loaded.setChannel, "ebur128_set_channel") ||
            !resolve(loaded.addFramesFloat, "ebur128_add_frames_float") ||
            !resolve(loaded.loudnessGlobal, "ebur128_loudness_global") ||
            !resolve(loaded.loudnessGlobalMultiple, "ebur128_loudness_global_multiple") ||
            !resolve(loaded.samplePeak, "ebur128_sample_peak")) {
            loaded.error =
                "the library libebur128 (Debian package libebur128-1) cannot be loaded: " +
                library.errorString().toStdString();
        }
        return loaded;
    }
};

struct StateDeleter {
    void operator()(ebur128_state* state) const { Ebur128::Get().destroy(&state); }
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
        if (Ebur128::Get().samplePeak(state, channel, &channelPeak) == EBUR128_SUCCESS) {
            peak = std::max(peak, channelPeak);
        }
    }
    return peak;
}

// The number with `decimals` digits after a point, whatever the locale says.
std::string Decimal(double value, int decimals) {
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value,
                                       std::chars_format::fixed, decimals);
    return {text.data(), written.ptr};
}

} // namespace

struct AlbumLoudnessMeter::Tracks {
    std::vector<State> states; // of the tracks with a loudness
    double peak = 0.0;
};

AlbumLoudnessMeter::AlbumLoudnessMeter() : tracks(std::make_unique<Tracks>()) {}
AlbumLoudnessMeter::~AlbumLoudnessMeter() = default;

std::variant<Loudness, std::string>
AlbumLoudnessMeter::AddTrack(const std::filesystem::path& file) {
    const Ebur128& ebur128 = Ebur128::Get();
    if (!ebur128.error.empty()) {
        return ebur128.error;
    }
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, SoundFileCloser> sound(sf_open(file.c_str(), SFM_READ, &info));
    if (!sound) {
        return std::string("it cannot be read: ") + sf_strerror(nullptr);
    }
    // The histogram keeps the state's size fixed however long the track is.
    State state(ebur128.init(static_cast<unsigned>(info.channels),
                             static_cast<unsigned long>(info.samplerate),
                             EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK | EBUR128_MODE_HISTOGRAM));
    if (!state) {
        return std::string("its format cannot be measured");
    }
    if (info.channels == 1) {
        ebur128.setChannel(state.get(), 0, EBUR128_DUAL_MONO);
    }
    constexpr sf_count_t kFrames = 16384;
    std::vector<float> samples(static_cast<size_t>(kFrames * info.channels));
    for (sf_count_t read = 0; (read = sf_readf_float(sound.get(), samples.data(), kFrames)) > 0;) {
        if (ebur128.addFramesFloat(state.get(), samples.data(), static_cast<size_t>(read)) !=
            EBUR128_SUCCESS) {
            return std::string("it cannot be measured");
        }
    }
    if (sf_error(sound.get()) != SF_ERR_NO_ERROR) {
        return std::string("it cannot be read: ") + sf_strerror(sound.get());
    }
    Loudness loudness{0.0, SamplePeak(state.get())};
    if (ebur128.loudnessGlobal(state.get(), &loudness.integrated) != EBUR128_SUCCESS ||
        !std::isfinite(loudness.integrated)) {
        return std::string("it is silent");
    }
    tracks->peak = std::max(tracks->peak, loudness.peak);
    tracks->states.push_back(std::move(state));
    return loudness;
}

std::optional<Loudness> AlbumLoudnessMeter::Album() const {
    if (tracks->states.empty()) {
        return std::nullopt;
    }
    std::vector<ebur128_state*> states;
    for (const State& state : tracks->states) {
        states.push_back(state.get());
    }
    Loudness album{0.0, tracks->peak};
    if (Ebur128::Get().loudnessGlobalMultiple(states.data(), states.size(), &album.integrated) !=
            EBUR128_SUCCESS ||
        !std::isfinite(album.integrated)) {
        return std::nullopt;
    }
    return album;
}

double ReplayGainDb(const Loudness& loudness) {
    return -18.0 - loudness.integrated;
}

std::vector<UserText> ReplayGainTexts(const Loudness& track, const std::optional<Loudness>& album) {
    std::vector<UserText> texts = {
        {"REPLAYGAIN_TRACK_GAIN", Decimal(ReplayGainDb(track), 2) + " dB"},
        {"REPLAYGAIN_TRACK_PEAK", Decimal(track.peak, 6)}};
    if (album) {
        texts.push_back({"REPLAYGAIN_ALBUM_GAIN", Decimal(ReplayGainDb(*album), 2) + " dB"});
        texts.push_back({"REPLAYGAIN_ALBUM_PEAK", Decimal(album->peak, 6)});
    }
    return texts;
}
