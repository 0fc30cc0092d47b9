// Cost of exporting a one-hour treatment: the offline mix alone, the encoders
// alone (fed a ready-made buffer), the whole export to a file, and beside it
// the floor: the same number of bytes written to the same file system in the
// same way, with nothing computed.
//
// Compare CPU seconds (user_s + sys_s): the wall time of writing a file
// follows the disk and the rest of the machine. Run with
// --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true.
#include "treatment/export/audio_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace helicordia;

constexpr int kHour = 3600;

ExportRequest hourRequest(ExportFormat format)
{
    ExportRequest r;
    r.frequencyCount = ParseFrequencyList(
        QStringLiteral("528,741,852,963,396,417,639,174,285,432,111,222,333,444,555,666,777,888,999,1111"),
        r.frequencies);
    r.lengthSeconds = kHour;
    r.format = format;
    return r;
}

void BM_RenderHourOffline(benchmark::State &state)
{
    std::vector<float> block(2 * 8192);
    for (auto _ : state) {
        TreatmentRenderer renderer(hourRequest(ExportFormat::WavFloat));
        while (renderer.render(block.data(), 8192) > 0)
            benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderHourOffline)->Unit(benchmark::kMillisecond)->Iterations(2);

double cpuSeconds(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
}

// The kernel's share (copying the file into the page cache) shows as sys_s;
// the program's own as user_s.
class CpuCounters {
public:
    CpuCounters() { getrusage(RUSAGE_SELF, &before_); }
    void report(benchmark::State &state, const QString &path)
    {
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const double n = double(state.iterations());
        const double user = (cpuSeconds(after.ru_utime) - cpuSeconds(before_.ru_utime)) / n;
        const double sys = (cpuSeconds(after.ru_stime) - cpuSeconds(before_.ru_stime)) / n;
        state.counters["user_s"] = user;
        state.counters["sys_s"] = sys;
        state.counters["cpu_s"] = user + sys;
        state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
    }

private:
    rusage before_{};
};

// The whole export into a real file.
void BM_ExportHourToFile(benchmark::State &state)
{
    const auto format = ExportFormat(state.range(0));
    const char *names[] = {"hour.wav", "hour16.wav", "hour.flac", "hour.ogg"};
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(names[state.range(0)]));
    CpuCounters cpu;
    for (auto _ : state) {
        if (ExportTreatment(hourRequest(format), path).outcome != ExportOutcome::Written)
            state.SkipWithError("export failed");
    }
    cpu.report(state, path);
    state.SetLabel(names[state.range(0)]);
    QFile::remove(path);
}
BENCHMARK(BM_ExportHourToFile)
    ->Arg(int(ExportFormat::WavFloat))
    ->Arg(int(ExportFormat::Wav16))
    ->Arg(int(ExportFormat::Flac24))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The floor of the float WAV export: as many bytes as its file holds,
// written as the export writes them (a temporary file that replaces the
// target when complete, one write per block of 8192 frames), with nothing
// computed.
void BM_WriteHourFloor(benchmark::State &state)
{
    const std::int64_t frames = TreatmentRenderer(hourRequest(ExportFormat::WavFloat)).totalFrames();
    constexpr std::int64_t kHeaderBytes = 80, kBlockFrames = 8192;
    const std::vector<char> block(kBlockFrames * 2 * sizeof(float), '\x11');
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("floor.wav"));
    CpuCounters cpu;
    for (auto _ : state) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || ::write(file.handle(), block.data(), kHeaderBytes) != kHeaderBytes)
            state.SkipWithError("could not write");
        for (std::int64_t left = frames; left > 0; left -= kBlockFrames) {
            const auto bytes = std::size_t(std::min(left, kBlockFrames)) * 2 * sizeof(float);
            if (::write(file.handle(), block.data(), bytes) != ssize_t(bytes))
                state.SkipWithError("could not write");
        }
        if (!file.commit())
            state.SkipWithError("could not write");
    }
    cpu.report(state, path);
    QFile::remove(path);
}
BENCHMARK(BM_WriteHourFloor)->Unit(benchmark::kMillisecond)->Iterations(1);

// A file that swallows what is written but keeps its length, so that
// libsndfile can seek back to finish its header.
struct NullFile {
    sf_count_t length = 0, position = 0;
};
sf_count_t nullLength(void *user)
{
    return static_cast<NullFile *>(user)->length;
}
sf_count_t nullSeek(sf_count_t offset, int whence, void *user)
{
    auto *f = static_cast<NullFile *>(user);
    f->position = whence == SEEK_SET ? offset : whence == SEEK_CUR ? f->position + offset : f->length + offset;
    return f->position;
}
sf_count_t nullRead(void *, sf_count_t, void *)
{
    return 0;
}
sf_count_t nullWrite(const void *, sf_count_t count, void *user)
{
    auto *f = static_cast<NullFile *>(user);
    f->position += count;
    f->length = std::max(f->length, f->position);
    return count;
}
sf_count_t nullTell(void *user)
{
    return static_cast<NullFile *>(user)->position;
}

// The encoder's own cost: one hour of a ready-made tone through libsndfile,
// set up as the export sets it up, into a file that keeps nothing.
void BM_EncoderOnlyHour(benchmark::State &state)
{
    const bool flac = state.range(0) != 0;
    std::vector<float> block(2 * 8192);
    for (std::size_t i = 0; i < block.size(); i += 2)
        block[i] = block[i + 1] = float(0.07 * std::sin(2 * M_PI * 528.0 * double(i / 2) / 48000.0));
    SF_VIRTUAL_IO io{nullLength, nullSeek, nullRead, nullWrite, nullTell};
    NullFile sink;
    for (auto _ : state) {
        sink = {};
        SF_INFO info{};
        info.samplerate = 48000;
        info.channels = 2;
        info.format = flac ? SF_FORMAT_FLAC | SF_FORMAT_PCM_24 : SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE *f = sf_open_virtual(&io, SFM_WRITE, &info, &sink);
        sf_command(f, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
        if (flac) {
            double level = ExportFlacCompressionLevel;
            sf_command(f, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
        }
        for (std::int64_t left = std::int64_t(kHour) * 48000; left > 0; left -= 8192)
            sf_writef_float(f, block.data(), std::min<std::int64_t>(left, 8192));
        sf_close(f);
    }
    state.counters["MB"] = double(sink.length) / 1e6;
    state.SetLabel(flac ? "flac" : "wav float");
}
BENCHMARK(BM_EncoderOnlyHour)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
