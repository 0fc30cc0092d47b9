#include "treatment/player_core.h"

#include "catalogue/entrytext.h"
#include "platform/platform.h"
#include "treatment/treatment_schedule.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace helicordia {

QString EngineVersionWarning(std::uint32_t version)
{
    return PlayerCore::tr("Error!  You are using an old version of the tone engine %1. This program requires %2")
        .arg(QString::number(version, 16).toUpper(), QString::number(RequiredEngineVersion, 16).toUpper());
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
    const QString panText = (pan > 0 ? QStringLiteral("+") : QString()) + QString::number(percentFloor(pan));
    return PlayerCore::tr("  Channel %1 : Frequency %2Hz Volume %3% Pan %4%")
        .arg(isPlaying != 0 ? PlayerCore::tr("playing") : PlayerCore::tr("stopped"),
             numbers.toString(double(hertz), 'g', 7), QString::number(percentFloor(volume)), panText);
}

QString VolumeLabelText(float volume)
{
    return QString::number(percentFloor(volume)) + QStringLiteral(" %");
}

PlayerCore::PlayerCore(ToneEngine &engine, PlayerView &view, Platform &platform, const QLocale &locale)
    : engine_(engine), view_(view), platform_(platform), locale_(locale), output_(engine)
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
    if (!CheckResult(engine_.Tone_System_Create(&soundSystem_)))
        return false;
    std::uint32_t version = 0;
    if (!CheckResult(engine_.Tone_System_GetVersion(soundSystem_, &version)))
        return false;
    if (version != RequiredEngineVersion)
        platform_.message(ApplicationTitle, EngineVersionWarning(version));
    if (!CheckResult(engine_.Tone_System_Init(soundSystem_, TONE_MAX_CHANNELS, TONE_INIT_NORMAL, nullptr)))
        return false;
    if (!CheckResult(engine_.Tone_System_CreateDSPByType(soundSystem_, TONE_DSP_TYPE_OSCILLATOR, &oscillator_)))
        return false;
    if (!CheckResult(engine_.Tone_DSP_SetParameter(oscillator_, TONE_OSCILLATOR_PARAM_RATE, 440.0f)))
        return false;
    // The output opens in the background, on the output the user chose.
    output_.reset();
    notice_.clear();
    noticeTicks_ = 0;
    if (!outputForThisRun_)
        chosenOutput_ = ReadChosenOutput(platform_.openSettings().get());
    if (!chosenOutput_.isEmpty())
        engine_.Tone_System_SetOutput(soundSystem_, chosenOutput_.toUtf8().constData());
    state_ = PlayerState::Stopped;
    setClock(false);
    return true;
}

void PlayerCore::StopChannel()
{
    if (state_ == PlayerState::Stopped)
        return;
    if (toneChannel_ != 0) {
        engine_.Tone_Channel_Stop(toneChannel_); // result not needed
        state_ = PlayerState::Stopped;
    }
}

void PlayerCore::Form_Unload()
{
    if (programEnded_)
        return;
    notify(TreatmentEvent::Stopped); // closing the window stops what plays
    setClock(false);
    if (state_ == PlayerState::Playing)
        StopChannel();
    if (oscillator_ != 0 && !CheckResult(engine_.Tone_DSP_Release(oscillator_)))
        return;
    if (soundSystem_ != 0) {
        if (!CheckResult(engine_.Tone_System_Close(soundSystem_)))
            return;
        if (!CheckResult(engine_.Tone_System_Release(soundSystem_)))
            return;
    }
}

void PlayerCore::Silence()
{
    // The program is about to end: whatever failed before, stop the tone and
    // close the engine, which lets the stop fade out. Results no longer matter.
    notify(TreatmentEvent::ProgramEnded);
    setClock(false);
    if (soundSystem_ != 0) {
        if (toneChannel_ != 0 && channelFromThisEngine_)
            engine_.Tone_Channel_Stop(toneChannel_);
        if (oscillator_ != 0)
            engine_.Tone_DSP_Release(oscillator_);
        engine_.Tone_System_Close(soundSystem_);
        engine_.Tone_System_Release(soundSystem_);
    }
    channelFromThisEngine_ = false;
    programEnded_ = true;
}

