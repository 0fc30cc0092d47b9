// The frequency program of one treatment: the entry's frequency list read
// into a table of 32-bit floats, the suggested length and the figures of the
// treatment-length slider. No widgets here.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace helicordia {

// Room for 100 frequencies at indexes 1..100; index 0 is never used.
constexpr int MaxFrequencies = 100;
using FrequencyTable = std::array<float, MaxFrequencies + 1>;

// The tone engine takes channel frequencies in hundredths of a hertz: the
// channel is given Frequencies[k] × ChannelFrequencyUnit, a 32-bit product.
constexpr float ChannelFrequencyUnit = 100.0f;

// Seconds of treatment suggested per frequency.
constexpr int SecondsPerFrequency = 180;

// Duration in whole seconds as «00h:03m:00s»; hours get as many digits as
// they need.
QString AfiseazaTimp(int valoare);

// The number at the start of a piece of text, read the locale-independent way:
// blanks (space, tab and line feed; a carriage return is not one) are skipped
// wherever they stand; an optional sign, digits, one '.', an optional
// exponent (E or D, sign, digits); "&H" and "&O" read hexadecimal and octal
// integers. Reading stops at the first character that cannot continue the
// number; no number at all gives 0.
double NumericValue(const QString &piece);

// One piece of the list as it is stored: rounded to a 32-bit float and, above
// 20000, divided by 20.0855 (in double precision) and rounded again. Returns
// nothing when the value does not fit a 32-bit float (the piece is counted and
// its table entry holds 0, which is silent).
std::optional<float> FrequencyValue(const QString &piece);

// Reads a comma-separated list into table[1..count] and returns the count.
// A comma is appended first, so the last piece counts like the others and an
// empty list is one piece of 0 Hz. Pieces past the hundredth are dropped
// before counting. Entries above the returned count are left untouched.
int ParseFrequencyList(const QString &frecvente, FrequencyTable &table);

// The suggested treatment length: count × 180 seconds.
int SuggestedDuration(int frequencyCount);

// The treatment-length slider's set-up, in seconds.
struct SliderSetup {
    int maximum = 0;
    int value = 0;
    int minimum = 0;
    int smallStep = 10;
    int largeStep = 60;
    bool operator==(const SliderSetup &) const = default;
};
SliderSetup TreatmentSliderSetup(int frequencyCount);

} // namespace helicordia
