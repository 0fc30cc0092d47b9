// The player's behaviour without widgets: the frequency program, the
// treatment clock and transport state machine, and the calls into the tone
// engine. The window implements PlayerView and forwards its events here.
#pragma once

#include "engine/tone_engine.h"
#include "platform/application.h"
#include "treatment/engine_error.h"
#include "treatment/frequency_program.h"
#include "treatment/sound_output.h"
#include "treatment/treatment_events.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <functional>

namespace helicordia {

class Platform;

// Where the treatment stands. Resuming lasts only while a resume is applied.
enum class PlayerState : std::uint8_t {
    Playing = 1,
    Stopped = 2,
    Paused = 3,
    Resuming = 4,
    Holding = 5,
};

// The volume slider runs from 0 to VolumeScale (full volume) and starts at
// InitialVolume; the pan slider runs from -PanScale (left) to PanScale (right).
constexpr int VolumeScale = 1024;
constexpr int InitialVolume = 103;
constexpr int PanScale = 512;
// The treatment clock ticks once a second; the engine tick ten times a second.
constexpr int TreatmentClockIntervalMs = 1000;
constexpr int EngineTickIntervalMs = 100;

// The texts the player's logic writes, by the labels that show them.
enum class PlayerLabel {
    lblID,              // the entry number
    lblHealthProblem,   // the entry's name
    lblFrequencyCount,  // how many frequencies
    lblSuggestedLength, // the suggested treatment length
    lblTreatmentLength, // the treatment length as set
    lblTime,            // the elapsed time
    lblState,           // Play, Pause, Stop
    lblTrack,           // which frequency plays
    lblVolume,          // the channel's volume in percent
    statusLine,         // the channel's frequency, volume and pan (a one-line text box)
};

enum class TransportButton { btnPlay, btnPause, btnStop, btnSkip, btnHold };

// What the player's logic needs from its window.
class PlayerView {
public:
    virtual ~PlayerView() = default;
    virtual void setText(PlayerLabel label, const QString &text) = 0;
    // false = normal look (picture element 0), true = active look (element 1).
    virtual void setButtonLook(TransportButton button, bool active) = 0;
    virtual void setLengthSliderEnabled(bool enabled) = 0;
    virtual void setClockTimer(bool on) = 0;
    virtual void setUpLengthSlider(const SliderSetup &setup) = 0;
    virtual int lengthSliderValue() const = 0;
    virtual int volumeSliderValue() const = 0;
    virtual int panSliderValue() const = 0;
    // One line about the sound output (lost, back, not there): said once.
    virtual void soundOutputNotice(const QString &) {}
};

// The tone engine version this player is built for.
constexpr std::uint32_t RequiredEngineVersion = 0x10000;

// "Error!  You are using an old version of the tone engine 20000. This
// program requires 10000"
QString EngineVersionWarning(std::uint32_t version);

// The status line: channel state, frequency (Hz), volume and pan in percent.
// The frequency is written with at most seven significant digits and the
// locale's decimal separator.
QString StatusLineText(int isPlaying, float channelFrequency, float volume, float pan, const QLocale &locale);

// ⌊volume × 100⌋ " %", as lblVolume shows it.
QString VolumeLabelText(float volume);

class PlayerCore {
    Q_DECLARE_TR_FUNCTIONS(PlayerCore)

public:
    PlayerCore(ToneEngine &engine, PlayerView &view, Platform &platform, const QLocale &locale = QLocale());

    // Run before the program ends because the engine failed, so that what the
    // user has (settings, recent list) is kept.
    void setSaveBeforeAbruptEnd(std::function<void()> save) { saveBeforeAbruptEnd_ = std::move(save); }
    // Told each time a treatment stops: `byClock` when its length has run
    // out, false when Stop was pressed. A session hands on to its next
    // treatment from here.
    void setStoppedListener(std::function<void(bool byClock)> listener) { stopped_ = std::move(listener); }
    // Within a session, Skip in the last frequency moves on to the next
    // treatment: the next tick ends this one instead of letting the last
    // frequency play on until the length.
    void setSkipPastLastEnds(bool on) { skipPastLastEnds_ = on; }

    // --- what the player holds (kept from one window load to the next)
    PlayerState state() const { return state_; }
    const FrequencyTable &frequencies() const { return frequencies_; }
    int frequencyCount() const { return frequencyCount_; }
    int treatmentLength() const { return treatmentLength_; }
    int elapsedSeconds() const { return elapsedSeconds_; }
    int currentFrequency() const { return currentFrequency_; }
    float channelPan() const { return channelPan_; }
    ToneHandle soundSystem() const { return soundSystem_; }
    ToneHandle oscillator() const { return oscillator_; }
    ToneHandle toneChannel() const { return toneChannel_; }