void PlayerCore::LoadProgram(int numar, const QString &description, const QString &frecvente)
{
    if (programEnded_)
        return;
    loadedNumar_ = numar;
    loadedName_ = description;
    loadedList_ = frecvente;
    view_.setText(PlayerLabel::lblID, EntryIdText(EntryOfPlayerNumber(numar)));
    view_.setText(PlayerLabel::lblHealthProblem, description);
    frequencyCount_ = std::int16_t(ParseFrequencyList(frecvente, frequencies_));
    view_.setText(PlayerLabel::lblFrequencyCount, QString::number(frequencyCount_));
    const int suggested = SuggestedDuration(frequencyCount_);
    view_.setText(PlayerLabel::lblSuggestedLength, AfiseazaTimp(suggested));
    view_.setUpLengthSlider(TreatmentSliderSetup(frequencyCount_));
    treatmentLength_ = suggested;
    view_.setText(PlayerLabel::lblTreatmentLength, AfiseazaTimp(treatmentLength_));
}

void PlayerCore::LoadProgram(const FrequencyTable &frequencies, int frequencyCount)
{
    frequencies_ = frequencies;
    frequencyCount_ = std::int16_t(std::clamp(frequencyCount, 0, MaxFrequencies));
}

void PlayerCore::looks(bool play, bool pause, bool stop)
{
    view_.setButtonLook(TransportButton::btnPlay, play);
    view_.setButtonLook(TransportButton::btnPause, pause);
    view_.setButtonLook(TransportButton::btnStop, stop);
}

bool PlayerCore::StartTone()
{
    const float f = frequencies_[std::size_t(startIndex_)] * ChannelFrequencyUnit;
    if (!CheckResult(engine_.Tone_System_PlayDSP(soundSystem_, TONE_CHANNEL_REUSE, oscillator_, 1, &toneChannel_)))
        return false;
    channelFromThisEngine_ = true;
    const float volume = float(view_.volumeSliderValue()) / float(VolumeScale);
    if (!CheckResult(engine_.Tone_Channel_SetVolume(toneChannel_, volume)))
        return false;
    if (!CheckResult(engine_.Tone_DSP_SetParameter(oscillator_, TONE_OSCILLATOR_PARAM_TYPE, 0.0f)))
        return false;
    if (toneChannel_ != 0 && !CheckResult(engine_.Tone_Channel_SetFrequency(toneChannel_, f)))
        return false;
    if (!CheckResult(engine_.Tone_Channel_SetPaused(toneChannel_, 0)))
        return false;
    float unusedFrequency = 0.0f;
    float unusedPan = 0.0f;
    if (!CheckResult(engine_.Tone_Channel_GetFrequency(toneChannel_, &unusedFrequency)))
        return false;
    return CheckResult(engine_.Tone_Channel_GetPan(toneChannel_, &unusedPan));
}

bool PlayerCore::ApplyPlayerState()
{
    switch (state_) {
    case PlayerState::Playing: // start
        elapsedSeconds_ = startSecond_;
        setClock(true);
        view_.setLengthSliderEnabled(false);
        if (!StartTone())
            return false;
        currentFrequency_ = std::int16_t(startIndex_);
        view_.setText(PlayerLabel::lblState, stateText());
        view_.setText(PlayerLabel::lblTrack, QString::number(startIndex_));
        notify(TreatmentEvent::Started);
        startSecond_ = 0;
        startIndex_ = 1;
        return true;
    case PlayerState::Stopped: // stop
        notify(completing_      ? TreatmentEvent::Completed
               : programEnding_ ? TreatmentEvent::ProgramEnded
                                : TreatmentEvent::Stopped);
        programEnding_ = false;
        elapsedSeconds_ = 0;
        setClock(false);
        view_.setLengthSliderEnabled(true);
        if (toneChannel_ != 0)
            engine_.Tone_Channel_Stop(toneChannel_); // result not needed
        view_.setText(PlayerLabel::lblState, stateText());
        view_.setText(PlayerLabel::lblTime, AfiseazaTimp(0));
        return true;
    case PlayerState::Paused: // pause
        view_.setLengthSliderEnabled(false);
        setClock(false);
        if (toneChannel_ != 0 && !CheckResult(engine_.Tone_Channel_SetPaused(toneChannel_, 1)))
            return false;
        view_.setText(PlayerLabel::lblState, stateText());
        notify(TreatmentEvent::Paused);
        return true;
    case PlayerState::Resuming: // resume
        view_.setLengthSliderEnabled(false);
        setClock(true);
        if (toneChannel_ != 0 && !CheckResult(engine_.Tone_Channel_SetPaused(toneChannel_, 0)))
            return false;
        state_ = PlayerState::Playing;
        view_.setText(PlayerLabel::lblState, stateText());
        notify(TreatmentEvent::Unpaused);
        return true;
    case PlayerState::Holding: // held by btnHold_Click, which applies it itself
        return true;
    }
    return true;
}

