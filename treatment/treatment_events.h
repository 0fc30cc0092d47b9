// What a treatment goes through while the player plays it, for whoever keeps
// account of it (the history and the resume file): the player's logic tells
// its observer at each step. Qt Core only.
#pragma once

#include <QString>

namespace helicordia {

enum class TreatmentEvent {
    Started,      // Play (or a resume) started the tone
    Tick,         // the clock counted a second that was heard
    Paused,       // Pause
    Unpaused,     // Pause or Play again after a pause
    Held,         // Hold
    Released,     // Hold again: the clock goes on
    Completed,    // the clock reached the treatment's length (that second was heard)
    Stopped,      // Stop, or the player window was closed
    ProgramEnded, // the program ended while it played, paused or held
};

// The treatment at the moment of an event.
struct TreatmentMoment {
    int numar = 0;        // the entry's number as the player got it (minus for the user's own)
    QString name;         // as the player shows it
    QString frequencies;  // the frequency list as the player read it
    int length = 0;       // the treatment length in seconds
    int elapsed = 0;      // the clock's second
    int index = 0;        // the frequency sounding, from 1
    int count = 0;        // how many frequencies
    bool resumed = false; // it was started from a resume point
};

class TreatmentObserver {
public:
    virtual ~TreatmentObserver() = default;
    virtual void treatmentEvent(TreatmentEvent event, const TreatmentMoment &moment) = 0;
};

} // namespace helicordia
