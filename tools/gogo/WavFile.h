// The encoder's input: a WAV file read through libsndfile (8/16/24/32-bit integer or float PCM,
// the compressed encodings libsndfile decodes, WAVE_FORMAT_EXTENSIBLE and RF64), mono or stereo.
#pragma once

#include "Encoder.h"

#include <memory>
#include <string>

typedef struct sf_private_tag SNDFILE;

namespace gogo {

class WavFile final : public PcmSource {
public:
    // Opens the file; on failure returns null and says why in `error`.
    static std::unique_ptr<WavFile> Open(const std::string& path, std::string& error);
    ~WavFile() override;
    WavFile(const WavFile&) = delete;
    WavFile& operator=(const WavFile&) = delete;

    AudioFormat Format() const override { return format_; }
    std::int64_t ReadInt(std::int32_t* buffer, std::int64_t frames) override;
    std::int64_t ReadFloat(float* buffer, std::int64_t frames) override;
    std::string Error() const override;

private:
    WavFile(SNDFILE* file, int fd, int encoding);
    std::int64_t Checked(std::int64_t read) const;

    SNDFILE* file_;
    int fd_;
    AudioFormat format_;
    int encoding_; // libsndfile's subtype
};

} // namespace gogo