QString PlayerCore::stateText() const
{
    switch (state_) {
    case PlayerState::Stopped: return tr("Stop");
    case PlayerState::Paused: return tr("Pause");
    case PlayerState::Playing:
    case PlayerState::Resuming:
    case PlayerState::Holding: break;
    }
    return tr("Play");
}

void PlayerCore::btnPlay_Click()
{
    if (programEnded_ || state_ == PlayerState::Holding)
        return;
    looks(true, false, false);
    if (state_ == PlayerState::Stopped) {
        state_ = PlayerState::Playing;
        ApplyPlayerState();
    } else if (state_ == PlayerState::Paused) {
        state_ = PlayerState::Resuming;
        ApplyPlayerState();
    }
}

void PlayerCore::btnPause_Click()
{
    if (programEnded_ || state_ == PlayerState::Holding)
        return;
    looks(false, true, false);
    if (state_ == PlayerState::Playing) {
        state_ = PlayerState::Paused;
        ApplyPlayerState();
    } else if (state_ == PlayerState::Paused) {
        state_ = PlayerState::Resuming;
        ApplyPlayerState();
    }
}

void PlayerCore::btnStop_Click()
{
    if (programEnded_ || state_ == PlayerState::Holding)
        return;
    looks(false, false, true);
    if (state_ == PlayerState::Playing || state_ == PlayerState::Paused) {
        state_ = PlayerState::Stopped;
        ApplyPlayerState();
        if (stopped_)
            stopped_(completing_);
    }
}

void PlayerCore::btnSkip_Click()
{
    if (programEnded_ || state_ != PlayerState::Playing)
        return;
    view_.setButtonLook(TransportButton::btnSkip, true);
    const TreatmentSchedule schedule(frequencyCount_, treatmentLength_);
    elapsedSeconds_ = schedule.skipFrom(elapsedSeconds_);
    if (skipPastLastEnds_ && currentFrequency_ >= schedule.soundingCount())
        elapsedSeconds_ = std::max(elapsedSeconds_, treatmentLength_);
}

void PlayerCore::btnHold_Click()
{
    if (programEnded_)
        return;
    if (state_ == PlayerState::Playing) {
        view_.setButtonLook(TransportButton::btnHold, true);
        view_.setButtonLook(TransportButton::btnPlay, false);
        state_ = PlayerState::Holding;
        view_.setLengthSliderEnabled(false);
        setClock(false);
        notify(TreatmentEvent::Held);
    } else if (state_ == PlayerState::Holding) {
        view_.setButtonLook(TransportButton::btnPlay, true);
        view_.setButtonLook(TransportButton::btnHold, false);
        state_ = PlayerState::Playing;
        view_.setLengthSliderEnabled(true);
        setClock(true);
        notify(TreatmentEvent::Released);
    }
}

void PlayerCore::clockTimer_Timer()
{
    if (programEnded_)
        return;
    view_.setText(PlayerLabel::lblTime, AfiseazaTimp(elapsedSeconds_));
    elapsedSeconds_ += 1;
    // The length and the count of this moment: a length changed after a hold
    // takes effect here.
    const TreatmentSchedule::Tick tick =
        TreatmentSchedule(frequencyCount_, treatmentLength_).tick(elapsedSeconds_, currentFrequency_);
    if (tick.ends) {
        completing_ = true;
        btnStop_Click();
        completing_ = false;
        return;
    }
    const int k = std::min(tick.index, MaxFrequencies);
    if (k > currentFrequency_) {
        view_.setButtonLook(TransportButton::btnSkip, false);
        currentFrequency_ = std::int16_t(k);
        view_.setText(PlayerLabel::lblTrack, QString::number(k));
        if (toneChannel_ != 0)
            CheckResult(engine_.Tone_Channel_SetFrequency(toneChannel_, frequencies_[k] * ChannelFrequencyUnit));
    }
    notify(TreatmentEvent::Tick);
}

