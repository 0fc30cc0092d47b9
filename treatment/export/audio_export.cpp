#include "treatment/export/audio_export.h"

#include <QCoreApplication>

#include "engine/tone.h"
#include "treatment/engine_error.h"
#include "treatment/export/audio_sink.h"
#include "treatment/export/dither16.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

namespace helicordia {

std::optional<ExportFormat> ExportFormatForPath(const QString &path, bool wav16)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("wav"))
        return wav16 ? ExportFormat::Wav16 : ExportFormat::WavFloat;
    if (suffix == QLatin1String("flac"))
        return ExportFormat::Flac24;
    if (suffix == QLatin1String("ogg"))
        return ExportFormat::OggVorbis;
    return std::nullopt;
}

bool IsExportRate(int rate)
{
    return rate == 44100 || rate == 48000 || rate == 96000;
}

// ---- rendering ------------------------------------------------------------------

// The engine mixes at its own rate. For another file rate every frequency is
// scaled by engineRate / fileRate: the engine's samples, read at the file's
// rate, then carry exactly the asked frequency, and ramps keep their length in
// samples.
TreatmentRenderer::TreatmentRenderer(const ExportRequest &request)
    : request_(request),
      schedule_(std::clamp(request.frequencyCount, 0, MaxFrequencies), request.lengthSeconds),
      switches_(schedule_.switches())
{
    stopFrame_ = std::int64_t(schedule_.endSecond()) * request_.rate;
    if (switches_.empty()) {
        error_ = QCoreApplication::translate("AudioExport", "The treatment has nothing to play.");
        return;
    }
    totalFrames_ = TreatmentFrameCount(request_);
    if (!check(Tone_System_Create(&system_)) || !check(Tone_System_Init(system_, 1, TONE_INIT_NO_OUTPUT, nullptr)) ||
        !check(Tone_System_CreateDSPByType(system_, TONE_DSP_TYPE_OSCILLATOR, &oscillator_)) ||
        !check(Tone_DSP_SetParameter(oscillator_, TONE_OSCILLATOR_PARAM_RATE, 440.0f)) ||
        !check(Tone_System_PlayDSP(system_, TONE_CHANNEL_REUSE, oscillator_, 1, &channel_)) ||
        !check(Tone_Channel_SetVolume(channel_, request_.volume)) ||
        (request_.pan && !check(Tone_Channel_SetPan(channel_, *request_.pan))))
        return;
    applyEvents();
    check(Tone_Channel_SetPaused(channel_, 0));
}

namespace {

float EngineFrequency(const ExportRequest &request, int index)
{
    const float value = request.frequencies[std::size_t(index)] * ChannelFrequencyUnit;
    if (request.rate == TONE_SAMPLE_RATE)
        return value;
    return float(double(value) * TONE_SAMPLE_RATE / request.rate);
}

} // namespace

float TreatmentRenderer::engineFrequency(int index) const
{
    return EngineFrequency(request_, index);
}

std::int64_t TreatmentFrameCount(const ExportRequest &request)
{
    const TreatmentSchedule schedule(std::clamp(request.frequencyCount, 0, MaxFrequencies), request.lengthSeconds);
    const int last = schedule.soundingCount();
    if (last <= 0)
        return 0;
    // The last frequency fades out over its own ramp, then one frame of
    // silence ends the file.
    return std::int64_t(schedule.endSecond()) * request.rate + Tone_RampFrames(EngineFrequency(request, last)) + 1;
}

TreatmentRenderer::~TreatmentRenderer()
{
    if (oscillator_)
        Tone_DSP_Release(oscillator_);
    if (system_) {
        Tone_System_Close(system_);
        Tone_System_Release(system_);
    }
}

bool TreatmentRenderer::check(int result)
{
    if (result == TONE_OK)
        return true;
    if (error_.isEmpty())
        error_ = EngineErrorText(result, Tone_ErrorString(result));
    return false;
}

// Carries out whatever falls on the current frame: a frequency change or the
// end of the treatment.
void TreatmentRenderer::applyEvents()
{
    while (nextStep_ < switches_.size() && std::int64_t(switches_[nextStep_].second) * request_.rate == position_) {
        check(Tone_Channel_SetFrequency(channel_, engineFrequency(switches_[nextStep_].index)));
        currentStep_ = int(nextStep_);
        ++nextStep_;
    }
    if (!stopped_ && position_ == stopFrame_) {
        check(Tone_Channel_Stop(channel_));
        stopped_ = true;
    }
}

int TreatmentRenderer::render(float *out, int maxFrames)
{
    if (!error_.isEmpty() || position_ >= totalFrames_ || maxFrames <= 0)
        return 0;
    std::int64_t next = totalFrames_;
    if (nextStep_ < switches_.size())
        next = std::int64_t(switches_[nextStep_].second) * request_.rate;
    if (!stopped_)
        next = std::min(next, stopFrame_);
    const int frames = int(std::min<std::int64_t>(maxFrames, next - position_));
    if (!check(Tone_System_Render(system_, out, frames)))
        return 0;
    position_ += frames;
    applyEvents();
    return frames;
}

