// Where an export's samples go: WAV is written directly (wav_file.h); FLAC
// and Ogg Vorbis go through libsndfile, loaded the first time one is written.
#pragma once

#include "treatment/export/audio_export.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace helicordia {

class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Interleaved stereo frames; false on failure (see failure()).
    virtual bool writeFloat(const float *frames, int count) = 0;
    virtual bool writeShort(const short *frames, int count) = 0;
    // Completes the file; false on failure.
    virtual bool finish() = 0;
    // Why the last call failed, as "Could not write "<path>": <reason>."
    virtual QString failure(const QString &path) const = 0;
};

// A sink writing `format` to `fd` for a treatment of `frames` frames at
// `rate`. Nothing when it cannot be made, with the reason in `*error` (a
// clause: "the disk is full").
std::unique_ptr<AudioSink> OpenAudioSink(int fd, ExportFormat format, int rate, std::int64_t frames, QString *error);

} // namespace helicordia
