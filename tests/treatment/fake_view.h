// A player view that keeps the texts, looks and switches it is given and a
// log of every effect in order.
#pragma once

#include "treatment/player_core.h"

#include <QStringList>

#include <map>
#include <ostream>

namespace helicordia {

// Failing checks name the state.
inline void PrintTo(PlayerState state, std::ostream *os)
{
    switch (state) {
    case PlayerState::Playing: *os << "Playing"; return;
    case PlayerState::Stopped: *os << "Stopped"; return;
    case PlayerState::Paused: *os << "Paused"; return;
    case PlayerState::Resuming: *os << "Resuming"; return;
    case PlayerState::Holding: *os << "Holding"; return;
    }
}

} // namespace helicordia

namespace helicordia::test {

inline const char *labelName(PlayerLabel l)
{
    switch (l) {
    case PlayerLabel::lblID: return "lblID";
    case PlayerLabel::lblHealthProblem: return "lblHealthProblem";
    case PlayerLabel::lblFrequencyCount: return "lblFrequencyCount";
    case PlayerLabel::lblSuggestedLength: return "lblSuggestedLength";
    case PlayerLabel::lblTreatmentLength: return "lblTreatmentLength";
    case PlayerLabel::lblTime: return "lblTime";
    case PlayerLabel::lblState: return "lblState";
    case PlayerLabel::lblTrack: return "lblTrack";
    case PlayerLabel::lblVolume: return "lblVolume";
    case PlayerLabel::statusLine: return "statusLine";
    }
    return "?";
}

inline const char *buttonName(TransportButton b)
{
    switch (b) {
    case TransportButton::btnPlay: return "play";
    case TransportButton::btnPause: return "pause";
    case TransportButton::btnStop: return "stop";
    case TransportButton::btnSkip: return "skip";
    case TransportButton::btnHold: return "hold";
    }
    return "?";
}

class RecordingView : public PlayerView {
public:
    QStringList log;
    std::map<PlayerLabel, QString> texts;
    std::map<TransportButton, bool> active;
    bool lengthSliderEnabled = true;
    bool clockTimer = false;
    SliderSetup setup;
    int lengthSlider = 0;
    int volume = 103;
    int pan = 0;

    QString text(PlayerLabel l) const
    {
        const auto it = texts.find(l);
        return it == texts.end() ? QString() : it->second;
    }
    // Log entries that are not status-line or volume-label updates.
    QStringList effects() const
    {
        QStringList out;
        for (const QString &e : log)
            if (!e.startsWith(QLatin1String("statusLine=")) && !e.startsWith(QLatin1String("lblVolume=")))
                out << e;
        return out;
    }

    void setText(PlayerLabel l, const QString &t) override
    {
        texts[l] = t;
        log << QString::fromLatin1(labelName(l)) + QLatin1Char('=') + t;
    }
    void setButtonLook(TransportButton b, bool a) override
    {
        active[b] = a;
        log << QStringLiteral("%1:%2").arg(QLatin1String(buttonName(b)),
                                           a ? QStringLiteral("active") : QStringLiteral("normal"));
    }
    void setLengthSliderEnabled(bool e) override
    {
        lengthSliderEnabled = e;
        log << (e ? QStringLiteral("lengthSlider enabled") : QStringLiteral("lengthSlider disabled"));
    }
    void setClockTimer(bool on) override
    {
        clockTimer = on;
        log << (on ? QStringLiteral("clockTimer on") : QStringLiteral("clockTimer off"));
    }
    void setUpLengthSlider(const SliderSetup &s) override
    {
        setup = s;
        lengthSlider = s.value;
        log << QStringLiteral("lengthSlider %1..%2 = %3 (%4/%5)")
                   .arg(s.minimum)
                   .arg(s.maximum)
                   .arg(s.value)
                   .arg(s.smallStep)
                   .arg(s.largeStep);
    }
    int lengthSliderValue() const override { return lengthSlider; }
    int volumeSliderValue() const override { return volume; }
    int panSliderValue() const override { return pan; }
    void soundOutputNotice(const QString &text) override { log << QStringLiteral("notice=") + text; }
};

} // namespace helicordia::test
