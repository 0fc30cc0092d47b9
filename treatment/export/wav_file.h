// WAV files written directly: a header that every reader takes without a
// warning, then the samples as they are. A file whose sizes do not fit the
// 32-bit fields of a plain WAV header (4 GiB, a little over three hours of
// 48 kHz float stereo) is written as RF64, WAV's 64-bit form, which the same
// readers (libsndfile, sox, ffmpeg) open as WAV.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace helicordia {

enum class WavSamples {
    Float32, // IEEE float, with the extended format chunk and the fact chunk
    Pcm16,
};

// The largest RIFF size (the file's size less 8 bytes) a plain WAV header holds.
constexpr std::uint64_t PlainWavMaxRiffBytes = 0xFFFFFFFFull;

// The header of a stereo file of `frames` frames at `rate`; the samples
// follow it directly. RF64 when the RIFF size would pass `maxRiffBytes`.
QByteArray WavHeader(WavSamples samples, int rate, std::uint64_t frames,
                     std::uint64_t maxRiffBytes = PlainWavMaxRiffBytes);

// Writes one WAV file of a length known in advance to an open descriptor.
class WavWriter {
public:
    WavWriter(int fd, WavSamples samples, int rate, std::uint64_t frames,
              std::uint64_t maxRiffBytes = PlainWavMaxRiffBytes);

    // Each returns false on a write error, with the system's code in errno.
    bool begin(); // the header
    bool write(const void *interleaved, int frames);
    // True when exactly the announced number of frames was written, so that
    // the header describes the file; errno is 0 when it was not.
    bool finish();

private:
    bool writeAll(const char *bytes, std::size_t size);

    int fd_;
    WavSamples samples_;
    int rate_;
    std::uint64_t frames_;
    std::uint64_t maxRiffBytes_;
    std::uint64_t written_ = 0;
};

} // namespace helicordia
