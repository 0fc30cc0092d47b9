// Treatments rendered to files, read back and measured.
#include "treatment/export/audio_export.h"
#include "treatment/export/wav_file.h"

#include "engine/tone.h"
#include "tests/audio_support/audio_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <sys/stat.h>

using namespace helicordia;

namespace {

ExportRequest request(const QString &list, int length, int rate = DefaultExportRate)
{
    ExportRequest r;
    r.frequencyCount = ParseFrequencyList(list, r.frequencies);
    r.lengthSeconds = length;
    r.rate = rate;
    return r;
}

struct Audio {
    SF_INFO info{};
    std::vector<float> samples;
    std::vector<float> channel(int c) const
    {
        std::vector<float> out;
        for (std::size_t i = std::size_t(c); i < samples.size(); i += 2)
            out.push_back(samples[i]);
        return out;
    }
};

Audio readBack(const QString &path)
{
    Audio a;
    SNDFILE *f = sf_open(path.toLocal8Bit().constData(), SFM_READ, &a.info);
    EXPECT_NE(f, nullptr) << sf_strerror(nullptr);
    if (!f)
        return a;
    a.samples.resize(std::size_t(a.info.frames) * 2);
    sf_readf_float(f, a.samples.data(), a.info.frames);
    sf_close(f);
    return a;
}

// First frame after `from` where the signal stops following the sine
// recurrence of frequency hz; the change happened on the frame before it.
std::size_t changeFrame(const std::vector<float> &x, std::size_t from, double hz, double rate)
{
    const double c = 2.0 * std::cos(2.0 * M_PI * hz / rate);
    for (std::size_t i = from; i < x.size(); ++i)
        if (std::fabs(x[i] - c * x[i - 1] + x[i - 2]) > 2e-5)
            return i - 1;
    return x.size();
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ExportTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file(const QString &name) const { return dir.filePath(name); }
};

} // namespace

