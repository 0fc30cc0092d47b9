// When each frequency of a treatment sounds: the player's own clock run
// second by second without a window or a sound card, so that anything that
// replays a treatment (a file export, the command line) switches exactly where
// the live player switches.
#pragma once

#include "treatment/frequency_program.h"

#include <vector>

namespace helicordia {

struct ScheduleStep {
    int startSecond = 0;          // second of the treatment at which it starts
    int index = 0;                // 1-based index into the frequency table
    float channelFrequency = 0.f; // the value the player gives the channel (Hz × 100)
    bool operator==(const ScheduleStep &) const = default;
};

struct TreatmentSchedule {
    std::vector<ScheduleStep> steps; // in playing order; the first starts at 0
    int endSecond = 0;               // where the player stops by itself
};

// Runs the player's transport (Play, then one clock tick per second until it
// stops) for the given program and length and notes every frequency change.
TreatmentSchedule ScheduleTreatment(const FrequencyTable &frequencies, int frequencyCount, int treatmentLength);

} // namespace helicordia
