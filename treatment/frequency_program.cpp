#include "treatment/frequency_program.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace helicordia {

namespace {

// Formats one time piece with at least two digits and its unit letter.
QString timePiece(long long v, char unit)
{
    QString digits = QString::number(v < 0 ? -v : v);
    if (digits.size() < 2)
        digits.prepend(QLatin1Char('0'));
    if (v < 0)
        digits.prepend(QLatin1Char('-'));
    return digits + QLatin1Char(unit);
}

long long floorDiv(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// The number at the start of a blank-free text: its value and how many
// characters it took (none: no number there).
struct NumberRead {
    double value = 0;
    std::size_t length = 0;
};

std::u16string withoutBlanks(const QString &piece)
{
    std::u16string s;
    s.reserve(static_cast<std::size_t>(piece.size()));
    for (QChar c : piece)
        if (!isBlank(c))
            s.push_back(c.unicode());
    return s;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// An integer in the given base after its two-character prefix ("&H", "&O").
NumberRead readRadixInteger(const std::u16string &s, int base)
{
    NumberRead read;
    std::size_t i = 2;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i];
        int d;
        if (isDigit(c))
            d = c - u'0';
        else if (c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            break;
        if (d >= base)
            break;
        read.value = read.value * base + d;
    }
    read.length = i > 2 ? i : 0;
    return read;
}

// The sign, digits and decimal point of a decimal number, as plain ASCII
// for from_chars, with what is needed to tell an overflow from an underflow.
struct Mantissa {
    std::string text;
    std::size_t end = 0;
    bool negative = false;
    bool anyDigit = false;
    bool nonZero = false;
    int integerDigits = 0; // significant digits before the point
    int leadingFractionZeros = 0;
};

Mantissa scanMantissa(const std::u16string &s)
{
    Mantissa m;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        m.negative = s[i] == u'-';
        ++i;
    }
    for (; i < s.size() && isDigit(s[i]); ++i) {
        m.text.push_back(char(s[i]));
        m.anyDigit = true;
        m.nonZero = m.nonZero || s[i] != u'0';
        if (m.nonZero)
            ++m.integerDigits;
    }
    if (i < s.size() && s[i] == u'.') {
        m.text.push_back('.');
        ++i;
        for (; i < s.size() && isDigit(s[i]); ++i) {
            m.text.push_back(char(s[i]));
            m.anyDigit = true;
            if (s[i] != u'0')
                m.nonZero = true;
            else if (!m.nonZero)
                ++m.leadingFractionZeros;
        }
    }
    m.end = i;
    return m;
}

// An exponent (E or D, optional sign, digits) at `i`: its value and where it
// ends; `i` itself when there is none.
std::size_t scanExponent(const std::u16string &s, std::size_t i, long long &exponent)
{
    if (i >= s.size() || (s[i] != u'E' && s[i] != u'e' && s[i] != u'D' && s[i] != u'd'))
        return i;
    std::size_t j = i + 1;
    const bool negative = j < s.size() && s[j] == u'-';
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
        ++j;
    if (j >= s.size() || !isDigit(s[j]))
        return i;
    std::string digits;
    for (; j < s.size() && isDigit(s[j]); ++j)
        if (digits.size() < 12)
            digits.push_back(char(s[j]));
    exponent = negative ? -std::stoll(digits) : std::stoll(digits);
    return j;
}

NumberRead readDecimal(const std::u16string &s)
{
    Mantissa m = scanMantissa(s);
    if (!m.anyDigit)
        return {};
    long long exponent = 0;
    const std::size_t end = scanExponent(s, m.end, exponent);
    if (!m.nonZero)
        return {0.0, end};
    if (end != m.end)
        m.text += 'e' + std::to_string(exponent);
    double value = 0;
    const auto result = std::from_chars(m.text.data(), m.text.data() + m.text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: tell the two apart by the
        // position of the first significant digit.
        const long long magnitude =
            m.integerDigits > 0 ? m.integerDigits + exponent : exponent - m.leadingFractionZeros;
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    }
    return {m.negative ? -value : value, end};
}

// Calls `visit(position, piece)` for the pieces of a comma-separated list as
// the player cuts it (a comma appended first), the first `limit` of them.
// Returns how many pieces the list has in all.
template <typename Visit> int forEachPiece(const QString &frecvente, int limit, Visit visit)
{
    const QString list = frecvente + QLatin1Char(',');
    qsizetype p = 0;
    int count = 0;
    while (p < list.size() && count < limit) {
        const qsizetype comma = list.indexOf(QLatin1Char(','), p);
        if (comma < 0)
            break;
        ++count;
        visit(count, QStringView(list).mid(p, comma - p));
        p = comma + 1;
    }
    return count + int(QStringView(list).mid(p).count(QLatin1Char(',')));
}

} // namespace

