#include "treatment/export/audio_sink.h"

#include <QCoreApplication>

#include "treatment/export/wav_file.h"

#include <QDir>

#include <sndfile.h>

#include <dlfcn.h>

#include <cerrno>
#include <cstring>
#include <type_traits>

namespace helicordia {

namespace {

QString Reason(int savedErrno, const QString &otherwise = {})
{
    if (savedErrno == ENOSPC || savedErrno == EDQUOT)
        return QCoreApplication::translate("AudioExport", "the disk is full");
    return savedErrno != 0 ? QString::fromLocal8Bit(std::strerror(savedErrno)) : otherwise;
}

QString WriteFailure(const QString &path, int savedErrno, const QString &otherwise)
{
    return QCoreApplication::translate("AudioExport", "Could not write \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path), Reason(savedErrno, otherwise));
}

class WavSink final : public AudioSink {
public:
    WavSink(int fd, WavSamples samples, int rate, std::int64_t frames)
        : writer_(fd, samples, rate, std::uint64_t(frames))
    {
    }
    bool begin() { return check(writer_.begin()); }
    bool writeFloat(const float *frames, int count) override { return check(writer_.write(frames, count)); }
    bool writeShort(const short *frames, int count) override { return check(writer_.write(frames, count)); }
    bool finish() override { return check(writer_.finish()); }
    QString failure(const QString &path) const override
    {
        return WriteFailure(
            path, errno_,
            QCoreApplication::translate("AudioExport", "the file did not get the length its header gives"));
    }

private:
    bool check(bool done)
    {
        errno_ = done ? 0 : errno;
        return done;
    }
    WavWriter writer_;
    int errno_ = 0;
};

// libsndfile, loaded the first time a file is written with it: a program
// that never exports does not load it, nor the codecs it brings.
struct SndFile {
    decltype(&sf_open_fd) openFd = nullptr;
    decltype(&sf_strerror) errorText = nullptr;
    decltype(&sf_command) command = nullptr;
    decltype(&sf_writef_short) writeShort = nullptr;
    decltype(&sf_writef_float) writeFloat = nullptr;
    decltype(&sf_close) close = nullptr;
};

const SndFile *LoadSndFile()
{
    static const SndFile *const loaded = []() -> const SndFile * {
        void *library = ::dlopen("libsndfile.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return nullptr;
        static SndFile f;
        const auto find = [library](auto &fn, const char *name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(::dlsym(library, name));
            return fn != nullptr;
        };
        const bool all = find(f.openFd, "sf_open_fd") && find(f.errorText, "sf_strerror") &&
                         find(f.command, "sf_command") && find(f.writeShort, "sf_writef_short") &&
                         find(f.writeFloat, "sf_writef_float") && find(f.close, "sf_close");
        return all ? &f : nullptr;
    }();
    return loaded;
}

class SndFileSink final : public AudioSink {
public:
    SndFileSink(const SndFile &sf, SNDFILE *file) : sf_(sf), file_(file) {}
    ~SndFileSink() override
    {
        if (file_)
            sf_.close(file_);
    }
    bool writeFloat(const float *frames, int count) override
    {
        errno = 0;
        return check(sf_.writeFloat(file_, frames, count) == count);
    }
    bool writeShort(const short *frames, int count) override
    {
        errno = 0;
        return check(sf_.writeShort(file_, frames, count) == count);
    }
    bool finish() override
    {
        errno = 0;
        const int result = sf_.close(std::exchange(file_, nullptr));
        errno_ = result == 0 ? 0 : errno;
        reason_ = result == 0 ? QString() : QString::fromLocal8Bit(sf_.errorText(nullptr));
        return result == 0;
    }
    QString failure(const QString &path) const override { return WriteFailure(path, errno_, reason_); }

private:
    bool check(bool done)
    {
        errno_ = done ? 0 : errno;
        reason_ = done ? QString() : QString::fromLocal8Bit(sf_.errorText(file_));
        return done;
    }
    const SndFile &sf_;
    SNDFILE *file_;
    int errno_ = 0;
    QString reason_;
};

std::unique_ptr<AudioSink> OpenSndFile(int fd, ExportFormat format, int rate, QString *error)
{
    const SndFile *const sf = LoadSndFile();
    if (!sf) {
        *error =
            QCoreApplication::translate("AudioExport", "the sound-file library (libsndfile.so.1) could not be loaded");
        return nullptr;
    }
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = format == ExportFormat::Flac24 ? SF_FORMAT_FLAC | SF_FORMAT_PCM_24 : SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE *file = sf->openFd(fd, SFM_WRITE, &info, SF_FALSE);
    if (!file) {
        *error = QString::fromLocal8Bit(sf->errorText(nullptr));
        return nullptr;
    }
    if (format == ExportFormat::Flac24) {
        double level = ExportFlacCompressionLevel;
        sf->command(file, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
    }
    return std::make_unique<SndFileSink>(*sf, file);
}

} // namespace

std::unique_ptr<AudioSink> OpenAudioSink(int fd, ExportFormat format, int rate, std::int64_t frames, QString *error)
{
    if (format != ExportFormat::WavFloat && format != ExportFormat::Wav16)
        return OpenSndFile(fd, format, rate, error);
    auto sink = std::make_unique<WavSink>(
        fd, format == ExportFormat::WavFloat ? WavSamples::Float32 : WavSamples::Pcm16, rate, frames);
    if (sink->begin())
        return sink;
    *error = Reason(errno);
    return nullptr;
}

} // namespace helicordia
