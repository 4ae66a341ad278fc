// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's input: a WAV file read through libsndfile (8/16/24/32-bit integer or float PCM,
// the compressed encodings libsndfile decodes, WAVE_FORMAT_EXTENSIBLE and RF64), mono or stereo.
// A data chunk whose size says 0 while audio follows it (as a recorder that crashed or streamed
// leaves it) is read to the end of the file.
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

    // The file as libsndfile reads it, with a data chunk's size mended where it says 0 while
    // audio follows; defined in WavFile.cpp.
    class Source;

private:
    WavFile(SNDFILE* file, int fd, int encoding, std::unique_ptr<Source> source);
    std::int64_t Checked(std::int64_t read) const;

    std::unique_ptr<Source> source_; // outlives file_, which reads through it
    SNDFILE* file_;
    int fd_;
    AudioFormat format_;
    int encoding_; // libsndfile's subtype
};

} // namespace gogo
