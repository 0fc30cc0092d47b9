// Treatments rendered to files, read back and measured.
#include "treatment/export/audio_export.h"

#include "engine/tone.h"
#include "tests/audio_support/audio_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

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
        ASSERT_EQ(a.info.frames, 30LL * rate + TONE_RAMP_FRAMES);

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
    const ExportRequest base = request(QStringLiteral("10,20.5,30"), 3);
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
        EXPECT_NEAR(double(a.info.frames), 3.0 * 48000 + TONE_RAMP_FRAMES, 2048); // Vorbis pads
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

// The schedule is the live clock's: T = 100 over three frequencies switches at
// 33 and 66 and stops at 100; T = 185 over two switches at 92.
TEST(TreatmentScheduleTest, FollowsThePlayersClock)
{
    const struct {
        QString list;
        int length;
        std::vector<int> starts;
    } cases[] = {{QStringLiteral("1,2,3"), 100, {0, 33, 66}}, {QStringLiteral("1,2"), 185, {0, 92}}};
    for (const auto &c : cases) {
        const ExportRequest r = request(c.list, c.length);
        const TreatmentSchedule s = ScheduleTreatment(r.frequencies, r.frequencyCount, r.lengthSeconds);
        std::vector<int> starts;
        for (std::size_t i = 0; i < s.steps.size(); ++i) {
            starts.push_back(s.steps[i].startSecond);
            EXPECT_EQ(s.steps[i].index, int(i) + 1);
            EXPECT_EQ(s.steps[i].channelFrequency, r.frequencies[i + 1] * 100.0f);
        }
        EXPECT_EQ(starts, c.starts);
        EXPECT_EQ(s.endSecond, c.length);
    }
}
