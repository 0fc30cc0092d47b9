#include "treatment/player_core.h"

#include "platform/platform.h"
#include "treatment/treatment_schedule.h"

#include <algorithm>
#include <cmath>

namespace helicordia {

QString EngineVersionWarning(std::uint32_t version)
{
    return QStringLiteral("Error!  You are using an old version of the tone engine ") +
           QString::number(version, 16).toUpper() + QStringLiteral(". ") + QStringLiteral("This program requires ") +
           QString::number(RequiredEngineVersion, 16).toUpper();
}

namespace {

int percentFloor(float value)
{
    const float product = value * 100.0f; // a single-precision product, as stored
    return int(std::floor(product));
}

} // namespace

QString StatusLineText(int isPlaying, float channelFrequency, float volume, float pan, const QLocale &locale)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    const float hertz = channelFrequency / ChannelFrequencyUnit;
    QString text = QStringLiteral("  Channel ");
    text += isPlaying != 0 ? QStringLiteral("playing") : QStringLiteral("stopped");
    text += QStringLiteral(" : Frequency ");
    text += numbers.toString(double(hertz), 'g', 7);
    text += QStringLiteral("Hz Volume ");
    text += QString::number(percentFloor(volume));
    text += QStringLiteral("% Pan ");
    if (pan > 0)
        text += QLatin1Char('+');
    text += QString::number(percentFloor(pan));
    text += QLatin1Char('%');
    return text;
}

QString VolumeLabelText(float volume)
{
    return QString::number(percentFloor(volume)) + QStringLiteral(" %");
}

PlayerCore::PlayerCore(ToneEngine &engine, PlayerView &view, Platform &platform, const QLocale &locale)
    : engine_(engine), view_(view), platform_(platform), locale_(locale)
{
}

bool PlayerCore::CheckResult(ToneResult result)
{
    if (result == TONE_OK)
        return true;
    if (programEnded_)
        return false;
    programEnded_ = true;
    platform_.message(ApplicationTitle, EngineErrorText(result, engine_.Tone_ErrorString(result)));
    // Keep what the user has before the program goes: the main window saves its
    // settings and the recent list. No window's unload runs and the engine is
    // not released.
    if (saveBeforeAbruptEnd_)
        saveBeforeAbruptEnd_();
    view_.setClockTimer(false);
    platform_.endProgram(1);
    return false;
}

bool PlayerCore::Form_Load()
{
    if (programEnded_)
        return false;
    channelFromThisEngine_ = false;
    if (!CheckResult(engine_.Tone_System_Create(&SoundSystem)))
        return false;
    std::uint32_t version = 0;
    if (!CheckResult(engine_.Tone_System_GetVersion(SoundSystem, &version)))
        return false;
    if (version != RequiredEngineVersion)
        platform_.message(ApplicationTitle, EngineVersionWarning(version));
    if (!CheckResult(engine_.Tone_System_Init(SoundSystem, TONE_MAX_CHANNELS, TONE_INIT_NORMAL, nullptr)))
        return false;
    if (!CheckResult(engine_.Tone_System_CreateDSPByType(SoundSystem, TONE_DSP_TYPE_OSCILLATOR, &Oscillator)))
        return false;
    if (!CheckResult(engine_.Tone_DSP_SetParameter(Oscillator, TONE_OSCILLATOR_PARAM_RATE, 440.0f)))
        return false;
    PlayerState_ = PlayerState::Stopped;
    view_.setClockTimer(false);
    return true;
}

void PlayerCore::StopChannel()
{
    if (PlayerState_ == PlayerState::Stopped)
        return;
    if (ToneChannel != 0) {
        engine_.Tone_Channel_Stop(ToneChannel); // result not needed
        PlayerState_ = PlayerState::Stopped;
    }
}

void PlayerCore::Form_Unload()
{
    if (programEnded_)
        return;
    view_.setClockTimer(false);
    if (PlayerState_ == PlayerState::Playing)
        StopChannel();
    if (Oscillator != 0 && !CheckResult(engine_.Tone_DSP_Release(Oscillator)))
        return;
    if (SoundSystem != 0) {
        if (!CheckResult(engine_.Tone_System_Close(SoundSystem)))
            return;
        if (!CheckResult(engine_.Tone_System_Release(SoundSystem)))
            return;
    }
}

void PlayerCore::Silence()
{
    // The program is about to end: whatever failed before, stop the tone and
    // close the engine, which lets the stop fade out. Results no longer matter.
    view_.setClockTimer(false);
    if (SoundSystem != 0) {
        if (ToneChannel != 0 && channelFromThisEngine_)
            engine_.Tone_Channel_Stop(ToneChannel);
        if (Oscillator != 0)
            engine_.Tone_DSP_Release(Oscillator);
        engine_.Tone_System_Close(SoundSystem);
        engine_.Tone_System_Release(SoundSystem);
    }
    channelFromThisEngine_ = false;
    programEnded_ = true;
}

