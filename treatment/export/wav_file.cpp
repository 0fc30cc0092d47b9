#include "treatment/export/wav_file.h"

#include <bit>
#include <cerrno>
#include <unistd.h>

namespace helicordia {

static_assert(std::endian::native == std::endian::little, "WAV samples are written as they lie in memory");

namespace {

constexpr int Channels = 2;
constexpr std::uint32_t Unknown32 = 0xFFFFFFFFu; // RF64: the size is in the ds64 chunk

class Bytes {
public:
    Bytes &tag(const char (&four)[5])
    {
        out_.append(four, 4);
        return *this;
    }
    template <typename T> Bytes &le(T value)
    {
        for (std::size_t i = 0; i < sizeof(T); ++i)
            out_.append(char((std::uint64_t(value) >> (8 * i)) & 0xFF));
        return *this;
    }
    QByteArray take() { return std::move(out_); }

private:
    QByteArray out_;
};

} // namespace

QByteArray WavHeader(WavSamples samples, int rate, std::uint64_t frames, std::uint64_t maxRiffBytes)
{
    const bool isFloat = samples == WavSamples::Float32;
    const std::uint16_t bytesPerSample = isFloat ? 4 : 2;
    const auto blockAlign = std::uint16_t(Channels * bytesPerSample);
    const std::uint64_t dataBytes = frames * blockAlign;
    // Float data: WAVE_FORMAT_IEEE_FLOAT with the format chunk's size field
    // (cbSize, 0) that readers expect of every format other than PCM, and
    // the fact chunk with the frame count.
    const std::uint32_t formatBytes = isFloat ? 18 : 16;
    const std::uint64_t plainRiff = 4 + (8 + formatBytes) + (isFloat ? 8 + 4 : 0) + 8 + dataBytes;
    const bool rf64 = plainRiff > maxRiffBytes;

    Bytes h;
    if (rf64) {
        // The ds64 chunk carries the sizes; the fact chunk is left out, as
        // the frame count is there too.
        const std::uint64_t riff = 4 + (8 + 28) + (8 + formatBytes) + 8 + dataBytes;
        h.tag("RF64").le(Unknown32).tag("WAVE");
        h.tag("ds64").le(std::uint32_t(28)).le(riff).le(dataBytes).le(frames).le(std::uint32_t(0));
    } else {
        h.tag("RIFF").le(std::uint32_t(plainRiff)).tag("WAVE");
    }
    h.tag("fmt ").le(formatBytes).le(std::uint16_t(isFloat ? 3 : 1)).le(std::uint16_t(Channels));
    h.le(std::uint32_t(rate)).le(std::uint32_t(rate) * blockAlign).le(blockAlign).le(std::uint16_t(8 * bytesPerSample));
    if (isFloat)
        h.le(std::uint16_t(0));
    if (isFloat && !rf64)
        h.tag("fact").le(std::uint32_t(4)).le(std::uint32_t(frames));
    h.tag("data").le(rf64 ? Unknown32 : std::uint32_t(dataBytes));
    return h.take();
}

WavWriter::WavWriter(int fd, WavSamples samples, int rate, std::uint64_t frames, std::uint64_t maxRiffBytes)
    : fd_(fd), samples_(samples), rate_(rate), frames_(frames), maxRiffBytes_(maxRiffBytes)
{
}

bool WavWriter::begin()
{
    const QByteArray header = WavHeader(samples_, rate_, frames_, maxRiffBytes_);
    return writeAll(header.constData(), std::size_t(header.size()));
}

bool WavWriter::write(const void *interleaved, int frames)
{
    const std::size_t block = Channels * (samples_ == WavSamples::Float32 ? 4 : 2);
    if (!writeAll(static_cast<const char *>(interleaved), std::size_t(frames) * block))
        return false;
    written_ += std::uint64_t(frames);
    return true;
}

bool WavWriter::finish()
{
    errno = 0;
    return written_ == frames_;
}

bool WavWriter::writeAll(const char *bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd_, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes += n;
        size -= std::size_t(n);
    }
    return true;
}

} // namespace helicordia