void PlayerCore::playFrom(int second, int index)
{
    if (programEnded_ || state_ != PlayerState::Stopped || frequencyCount_ <= 0)
        return;
    startSecond_ = std::max(0, second);
    startIndex_ = std::clamp(index, 1, int(frequencyCount_));
    btnPlay_Click();
    startSecond_ = 0;
    startIndex_ = 1;
}

void PlayerCore::notify(TreatmentEvent event)
{
    const bool ends =
        event == TreatmentEvent::Completed || event == TreatmentEvent::Stopped || event == TreatmentEvent::ProgramEnded;
    if (event == TreatmentEvent::Started)
        observing_ = true;
    else if (!observing_)
        return; // nothing started, or its end has been told already
    if (ends)
        observing_ = false;
    if (!observer_)
        return;
    TreatmentMoment moment;
    moment.numar = loadedNumar_;
    moment.name = loadedName_;
    moment.frequencies = loadedList_;
    moment.length = treatmentLength_;
    moment.elapsed = elapsedSeconds_;
    moment.index = currentFrequency_;
    moment.count = frequencyCount_;
    moment.resumed = event == TreatmentEvent::Started && (startSecond_ > 0 || startIndex_ > 1);
    observer_->treatmentEvent(event, moment);
}

bool PlayerCore::toneHeard() const
{
    int heard = 0;
    return toneChannel_ != 0 && channelFromThisEngine_ && !programEnded_ &&
           engine_.Tone_Channel_IsHeard(toneChannel_, &heard) == TONE_OK && heard != 0;
}

void PlayerCore::engineTimer_Timer()
{
    if (programEnded_)
        return;
    float frequency = 0.0f;
    float volume = 0.0f;
    int playing = 0;
    if (toneChannel_ != 0) {
        // Unchecked reads: a failed one leaves the value it started from.
        float value = 0.0f;
        if (engine_.Tone_Channel_GetPan(toneChannel_, &value) == TONE_OK)
            channelPan_ = value;
        value = 0.0f;
        if (engine_.Tone_Channel_GetFrequency(toneChannel_, &value) == TONE_OK)
            frequency = value;
        value = 0.0f;
        if (engine_.Tone_Channel_GetVolume(toneChannel_, &value) == TONE_OK)
            volume = value;
        int flag = 0;
        if (engine_.Tone_Channel_IsPlaying(toneChannel_, &flag) == TONE_OK)
            playing = flag;
    }
    QString status = StatusLineText(playing, frequency, volume, channelPan_, locale_);
    if (soundSystem_ != 0) {
        engine_.Tone_System_Update(soundSystem_);
        watchSoundOutput();
    }
    // While the tone cannot be heard the status line says why; a notice
    // stays there for a few seconds.
    if (!output_.heard() && !output_.problem().isEmpty())
        status = output_.problem();
    else if (noticeTicks_ > 0 && noticeTicks_--)
        status = notice_;
    view_.setText(PlayerLabel::statusLine, status);
    view_.setText(PlayerLabel::lblVolume, VolumeLabelText(volume));
}

void PlayerCore::setTreatmentLengthFromSlider()
{
    if (programEnded_)
        return;
    treatmentLength_ = view_.lengthSliderValue();
    view_.setText(PlayerLabel::lblTreatmentLength, AfiseazaTimp(treatmentLength_));
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
    if (programEnded_ || toneChannel_ == 0 || !channelFromThisEngine_)
        return;
    CheckResult(engine_.Tone_Channel_SetVolume(toneChannel_, float(view_.volumeSliderValue()) / float(VolumeScale)));
}

void PlayerCore::panSlider_Click()
{
    if (programEnded_ || toneChannel_ == 0 || !channelFromThisEngine_)
        return;
    CheckResult(engine_.Tone_Channel_SetPan(toneChannel_, float(view_.panSliderValue()) / float(PanScale)));
}

} // namespace helicordia