ExportProgress TreatmentRenderer::progress() const
{
    ExportProgress p;
    p.framesDone = position_;
    p.framesTotal = totalFrames_;
    p.rate = request_.rate;
    p.count = request_.frequencyCount;
    if (currentStep_ >= 0) {
        p.index = switches_[std::size_t(currentStep_)].index;
        p.frequencyHz = request_.frequencies[std::size_t(p.index)];
    }
    return p;
}

QString ProgressLine(const QString &name, float hertz, int index, int count, int elapsed, int length)
{
    return QCoreApplication::translate("AudioExport", "%1 | %2 Hz | %3 of %4 | %5 elapsed | %6 left")
        .arg(name, QString::number(double(hertz), 'g', 7))
        .arg(index)
        .arg(count)
        .arg(AfiseazaTimp(elapsed), AfiseazaTimp(std::max(0, length - elapsed)));
}

// ---- writing ----------------------------------------------------------------------

namespace {

constexpr int kChunkFrames = 8192;

// Renders the whole source into `sink`; the reason when that failed.
QString RenderInto(FrameSource &renderer, AudioSink &sink, ExportFormat format, const ExportProgressFn &progress,
                   const QString &path, bool &cancelled)
{
    std::vector<float> block(2 * std::size_t(kChunkFrames));
    std::vector<short> pcm16;
    Dither16 dither;
    while (true) {
        const int frames = renderer.render(block.data(), kChunkFrames);
        if (frames == 0) {
            if (!renderer.error().isEmpty())
                return QCoreApplication::translate("AudioExport", "Could not export to \"%1\": %2")
                    .arg(QDir::toNativeSeparators(path), renderer.error());
            return {};
        }
        bool written = false;
        if (format == ExportFormat::Wav16) {
            pcm16.resize(2 * std::size_t(frames));
            dither.convert(block.data(), pcm16.data(), pcm16.size());
            written = sink.writeShort(pcm16.data(), frames);
        } else {
            written = sink.writeFloat(block.data(), frames);
        }
        if (!written)
            return sink.failure(path);
        if (progress && !progress(renderer.progress())) {
            cancelled = true;
            return {};
        }
    }
}

} // namespace

QString ExportPathProblem(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (QFile::encodeName(name).size() > MaxExportNameBytes)
        return QCoreApplication::translate("AudioExport",
                                           "The file name \"%1\" is too long: at most %2 bytes are allowed.")
            .arg(name)
            .arg(MaxExportNameBytes);
    if (QFile::encodeName(path).size() >= MaxExportPathBytes)
        return QCoreApplication::translate("AudioExport", "The path \"%1\" is too long.")
            .arg(QDir::toNativeSeparators(path));
    return {};
}

ExportResult ExportTreatment(const ExportRequest &request, const QString &path, const ExportProgressFn &progress)
{
    if (const QString problem = ExportPathProblem(path); !problem.isEmpty())
        return {ExportOutcome::Failed, problem};
    TreatmentRenderer renderer(request);
    return ExportFrames(renderer, request.format, request.rate, path, progress);
}

ExportResult ExportFrames(FrameSource &renderer, ExportFormat format, int rate, const QString &path,
                          const ExportProgressFn &progress)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    auto failed = [](const QString &message) { return ExportResult{ExportOutcome::Failed, message}; };
    if (const QString problem = ExportPathProblem(path); !problem.isEmpty())
        return failed(problem);
    // A link is written through; a device, a FIFO or a folder is never replaced.
    if (const QFileInfo existing(path); existing.exists() && !existing.isFile())
        return failed(
            QCoreApplication::translate("AudioExport", "Could not export to \"%1\": it is not a regular file.")
                .arg(shownPath));
    if (!renderer.error().isEmpty())
        return failed(QCoreApplication::translate("AudioExport", "Could not export to \"%1\": %2")
                          .arg(shownPath, renderer.error()));

    // Every way out below cancels the temporary file or commits it, so that a
    // file system without unnamed temporary files keeps no part of a file.
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly))
        return failed(QCoreApplication::translate("AudioExport", "Could not create \"%1\": %2.")
                          .arg(shownPath, target.errorString()));
    QString error;
    std::unique_ptr<AudioSink> sink = OpenAudioSink(target.handle(), format, rate, renderer.totalFrames(), &error);
    if (!sink) {
        target.cancelWriting();
        return failed(QCoreApplication::translate("AudioExport", "Could not create \"%1\": %2.").arg(shownPath, error));
    }

    bool cancelled = false;
    error = RenderInto(renderer, *sink, format, progress, path, cancelled);
    if (error.isEmpty() && !cancelled && !sink->finish())
        error = sink->failure(path);
    sink.reset();
    if (cancelled || !error.isEmpty()) {
        target.cancelWriting();
        return cancelled ? ExportResult{ExportOutcome::Cancelled, {}} : failed(error);
    }
    if (!target.commit()) {
        const QString reason = target.error() == QFileDevice::WriteError && errno == ENOSPC
                                   ? QCoreApplication::translate("AudioExport", "the disk is full")
                                   : target.errorString();
        return failed(QCoreApplication::translate("AudioExport", "Could not write \"%1\": %2.").arg(shownPath, reason));
    }
    return {ExportOutcome::Written, {}};
}

} // namespace helicordia
