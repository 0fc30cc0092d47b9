// When each frequency of a treatment sounds. A treatment of length T seconds
// shares its time equally among its n frequencies, in list order: the share
// is P = T / n rounded to the nearest second, a half to the even neighbour.
// Frequency k sounds from second (k − 1)·P; the last one that starts before T
// sounds until T, where the treatment ends. When n·P is more than T the last
// shares are cut short, or never start.
//
// The player's clock asks it once a tick (with the length and count of that
// moment, which may change while a treatment plays); anything that replays a
// treatment without the clock (a file export) asks it for the whole list of
// switches, and so switches on exactly the seconds the player does.
// No Qt here, and nothing is allocated except by switches().
#pragma once

#include <vector>

namespace helicordia {

// The share of one frequency: treatmentLength / frequencyCount rounded to the
// nearest whole second, halves to the even neighbour (never below 1).
int FrequencyShare(int treatmentLength, int frequencyCount);

class TreatmentSchedule {
public:
    // A switch to frequency `index` (1-based) at `second` of the treatment.
    struct Switch {
        int second = 0;
        int index = 0;
        bool operator==(const Switch &) const = default;
    };

    // What one tick of the clock does once it has counted `elapsed` seconds.
    struct Tick {
        bool ends = false; // the treatment is over: the player stops
        int index = 0;     // the frequency to sound from now on (unchanged if no switch)
    };

    TreatmentSchedule(int frequencyCount, int treatmentLength);

    int frequencyCount() const { return count_; }
    int length() const { return length_; }
    int share() const { return share_; }

    // The second at which the clock ends the treatment: the length, but never
    // before the first tick.
    int endSecond() const { return length_ > 1 ? length_ : 1; }

    // The frequency that sounds at `second` of a treatment played from its
    // start without a skip: ⌊second / P⌋ + 1, at most n (0 when n is 0).
    int indexAt(int second) const;

    // The second at which frequency `index` starts: (index − 1)·P.
    int startOf(int index) const { return (index - 1) * share_; }

    // How many frequencies get to sound: those whose share starts before the end.
    int soundingCount() const;

    // Every switch in playing order; the first is to frequency 1 at second 0.
    std::vector<Switch> switches() const;

    // The clock's tick: `elapsed` is the count after this tick's increment,
    // `current` the frequency sounding. The index only moves forward, so a
    // skip or a shorter length can jump over several frequencies at once,
    // and a longer length keeps the current one until its new share comes.
    Tick tick(int elapsed, int current) const;

    // Where Skip puts the clock: the start of the share after the one that
    // holds `elapsed`, P × (⌊elapsed / P⌋ + 1). The switch itself comes with
    // the next tick.
    int skipFrom(int elapsed) const { return share_ * (elapsed / share_ + 1); }

private:
    int count_;
    int length_;
    int share_;
};

} // namespace helicordia