void PlayerCore::LoadProgram(int numar, const QString &description, const QString &frecvente)
{
    if (programEnded_)
        return;
    view_.setText(PlayerLabel::lblID, QString::number(numar));
    view_.setText(PlayerLabel::lblHealthProblem, description);
    FrequencyCount = std::int16_t(ParseFrequencyList(frecvente, Frequencies));
    view_.setText(PlayerLabel::lblFrequencyCount, QString::number(FrequencyCount));
    const int suggested = SuggestedDuration(FrequencyCount);
    view_.setText(PlayerLabel::lblSuggestedLength, AfiseazaTimp(suggested));
    view_.setUpLengthSlider(TreatmentSliderSetup(FrequencyCount));
    TreatmentLength = suggested;
    view_.setText(PlayerLabel::lblTreatmentLength, AfiseazaTimp(TreatmentLength));
}

void PlayerCore::LoadProgram(const FrequencyTable &frequencies, int frequencyCount)
{
    Frequencies = frequencies;
    FrequencyCount = std::int16_t(std::clamp(frequencyCount, 0, MaxFrequencies));
}

void PlayerCore::looks(bool play, bool pause, bool stop)
{
    view_.setButtonLook(TransportButton::btnPlay, play);
    view_.setButtonLook(TransportButton::btnPause, pause);
    view_.setButtonLook(TransportButton::btnStop, stop);
}

bool PlayerCore::StartTone()
{
    const float f = Frequencies[1] * ChannelFrequencyUnit;
    if (!CheckResult(engine_.Tone_System_PlayDSP(SoundSystem, TONE_CHANNEL_REUSE, Oscillator, 1, &ToneChannel)))
        return false;
    channelFromThisEngine_ = true;
    const float volume = float(view_.volumeSliderValue()) / float(VolumeScale);
    if (!CheckResult(engine_.Tone_Channel_SetVolume(ToneChannel, volume)))
        return false;
    if (!CheckResult(engine_.Tone_DSP_SetParameter(Oscillator, TONE_OSCILLATOR_PARAM_TYPE, 0.0f)))
        return false;
    if (ToneChannel != 0 && !CheckResult(engine_.Tone_Channel_SetFrequency(ToneChannel, f)))
        return false;
    if (!CheckResult(engine_.Tone_Channel_SetPaused(ToneChannel, 0)))
        return false;
    float unusedFrequency = 0.0f;
    float unusedPan = 0.0f;
    if (!CheckResult(engine_.Tone_Channel_GetFrequency(ToneChannel, &unusedFrequency)))
        return false;
    return CheckResult(engine_.Tone_Channel_GetPan(ToneChannel, &unusedPan));
}

bool PlayerCore::ApplyPlayerState()
{
    switch (PlayerState_) {
    case PlayerState::Playing: // start
        ElapsedSeconds = 0;
        view_.setClockTimer(true);
        view_.setLengthSliderEnabled(false);
        if (!StartTone())
            return false;
        CurrentFrequency = 1;
        view_.setText(PlayerLabel::lblState, QStringLiteral("Play"));
        view_.setText(PlayerLabel::lblTrack, QStringLiteral("1"));
        return true;
    case PlayerState::Stopped: // stop
        ElapsedSeconds = 0;
        view_.setClockTimer(false);
        view_.setLengthSliderEnabled(true);
        if (ToneChannel != 0)
            engine_.Tone_Channel_Stop(ToneChannel); // result not needed
        view_.setText(PlayerLabel::lblState, QStringLiteral("Stop"));
        view_.setText(PlayerLabel::lblTime, AfiseazaTimp(0));
        return true;
    case PlayerState::Paused: // pause
        view_.setLengthSliderEnabled(false);
        view_.setClockTimer(false);
        if (ToneChannel != 0 && !CheckResult(engine_.Tone_Channel_SetPaused(ToneChannel, 1)))
            return false;
        view_.setText(PlayerLabel::lblState, QStringLiteral("Pause"));
        return true;
    case PlayerState::Resuming: // resume
        view_.setLengthSliderEnabled(false);
        view_.setClockTimer(true);
        if (ToneChannel != 0 && !CheckResult(engine_.Tone_Channel_SetPaused(ToneChannel, 0)))
            return false;
        view_.setText(PlayerLabel::lblState, QStringLiteral("Play"));
        PlayerState_ = PlayerState::Playing;
        return true;
    case PlayerState::Holding: // held by btnHold_Click, which applies it itself
        return true;
    }
    return true;
}

void PlayerCore::btnPlay_Click()
{
    if (programEnded_ || PlayerState_ == PlayerState::Holding)
        return;
    looks(true, false, false);
    if (PlayerState_ == PlayerState::Stopped) {
        PlayerState_ = PlayerState::Playing;
        ApplyPlayerState();
    } else if (PlayerState_ == PlayerState::Paused) {
        PlayerState_ = PlayerState::Resuming;
        ApplyPlayerState();
    }
}

