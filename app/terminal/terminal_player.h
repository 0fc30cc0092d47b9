// Plays one treatment through the sound card from a terminal: the player's
// own logic with its timers, and a progress line instead of a window.
#pragma once

#include "treatment/player_core.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class QTextStream;

namespace helicordia {

class SessionPlan;
class SessionPlayer;
struct SessionTreatment;

class TerminalPlayer : public QObject, private PlayerView {
    Q_OBJECT

public:
    struct Settings {
        int number = 0;
        QString name;
        QString frequencies;
        int lengthSeconds = 0; // 0: the suggested length
        int volumeSlider = 103;
        int panSlider = 0;
        int startSecond = 0;           // a resume: where the clock starts
        int startIndex = 1;            // and the frequency sounding there
        std::optional<QString> output; // --output: the output to play on (empty: the default)
    };

    // `show` receives the progress line after every change; `stopRequested`
    // is asked ten times a second (a signal handler's flag).
    TerminalPlayer(ToneEngine &engine, Platform &platform, const Settings &settings,
                   std::function<void(const QString &)> show, std::function<bool()> stopRequested);

    // Loads the engine; the treatment starts once the sound output is open.
    // False when the engine failed.
    bool start();
    // Loads the engine and plays a session's treatments one after another
    // (the settings give the volume and pan). False when the engine failed.
    bool startSession(const SessionPlan &plan);
    PlayerCore &core() { return core_; }
    // The part of the session playing; -1 without one.
    int sessionPart() const;
    // Receives one line whenever the sound output changes (lost, back, not
    // there) or cannot be opened.
    void setNotice(std::function<void(const QString &)> notice) { notice_ = std::move(notice); }

signals:
    // The tone has faded out and the engine is released.
    void finished(int status);

private:
    void setText(PlayerLabel label, const QString &text) override;
    void setButtonLook(TransportButton, bool) override {}
    void setLengthSliderEnabled(bool) override {}
    void setClockTimer(bool on) override;
    void setUpLengthSlider(const SliderSetup &) override {}
    int lengthSliderValue() const override { return length_; }
    int volumeSliderValue() const override { return settings_.volumeSlider; }
    int panSliderValue() const override { return settings_.panSlider; }
    void soundOutputNotice(const QString &text) override;

    void tick();
    void engineTick();
    void begin();
    void finish();
    void report();
    void loadTreatment(const SessionTreatment &treatment);

    Settings settings_;
    PlayerCore core_;
    std::function<void(const QString &)> show_;
    std::function<bool()> stopRequested_;
    std::function<void(const QString &)> notice_;
    QTimer clockTimer_, engineTimer_;
    int length_ = 0;
    int elapsed_ = 0;
    bool begun_ = false; // Play has been pressed: the output was open
    bool finished_ = false;
    SessionPlayer *session_ = nullptr;
    QString place_; // where the session stands, for the progress line
};

} // namespace helicordia
