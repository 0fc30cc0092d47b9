#include "treatment/frequency_program.h"

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

// Reads an integer in the given base from the blanks-free text.
double readRadixInteger(const std::u16string &s, std::size_t i, int base)
{
    double value = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i];
        int d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            break;
        if (d >= base)
            break;
        value = value * base + d;
    }
    return value;
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

double NumericValue(const QString &piece)
{
    // Blanks do not count anywhere, so drop them first.
    std::u16string s;
    s.reserve(piece.size());
    for (QChar c : piece)
        if (!isBlank(c))
            s.push_back(c.unicode());

    std::size_t i = 0;
    if (s.size() >= 2 && s[0] == u'&') {
        const char16_t kind = s[1];
        if (kind == u'H' || kind == u'h')
            return readRadixInteger(s, 2, 16);
        if (kind == u'O' || kind == u'o')
            return readRadixInteger(s, 2, 8);
        return 0;
    }

    std::string number; // plain ASCII for from_chars
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    int integerDigits = 0; // significant digits before the point
    int leadingFractionZeros = 0;
    bool seenNonZero = false;
    bool anyDigit = false;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        number.push_back(char(s[i]));
        anyDigit = true;
        if (s[i] != u'0')
            seenNonZero = true;
        if (seenNonZero)
            ++integerDigits;
    }
    if (i < s.size() && s[i] == u'.') {
        number.push_back('.');
        ++i;
        for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
            number.push_back(char(s[i]));
            anyDigit = true;
            if (s[i] != u'0')
                seenNonZero = true;
            else if (!seenNonZero)
                ++leadingFractionZeros;
        }
    }
    if (!anyDigit)
        return 0;
    long long exponent = 0;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) {
            expNegative = s[j] == u'-';
            ++j;
        }
        if (j < s.size() && s[j] >= u'0' && s[j] <= u'9') {
            std::string expDigits;
            for (; j < s.size() && s[j] >= u'0' && s[j] <= u'9'; ++j)
                if (expDigits.size() < 12)
                    expDigits.push_back(char(s[j]));
            exponent = std::stoll(expDigits);
            if (expNegative)
                exponent = -exponent;
            number += 'e';
            number += std::to_string(exponent);
        }
    }
    if (!seenNonZero)
        return 0;

    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: tell the two apart by the
        // position of the first significant digit.
        const long long magnitude = integerDigits > 0 ? integerDigits + exponent : exponent - leadingFractionZeros;
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
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
    const QString list = frecvente + QLatin1Char(',');
    const qsizetype length = list.size();
    qsizetype p = 0; // 0-based here
    int count = 0;
    while (p < length && count < MaxFrequencies) {
        const qsizetype comma = list.indexOf(QLatin1Char(','), p);
        if (comma < 0)
            break;
        ++count;
        // A piece that does not fit a float is silent, like any other
        // unreadable piece; it never keeps an earlier program's frequency.
        table[count] = FrequencyValue(list.mid(p, comma - p)).value_or(0.0f);
        p = comma + 1;
    }
    return count;
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
