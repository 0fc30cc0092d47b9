// A treatment written to an audio file: the tone engine's offline mix of the
// treatment schedule (the one the player's clock follows), written as WAV
// directly or encoded by libsndfile (FLAC, Ogg Vorbis). The file appears only when it is complete; a cancelled or
// failed export leaves nothing behind.
#pragma once

#include "treatment/frequency_program.h"
#include "treatment/treatment_schedule.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace helicordia {

enum class ExportFormat {
    WavFloat, // WAV, 32-bit float
    Wav16,    // WAV, 16-bit PCM with TPDF dither
    Flac24,   // FLAC, 24-bit
    OggVorbis,
};

// The format a file name asks for: ".wav" (32-bit float unless `wav16`),
// ".flac", ".ogg"; case ignored. Nothing for any other extension.
std::optional<ExportFormat> ExportFormatForPath(const QString &path, bool wav16 = false);

constexpr int DefaultExportRate = 48000;
bool IsExportRate(int rate); // 44100, 48000 or 96000

// The player's initial volume: 103 on its 0..1024 slider.
constexpr float DefaultExportVolume = 103.0f / 1024.0f;

// libsndfile's FLAC compression setting (0 fastest .. 1 smallest).
constexpr double ExportFlacCompressionLevel = 0.5;

// Longest treatment that can be exported or played from the command line.
constexpr int MaxExportSeconds = 100 * 3600;

struct ExportRequest {
    FrequencyTable frequencies{}; // [1..frequencyCount], as the player holds them
    int frequencyCount = 0;
    int lengthSeconds = 0;
    int rate = DefaultExportRate;
    float volume = DefaultExportVolume; // 0..1
    // -1 (left) .. 1 (right). Without one, the channel keeps the pan it
    // starts with, as a treatment started with Play does (centre).
    std::optional<float> pan;
    ExportFormat format = ExportFormat::WavFloat;
};

struct ExportProgress {
    std::int64_t framesDone = 0;
    std::int64_t framesTotal = 0;
    int rate = DefaultExportRate;
    int index = 0;         // 1-based index of the frequency now rendered
    int count = 0;         // frequencies in the program
    float frequencyHz = 0; // the frequency now rendered
    int part = -1;         // in a session: the part of its schedule now rendered
    int elapsedSeconds() const { return int(framesDone / rate); }
};

// Called now and then while rendering; returning false cancels.
using ExportProgressFn = std::function<bool(const ExportProgress &)>;

// Whatever renders the frames of an export: one treatment, or a session.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    // Empty while the source can render, else the reason.
    virtual const QString &error() const = 0;
    virtual std::int64_t totalFrames() const = 0;
    virtual ExportProgress progress() const = 0;
    // Writes up to maxFrames interleaved stereo frames; returns how many (0
    // at the end or after a failure, which error() then describes).
    virtual int render(float *out, int maxFrames) = 0;
};

// How many frames the render of `request` has: its length, the fade-out of
// its last frequency and one frame of silence.
std::int64_t TreatmentFrameCount(const ExportRequest &request);

// Renders a request as interleaved stereo float frames, block by block. The
// tone starts with the engine's ramp at frame 0, changes frequency at each
// switch of the schedule (second × rate) and stops at the end of the
// treatment; the engine's fade-out follows (its length depends on the last
// frequency) and one frame of silence ends the file.
class TreatmentRenderer : public FrameSource {
public:
    explicit TreatmentRenderer(const ExportRequest &request);
    ~TreatmentRenderer() override;
    TreatmentRenderer(const TreatmentRenderer &) = delete;
    TreatmentRenderer &operator=(const TreatmentRenderer &) = delete;

    // Empty when the engine could be set up, else the reason.
    const QString &error() const override { return error_; }
    const TreatmentSchedule &schedule() const { return schedule_; }
    // The value the engine is given for frequency `index`, scaled for the
    // file's rate.
    float engineFrequency(int index) const;
    std::int64_t totalFrames() const override { return totalFrames_; }
    std::int64_t framesDone() const { return position_; }
    ExportProgress progress() const override;
    int render(float *out, int maxFrames) override;

private:
    bool check(int result);
    void applyEvents();

    ExportRequest request_;
    TreatmentSchedule schedule_;
    std::vector<TreatmentSchedule::Switch> switches_;
    QString error_;
    std::uint32_t system_ = 0, oscillator_ = 0, channel_ = 0;
    std::int64_t position_ = 0;
    std::int64_t stopFrame_ = 0;
    std::int64_t totalFrames_ = 0;
    std::size_t nextStep_ = 0;
    int currentStep_ = -1;
    bool stopped_ = false;
};

enum class ExportOutcome { Written, Cancelled, Failed };

struct ExportResult {
    ExportOutcome outcome = ExportOutcome::Failed;
    QString message; // for Failed: one sentence naming the file
};

// One line of progress: name, frequency, index of count, elapsed and left.
QString ProgressLine(const QString &name, float hertz, int index, int count, int elapsed, int length);

// The longest file name and path an export accepts, in bytes: what Linux file
// systems take.
constexpr int MaxExportNameBytes = 255;
constexpr int MaxExportPathBytes = 4096;

// Why `path` cannot take an export (its name or the whole path is too long),
// found before anything is rendered; empty when it can.
QString ExportPathProblem(const QString &path);

// Renders the request into `path` through a temporary file in the same folder
// that replaces `path` only when everything has been written. A link to a
// file is written through; a `path` that exists and is not a regular file (a
// device, a FIFO, a folder) is refused. WAV longer than a plain WAV header can
// describe is written as RF64.
ExportResult ExportTreatment(const ExportRequest &request, const QString &path, const ExportProgressFn &progress = {});

// The same for any source of frames, written in `format` at `rate`.
ExportResult ExportFrames(FrameSource &source, ExportFormat format, int rate, const QString &path,
                          const ExportProgressFn &progress = {});

} // namespace helicordia
