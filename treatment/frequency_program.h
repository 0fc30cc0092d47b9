// The frequency program of one treatment: the entry's frequency list read
// into a table of 32-bit floats, the suggested length and the figures of the
// treatment-length slider. No widgets here.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

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

// How a piece reads: its NumericValue, whether a number starts it, and
// whether all of it (blanks aside) is that number.
struct PieceReading {
    double value = 0;
    bool hasNumber = false;
    bool wholeNumber = false;
};
PieceReading ReadPiece(const QString &piece);

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

// What one piece of a list turns out to be, for the checks shown while a
// list is typed. Only the first MaxFrequencies pieces are looked at.
enum class PieceKind : std::uint8_t {
    Number,     // a number that plays
    Low,        // plays, but below LowestHeardHz
    High,       // plays, but above HighestHeardHz
    Silent,     // 0, or at or above half the output rate: nothing is heard
    Unreadable, // not wholly a number: the player takes the number it starts with, or 0
};
inline constexpr double LowestHeardHz = 20.0;
inline constexpr double HighestHeardHz = 16000.0;

struct PieceCheck {
    int position = 0;     // from 1
    QString text;         // as written, without blanks at its ends
    float hertz = 0;      // what the player's table holds for it
    bool divided = false; // above 20000: played divided by 20.0855
    bool plays = false;   // a tone is heard
    PieceKind kind = PieceKind::Number;
};

struct FrequencyListCheck {
    int pieces = 0;                  // in the whole list
    int counted = 0;                 // the player's FrequencyCount: at most MaxFrequencies
    int sounding = 0;                // of those, the pieces that are heard
    PieceCheck firstSounding;        // position 0 when none is heard
    std::vector<PieceCheck> remarks; // every counted piece that is not a plain Number, or is divided
};

// Checks a list the way ParseFrequencyList reads it; `outputRate` is the
// sound output's sample rate.
FrequencyListCheck CheckFrequencyList(const QString &frecvente, double outputRate);

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