    // --- window lifecycle
    // The engine part of the window's start-up: create and set up the engine,
    // check its version, stopped state with the clock off. False when an engine
    // call failed (the program has been ended).
    bool Form_Load();
    // Stop (if playing) and release the engine.
    void Form_Unload();
    // The program ends: stop the tone and close the engine (so the tone fades
    // out) without reporting anything; nothing runs after it.
    void Silence();
    // The treatment part of Player_Start: labels, list, slider set-up, length.
    void LoadProgram(int numar, const QString &description, const QString &frecvente);
    // A program already read into a table (nothing is shown).
    void LoadProgram(const FrequencyTable &frequencies, int frequencyCount);

    // --- event handlers
    void btnPlay_Click();
    void btnPause_Click();
    void btnStop_Click();
    void btnSkip_Click();
    void btnHold_Click();
    void clockTimer_Timer();
    void engineTimer_Timer();
    void lengthSlider_Change();
    void lengthSlider_Click();
    void lengthSlider_MouseMove();
    void volumeSlider_Click();
    void panSlider_Click();

    // Whether the tone is still heard in what the engine has rendered (after
    // a stop: until its fade-out has been rendered).
    bool toneHeard() const;

    // True once an engine failure has ended the program. Everything after that
    // is a no-op (in the real program the process is gone by then; with a test's
    // replacement of endProgram the handlers must not go on calling the engine).
    bool programEnded() const { return programEnded_; }

    void setLocale(const QLocale &locale) { locale_ = locale; }
    // The word lblState shows for the current state, in the current language.
    QString stateText() const;

    // Whoever keeps account of the treatments (history, resume file); none by default.
    void setObserver(TreatmentObserver *observer) { observer_ = observer; }
    // Starts the loaded program as Play does, but at `second` of the
    // treatment with frequency `index` sounding (resuming one cut short).
    // Only while stopped.
    void playFrom(int second, int index);
    // The next stop ends the program (Ctrl+C in a terminal) rather than the treatment.
    void noteProgramEnding() { programEnding_ = true; }
    // --- the sound output
    const SoundOutputWatch &soundOutput() const { return output_; }
    // The server's outputs, "System default" (empty name) first; the one in use.
    QList<OutputEntry> outputChoices() const { return output_.outputs(soundSystem_); }
    const QString &chosenOutput() const { return chosenOutput_; }
    // The user chose an output (empty: the system's default): kept in the
    // settings, and the tone moves there with its ramps.
    void chooseOutput(const QString &name);
    // This run plays on `name` (the command line's --output) whatever the
    // settings say, and keeps nothing.
    void setOutputForThisRun(const QString &name);

private:
    bool CheckResult(ToneResult result);
    void setClock(bool on);
    void watchSoundOutput();

    bool ApplyPlayerState();
    bool StartTone();
    void StopChannel();
    void setTreatmentLengthFromSlider();
    void looks(bool play, bool pause, bool stop);
    void notify(TreatmentEvent event);

    FrequencyTable frequencies_{};
    std::int16_t frequencyCount_ = 0;
    std::int32_t treatmentLength_ = 0;
    PlayerState state_ = PlayerState::Stopped;
    std::int32_t elapsedSeconds_ = 0;
    std::int16_t currentFrequency_ = 0;
    float channelPan_ = 0.0f;
    ToneHandle soundSystem_ = 0;
    ToneHandle oscillator_ = 0;
    ToneHandle toneChannel_ = 0;

    ToneEngine &engine_;
    PlayerView &view_;
    Platform &platform_;
    std::function<void()> saveBeforeAbruptEnd_;
    std::function<void(bool)> stopped_;
    bool skipPastLastEnds_ = false;
    QLocale locale_;
    bool programEnded_ = false;
    // toneChannel_ was given by the engine of the current window load. A handle
    // kept from an earlier load belongs to a released engine: the engine
    // refuses it, so a volume or pan click before the first Play of a later
    // treatment would otherwise end the program.
    bool channelFromThisEngine_ = false;

    // What the observer is told: the program as loaded, where the next start
    // begins, and why the next stop comes.
    TreatmentObserver *observer_ = nullptr;
    int loadedNumar_ = 0;
    QString loadedName_;
    QString loadedList_;
    int startSecond_ = 0;
    int startIndex_ = 1;
    bool observing_ = false; // between a start and the end it was told of
    bool completing_ = false;
    bool programEnding_ = false;
    SoundOutputWatch output_;
    bool clockWanted_ = false; // the clock runs while this is set and the tone can be heard
    QString chosenOutput_;
    bool outputForThisRun_ = false;
    QString notice_; // shown on the status line for a while
    int noticeTicks_ = 0;
};

} // namespace helicordia