// Three frequencies over 30 s: each sounds for 10 s, switching on the exact
// frame the player's clock switches, at the level and pan asked, without a
// click, at every rate.
TEST_F(ExportTest, ThreeFrequencyTreatmentReadsBackAsPlayed)
{
    for (int rate : {48000, 44100, 96000}) {
        SCOPED_TRACE(rate);
        ExportRequest r = request(QStringLiteral("528,741.5,1000.25"), 30, rate);
        r.volume = 0.5f;
        r.pan = 0.5f;
        const QString path = file(QStringLiteral("three.wav"));
        ASSERT_EQ(ExportTreatment(r, path).outcome, ExportOutcome::Written);
        const Audio a = readBack(path);
        EXPECT_EQ(a.info.samplerate, rate);
        EXPECT_EQ(a.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
        ASSERT_GE(a.info.frames, 30LL * rate);

        const std::vector<float> left = a.channel(0), right = a.channel(1);
        const double hz[] = {528.0, 741.5, 1000.25};
        const double tolerance = rate == 48000 ? 1e-4 : 2e-4; // scaled frequencies are 32-bit floats
        for (int k = 0; k < 3; ++k) {
            const std::size_t begin = std::size_t(k * 10 + 1) * std::size_t(rate);
            const std::size_t n = std::size_t(8 * rate);
            EXPECT_NEAR(audiotest::measureFrequency(left.data() + begin, n, rate), hz[k], tolerance) << k;
            if (k > 0) {
                const std::size_t expected = std::size_t(k * 10 * rate);
                const std::size_t found = changeFrame(left, expected - std::size_t(rate), hz[k - 1], rate);
                EXPECT_LE(std::llabs((long long)found - (long long)expected), 1) << k;
            }
        }
        const double angle = (0.5 + 1.0) * M_PI / 4.0;
        EXPECT_NEAR(audiotest::peak(left.data() + rate, std::size_t(rate)), 0.5 * std::cos(angle), 1e-4);
        EXPECT_NEAR(audiotest::peak(right.data() + rate, std::size_t(rate)), 0.5 * std::sin(angle), 1e-4);
        // No click: no step larger than the highest tone's own steepest step,
        // and silence at both ends.
        const double steepest = 0.5 * std::sin(angle) * 2.0 * M_PI * 1000.25 / rate;
        EXPECT_LE(audiotest::largestStep(right.data(), right.size()), steepest * 1.001);
        EXPECT_EQ(right.front(), 0.0f);
        EXPECT_LT(std::fabs(right.back()), 1e-4);
    }
}

// Every format opens as what it claims, and a request always gives the same
// bytes (the 16-bit dither included).
TEST_F(ExportTest, FormatsAreRepeatable)
{
    const ExportRequest base = request(QStringLiteral("10,20.5,7.83"), 3); // a low tone's long fade last
    const struct {
        const char *name;
        int sfFormat;
    } cases[] = {{"a.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
                 {"a.WAV", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                 {"a.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
                 {"a.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ExportRequest r = base;
        r.format =
            *ExportFormatForPath(QString::fromLatin1(c.name), (c.sfFormat & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16);
        const QString one = file(QStringLiteral("1-") + c.name), two = file(QStringLiteral("2-") + c.name);
        ASSERT_EQ(ExportTreatment(r, one).outcome, ExportOutcome::Written);
        ASSERT_EQ(ExportTreatment(r, two).outcome, ExportOutcome::Written);
        const Audio a = readBack(one);
        EXPECT_EQ(a.info.format, c.sfFormat);
        EXPECT_NEAR(double(a.info.frames), 3.0 * 48000 + TONE_RAMP_MAX_FRAMES / 2, 2048); // Vorbis pads
        if ((c.sfFormat & SF_FORMAT_TYPEMASK) != SF_FORMAT_OGG) {
            EXPECT_EQ(bytesOf(one), bytesOf(two));
        }
    }
    EXPECT_FALSE(ExportFormatForPath(QStringLiteral("a.mp3")).has_value());
}

// Cancelling or failing leaves no file behind (not even a temporary one) and
// does not touch a file that was already there.
TEST_F(ExportTest, CancelAndFailureLeaveNothing)
{
    const ExportRequest r = request(QStringLiteral("528"), 60);
    const QString path = file(QStringLiteral("keep.flac"));
    int calls = 0;
    const ExportResult cancelled = ExportTreatment(r, path, [&](const ExportProgress &p) {
        EXPECT_EQ(p.index, 1);
        return ++calls < 3;
    });
    EXPECT_EQ(cancelled.outcome, ExportOutcome::Cancelled);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ExportTreatment(r, path, [](const ExportProgress &) { return false; });
    EXPECT_EQ(bytesOf(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    const QString unwritable = path + QStringLiteral("/inside.wav"); // a file is no folder
    const ExportResult failed = ExportTreatment(r, unwritable);
    EXPECT_EQ(failed.outcome, ExportOutcome::Failed);
    EXPECT_TRUE(failed.message.contains(QDir::toNativeSeparators(unwritable))) << failed.message.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// Whatever the frequency, the file ends in silence: the tone fades out over
// its own length (up to a quarter period for a low tone) and lands on zero
// no steeper than the tone itself moves, so the end does not click.
TEST_F(ExportTest, EndsInSilence)
{
    const struct {
        const char *list;
        int rate;
    } cases[] = {{"7.83", 48000}, {"7.83", 44100}, {"1,20", 48000}, {"33.3", 96000}, {"528", 48000}, {"15000", 44100}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.list + std::string(" at ") + std::to_string(c.rate));
        const ExportRequest r = request(QString::fromLatin1(c.list), 2, c.rate);
        const QString path = file(QStringLiteral("end.wav"));
        ASSERT_EQ(ExportTreatment(r, path).outcome, ExportOutcome::Written);
        const Audio a = readBack(path);
        ASSERT_GT(a.info.frames, 2LL * c.rate);
        const double hz = double(r.frequencies[std::size_t(r.frequencyCount)]);
        const double steepest = double(r.volume) * 2.0 * M_PI * hz / c.rate;
        for (int ch = 0; ch < 2; ++ch) {
            const std::vector<float> x = a.channel(ch);
            EXPECT_EQ(x.back(), 0.0f) << ch;
            EXPECT_LE(std::fabs(x[x.size() - 2]), steepest) << ch;
            EXPECT_GT(audiotest::peak(x.data() + 2 * c.rate - c.rate / 4, std::size_t(c.rate / 4)), 0.05) << ch;
        }
    }
}

// The header fits the file: a plain WAV while its sizes fit in 32 bits, RF64
// (sizes in the ds64 chunk) from the first frame that would not; float data
// carries the format chunk's size field and a fact chunk.
TEST(WavHeaderTest, PlainUpTo4GiBThenRf64)
{
    const auto le32 = [](const QByteArray &h, qsizetype at) {
        return quint32(qFromLittleEndian<quint32>(h.constData() + at));
    };
    const auto le64 = [](const QByteArray &h, qsizetype at) {
        return quint64(qFromLittleEndian<quint64>(h.constData() + at));
    };
    const struct {
        WavSamples samples;
        std::uint64_t frames;
        bool rf64;
        int size;
    } cases[] = {
        {WavSamples::Float32, 536870905, false, 58}, // RIFF size 0xFFFFFFFA
        {WavSamples::Float32, 536870906, true, 82},  {WavSamples::Float32, 11220ull * 48000, true, 82}, // 3 h 07 min
        {WavSamples::Pcm16, 1073741814, false, 44},  {WavSamples::Pcm16, 1073741815, true, 80},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.frames);
        const QByteArray h = WavHeader(c.samples, 48000, c.frames);
        const bool isFloat = c.samples == WavSamples::Float32;
        const std::uint64_t data = c.frames * (isFloat ? 8 : 4);
        ASSERT_EQ(h.size(), c.size);
        EXPECT_EQ(h.left(4), c.rf64 ? "RF64" : "RIFF");
        const int fmt = c.rf64 ? 48 : 12;
        EXPECT_EQ(h.mid(fmt, 4), "fmt ");
        EXPECT_EQ(le32(h, fmt + 4), isFloat ? 18u : 16u);
        EXPECT_EQ(le32(h, fmt + 8) & 0xFFFF, isFloat ? 3u : 1u);
        EXPECT_EQ(h.mid(h.size() - 8, 4), "data");
        if (c.rf64) {
            EXPECT_EQ(le64(h, 20), data + std::uint64_t(h.size()) - 8); // RIFF size
            EXPECT_EQ(le64(h, 28), data);
            EXPECT_EQ(le64(h, 36), c.frames);
            EXPECT_EQ(le32(h, h.size() - 4), 0xFFFFFFFFu);
        } else {
            EXPECT_EQ(le32(h, 4), data + std::uint64_t(h.size()) - 8);
            EXPECT_EQ(le32(h, h.size() - 4), data);
            EXPECT_EQ(h.contains("fact"), isFloat);
        }
    }
}

// Written for real with a small limit, RF64 reads back as WAV with every
// frame; a writer that got fewer frames than announced does not finish.
TEST_F(ExportTest, Rf64ReadsBackAndShortFileFails)
{
    const QString path = file(QStringLiteral("big.wav"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    WavWriter writer(out.handle(), WavSamples::Float32, 44100, 1000, 4000);
    const std::vector<float> samples(2000, 0.25f);
    ASSERT_TRUE(writer.begin() && writer.write(samples.data(), 600) && writer.write(samples.data(), 400));
    EXPECT_TRUE(writer.finish());
    out.close();
    const Audio a = readBack(path);
    EXPECT_EQ(a.info.format, SF_FORMAT_RF64 | SF_FORMAT_FLOAT);
    EXPECT_EQ(a.info.frames, 1000);
    EXPECT_EQ(a.samples.back(), 0.25f);
    EXPECT_FALSE(WavWriter(-1, WavSamples::Pcm16, 44100, 1000).finish());
}

// An export never replaces what is not a regular file, even through a link,
// and a name too long for the file system is refused before any rendering.
TEST_F(ExportTest, RefusesDevicesAndLongNames)
{
    const QString fifo = file(QStringLiteral("fifo.wav")), regular = file(QStringLiteral("old.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile(regular).open(QIODevice::WriteOnly);
    QFile::link(fifo, file(QStringLiteral("to-fifo.wav")));
    QFile::link(regular, file(QStringLiteral("to-file.wav")));
    const struct {
        QString path;
        bool written;
    } cases[] = {{fifo, false},
                 {file(QStringLiteral("to-fifo.wav")), false},
                 {file(QStringLiteral("to-file.wav")), true},
                 {file(QString(296, QLatin1Char('n')) + QStringLiteral(".wav")), false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        int progressCalls = 0;
        const ExportResult result = ExportTreatment(request(QStringLiteral("528"), 1), c.path,
                                                    [&](const ExportProgress &) { return ++progressCalls > 0; });
        EXPECT_EQ(result.outcome == ExportOutcome::Written, c.written) << result.message.toStdString();
        EXPECT_EQ(progressCalls > 0, c.written);
    }
    struct stat st {};
    EXPECT_TRUE(::lstat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    for (const char *link : {"to-fifo.wav", "to-file.wav"})
        EXPECT_TRUE(QFileInfo(file(QString::fromLatin1(link))).isSymLink()) << link;
    EXPECT_GT(QFileInfo(regular).size(), 1000);
}
