#include "treatment/export/treatment_schedule.h"

#include "platform/platform.h"
#include "treatment/player_core.h"

#include <QSettings>
#include <QUrl>

namespace helicordia {

namespace {

// Answers every engine call with success and remembers the last frequency the
// player gave its channel.
class ClockOnlyEngine final : public ToneEngine {
public:
    float lastFrequency = 0.f;
    bool frequencyChanged = false;

    ToneResult Tone_System_Create(ToneHandle *system) override { return give(system, 1); }
    ToneResult Tone_System_GetVersion(ToneHandle, std::uint32_t *version) override
    {
        *version = RequiredEngineVersion;
        return TONE_OK;
    }
    ToneResult Tone_System_Init(ToneHandle, int, std::uint32_t, void *) override { return TONE_OK; }
    ToneResult Tone_System_CreateDSPByType(ToneHandle, int, ToneHandle *dsp) override { return give(dsp, 2); }
    ToneResult Tone_DSP_SetParameter(ToneHandle, int, float) override { return TONE_OK; }
    ToneResult Tone_System_PlayDSP(ToneHandle, int, ToneHandle, int, ToneHandle *channel) override
    {
        return give(channel, 3);
    }
    ToneResult Tone_Channel_SetFrequency(ToneHandle, float frequency) override
    {
        lastFrequency = frequency;
        frequencyChanged = true;
        return TONE_OK;
    }
    ToneResult Tone_Channel_SetVolume(ToneHandle, float) override { return TONE_OK; }
    ToneResult Tone_Channel_SetPan(ToneHandle, float) override { return TONE_OK; }
    ToneResult Tone_Channel_SetPaused(ToneHandle, int) override { return TONE_OK; }
    ToneResult Tone_Channel_Stop(ToneHandle) override { return TONE_OK; }
    ToneResult Tone_Channel_GetPan(ToneHandle, float *pan) override { return give(pan, 0.f); }
    ToneResult Tone_Channel_GetFrequency(ToneHandle, float *frequency) override
    {
        return give(frequency, lastFrequency);
    }
    ToneResult Tone_Channel_GetVolume(ToneHandle, float *volume) override { return give(volume, 0.f); }
    ToneResult Tone_Channel_IsPlaying(ToneHandle, int *playing) override { return give(playing, 1); }
    ToneResult Tone_System_Update(ToneHandle) override { return TONE_OK; }
    ToneResult Tone_DSP_Release(ToneHandle) override { return TONE_OK; }
    ToneResult Tone_System_Close(ToneHandle) override { return TONE_OK; }
    ToneResult Tone_System_Release(ToneHandle) override { return TONE_OK; }
    const char *Tone_ErrorString(ToneResult) override { return ""; }

private:
    template <typename T, typename V> static ToneResult give(T *out, V value)
    {
        if (out)
            *out = T(value);
        return TONE_OK;
    }
};

// A window that is never shown: the length slider holds the chosen length.
class SilentView final : public PlayerView {
public:
    explicit SilentView(int length) : length_(length) {}
    void setText(PlayerLabel, const QString &) override {}
    void setButtonLook(TransportButton, bool) override {}
    void setSlider1Enabled(bool) override {}
    void setTimer1(bool) override {}
    void setupSlider1(const SliderSetup &) override {}
    int slider1Value() const override { return length_; }
    int volumeSliderValue() const override { return 0; }
    int panSliderValue() const override { return 0; }

private:
    int length_;
};

// Nothing reaches the world: the engine above never fails.
class NoPlatform final : public Platform {
public:
    void message(const QString &, const QString &) override {}
    void endProgram(int) override {}
    QString programFolder() const override { return QString(); }
    std::unique_ptr<QSettings> openSettings() override { return nullptr; }
    bool openUrl(const QUrl &) override { return false; }
};

} // namespace

TreatmentSchedule ScheduleTreatment(const FrequencyTable &frequencies, int frequencyCount, int treatmentLength)
{
    ClockOnlyEngine engine;
    SilentView view(treatmentLength);
    NoPlatform platform;
    PlayerCore core(engine, view, platform);
    core.LoadProgram(frequencies, frequencyCount);
    core.Slider1_Change();

    TreatmentSchedule schedule;
    core.btnPlay_Click();
    if (core.state() != PlayerState::Playing)
        return schedule;
    schedule.steps.push_back({0, core.currentFrequency(), engine.lastFrequency});
    int second = 0;
    while (core.state() == PlayerState::Playing) {
        engine.frequencyChanged = false;
        core.Timer1_Timer();
        ++second;
        if (engine.frequencyChanged && core.state() == PlayerState::Playing)
            schedule.steps.push_back({second, core.currentFrequency(), engine.lastFrequency});
    }
    schedule.endSecond = second;
    return schedule;
}

} // namespace helicordia