QString AfiseazaTimp(int valoare)
{
    const long long v = valoare;
    const long long h = floorDiv(v, 3600);
    const long long m = floorDiv(v - 3600 * h, 60);
    const long long s = v - 3600 * h - 60 * m;
    return timePiece(h, 'h') + QLatin1Char(':') + timePiece(m, 'm') + QLatin1Char(':') + timePiece(s, 's');
}

PieceReading ReadPiece(const QString &piece)
{
    // Blanks do not count anywhere, so drop them first.
    const std::u16string s = withoutBlanks(piece);
    NumberRead read;
    if (s.size() >= 2 && s[0] == u'&') {
        if (s[1] == u'H' || s[1] == u'h')
            read = readRadixInteger(s, 16);
        else if (s[1] == u'O' || s[1] == u'o')
            read = readRadixInteger(s, 8);
    } else {
        read = readDecimal(s);
    }
    return {read.value, read.length > 0, read.length > 0 && read.length == s.size()};
}

double NumericValue(const QString &piece)
{
    return ReadPiece(piece).value;
}

std::optional<float> FrequencyValue(const QString &piece)
{
    const double value = NumericValue(piece);
    if (!(std::fabs(value) <= double(FLT_MAX)))
        return std::nullopt;
    float f = static_cast<float>(value);
    if (f > 20000.0f)
        f = static_cast<float>(static_cast<double>(f) / 20.0855);
    return f;
}

int ParseFrequencyList(const QString &frecvente, FrequencyTable &table)
{
    const int pieces = forEachPiece(frecvente, MaxFrequencies, [&table](int position, QStringView piece) {
        // A piece that does not fit a float is silent, like any other
        // unreadable piece; it never keeps an earlier program's frequency.
        table[static_cast<std::size_t>(position)] = FrequencyValue(piece.toString()).value_or(0.0f);
    });
    return std::min(pieces, MaxFrequencies);
}

FrequencyListCheck CheckFrequencyList(const QString &frecvente, double outputRate)
{
    FrequencyListCheck check;
    check.pieces = forEachPiece(frecvente, MaxFrequencies, [&](int position, QStringView text) {
        const QString piece = text.toString();
        const PieceReading reading = ReadPiece(piece);
        PieceCheck p;
        p.position = position;
        p.text = piece.trimmed();
        p.hertz = FrequencyValue(piece).value_or(0.0f);
        p.divided = std::fabs(reading.value) <= double(FLT_MAX) && static_cast<float>(reading.value) > 20000.0f;
        const double heard = std::fabs(double(p.hertz));
        p.plays = heard > 0 && heard < outputRate / 2;
        if (!reading.wholeNumber)
            p.kind = PieceKind::Unreadable;
        else if (!p.plays)
            p.kind = PieceKind::Silent;
        else if (heard < LowestHeardHz)
            p.kind = PieceKind::Low;
        else if (heard > HighestHeardHz)
            p.kind = PieceKind::High;
        ++check.counted;
        if (p.plays && ++check.sounding == 1)
            check.firstSounding = p;
        if (p.kind != PieceKind::Number || p.divided)
            check.remarks.push_back(std::move(p));
    });
    return check;
}

int SuggestedDuration(int frequencyCount)
{
    return frequencyCount * SecondsPerFrequency;
}

SliderSetup TreatmentSliderSetup(int frequencyCount)
{
    const int s = SuggestedDuration(frequencyCount);
    SliderSetup setup;
    setup.maximum = 2 * s;
    if (setup.maximum < 3600)
        setup.maximum = 3600;
    setup.value = s;
    setup.minimum = frequencyCount * 10;
    setup.smallStep = 10;
    setup.largeStep = 60;
    return setup;
}

} // namespace helicordia