void PlayerCore::btnPause_Click()
{
    if (programEnded_ || PlayerState_ == PlayerState::Holding)
        return;
    looks(false, true, false);
    if (PlayerState_ == PlayerState::Playing) {
        PlayerState_ = PlayerState::Paused;
        ApplyPlayerState();
    } else if (PlayerState_ == PlayerState::Paused) {
        PlayerState_ = PlayerState::Resuming;
        ApplyPlayerState();
    }
}

void PlayerCore::btnStop_Click()
{
    if (programEnded_ || PlayerState_ == PlayerState::Holding)
        return;
    looks(false, false, true);
    if (PlayerState_ == PlayerState::Playing || PlayerState_ == PlayerState::Paused) {
        PlayerState_ = PlayerState::Stopped;
        ApplyPlayerState();
    }
}

void PlayerCore::btnSkip_Click()
{
    if (programEnded_ || PlayerState_ != PlayerState::Playing)
        return;
    view_.setButtonLook(TransportButton::btnSkip, true);
    ElapsedSeconds = TreatmentSchedule(FrequencyCount, TreatmentLength).skipFrom(ElapsedSeconds);
}

void PlayerCore::btnHold_Click()
{
    if (programEnded_)
        return;
    if (PlayerState_ == PlayerState::Playing) {
        view_.setButtonLook(TransportButton::btnHold, true);
        view_.setButtonLook(TransportButton::btnPlay, false);
        PlayerState_ = PlayerState::Holding;
        view_.setLengthSliderEnabled(false);
        view_.setClockTimer(false);
    } else if (PlayerState_ == PlayerState::Holding) {
        view_.setButtonLook(TransportButton::btnPlay, true);
        view_.setButtonLook(TransportButton::btnHold, false);
        PlayerState_ = PlayerState::Playing;
        view_.setLengthSliderEnabled(true);
        view_.setClockTimer(true);
    }
}

void PlayerCore::clockTimer_Timer()
{
    if (programEnded_)
        return;
    view_.setText(PlayerLabel::lblTime, AfiseazaTimp(ElapsedSeconds));
    ElapsedSeconds += 1;
    // The length and the count of this moment: a length changed after a hold
    // takes effect here.
    const TreatmentSchedule::Tick tick =
        TreatmentSchedule(FrequencyCount, TreatmentLength).tick(ElapsedSeconds, CurrentFrequency);
    if (tick.ends) {
        btnStop_Click();
        return;
    }
    const int k = std::min(tick.index, MaxFrequencies);
    if (k > CurrentFrequency) {
        view_.setButtonLook(TransportButton::btnSkip, false);
        CurrentFrequency = std::int16_t(k);
        view_.setText(PlayerLabel::lblTrack, QString::number(k));
        if (ToneChannel != 0)
            CheckResult(engine_.Tone_Channel_SetFrequency(ToneChannel, Frequencies[k] * ChannelFrequencyUnit));
    }
}

void PlayerCore::engineTimer_Timer()
{
    if (programEnded_)
        return;
    float frequency = 0.0f;
    float volume = 0.0f;
    int playing = 0;
    if (ToneChannel != 0) {
        // Unchecked reads: a failed one leaves the value it started from.
        float value = 0.0f;
        if (engine_.Tone_Channel_GetPan(ToneChannel, &value) == TONE_OK)
            ChannelPan = value;
        value = 0.0f;
        if (engine_.Tone_Channel_GetFrequency(ToneChannel, &value) == TONE_OK)
            frequency = value;
        value = 0.0f;
        if (engine_.Tone_Channel_GetVolume(ToneChannel, &value) == TONE_OK)
            volume = value;
        int flag = 0;
        if (engine_.Tone_Channel_IsPlaying(ToneChannel, &flag) == TONE_OK)
            playing = flag;
    }
    view_.setText(PlayerLabel::statusLine, StatusLineText(playing, frequency, volume, ChannelPan, locale_));
    if (SoundSystem != 0)
        engine_.Tone_System_Update(SoundSystem);
    view_.setText(PlayerLabel::lblVolume, VolumeLabelText(volume));
}

void PlayerCore::setTreatmentLengthFromSlider()
{
    if (programEnded_)
        return;
    TreatmentLength = view_.lengthSliderValue();
    view_.setText(PlayerLabel::lblTreatmentLength, AfiseazaTimp(TreatmentLength));
}

void PlayerCore::lengthSlider_Change()
{
    setTreatmentLengthFromSlider();
}
void PlayerCore::lengthSlider_Click()
{
    setTreatmentLengthFromSlider();
}
void PlayerCore::lengthSlider_MouseMove()
{
    setTreatmentLengthFromSlider();
}

void PlayerCore::volumeSlider_Click()
{
    if (programEnded_ || ToneChannel == 0 || !channelFromThisEngine_)
        return;
    CheckResult(engine_.Tone_Channel_SetVolume(ToneChannel, float(view_.volumeSliderValue()) / float(VolumeScale)));
}

void PlayerCore::panSlider_Click()
{
    if (programEnded_ || ToneChannel == 0 || !channelFromThisEngine_)
        return;
    CheckResult(engine_.Tone_Channel_SetPan(ToneChannel, float(view_.panSliderValue()) / float(PanScale)));
}

} // namespace helicordia
