#include "catalogue/entrytext.h"

#include <QCoreApplication>

#include <cmath>
#include <limits>

namespace helicordia {

namespace {

// Removes blanks (spaces only, not tabs) from both ends.
QStringView TrimSpaces(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

// Reads the decimal number at the start of `s` the way the list text was
// written: optional blanks, optional sign, digits, optional "." and digits.
// Rounds half to even and clamps to the int range; no digits gives 0.
int ReadLeadingNumber(QStringView s)
{
    qsizetype i = 0;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) {
        negative = s[i] == u'-';
        ++i;
    }
    double value = 0;
    bool any = false;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        value = value * 10 + (s[i].unicode() - u'0');
        any = true;
        ++i;
    }
    if (i < s.size() && s[i] == u'.') {
        ++i;
        double scale = 0.1;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            value += (s[i].unicode() - u'0') * scale;
            scale /= 10;
            any = true;
            ++i;
        }
    }
    if (!any)
        return 0;
    if (negative)
        value = -value;
    value = std::nearbyint(value); // default rounding mode: half to even
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// Where the name part of a list text starts (0-based). Four-digit numbers give
// the fixed position 7; a longer number pushes the name part along so that a
// five-digit entry does not gain a stray leading space.
qsizetype NamePartStart(QStringView text)
{
    qsizetype digits = 0;
    while (1 + digits < text.size() && text[1 + digits] >= u'0' && text[1 + digits] <= u'9')
        ++digits;
    return std::max<qsizetype>(7, 1 + digits + 2);
}

} // namespace

qsizetype FindEntrySeparator(QStringView line)
{
    return line.indexOf(EntrySeparator, 0, Qt::CaseInsensitive);
}

QString FormatEntryText(const QString &line, int number)
{
    const qsizetype sep = FindEntrySeparator(line);
    const bool playable = sep >= 0;

    QString digits = QString::number(std::abs(static_cast<long long>(number)));
    if (digits.size() < 4)
        digits = QString(4 - digits.size(), u'0') + digits;

    QString text;
    text.reserve(8 + (playable ? sep + 1 : line.size()));
    text += playable ? u'#' : u'_';
    if (number < 0)
        text += u'-';
    text += digits;
    text += u". ";
    if (playable)
        text += QStringView(line).left(sep + 1);
    else
        text += line;
    return text;
}

int EntryNumber(const QString &text)
{
    return ReadLeadingNumber(QStringView(text).mid(1, 5));
}

QString EntryName(const QString &text)
{
    const qsizetype start = NamePartStart(text);
    return start < text.size() ? text.mid(start) : QString();
}

QString EntryTitle(const QString &text)
{
    const QString name = EntryName(text);
    const qsizetype paren = name.indexOf(u'(');
    return paren >= 0 ? name.left(paren) : name;
}

QString EntryFrequencies(const QString &line)
{
    QStringView trimmed = TrimSpaces(line);
    qsizetype sep = FindEntrySeparator(trimmed);
    if (sep < 0) {
        // Trimming can swallow a separator that opens the line (" - 528"):
        // fall back to the line as it is.
        trimmed = line;
        sep = FindEntrySeparator(trimmed);
        if (sep < 0)
            return QString();
    }
    return TrimSpaces(trimmed.mid(sep + EntrySeparator.size())).toString();
}

QString NotPlayableMessage(const QString &text)
{
    return QCoreApplication::translate("EntryText",
                                       "Selectat item is not playable. Please carefully read the description!") +
           QStringLiteral("\r\n\r\n") + text;
}

QString FormatOwnEntryText(const QString &line, int number)
{
    QString text = FormatEntryText(line, number);
    text[0] = QChar(OwnEntryMarker);
    return text;
}

QString EntryIdText(EntryRef ref)
{
    return ref.own ? QChar(OwnEntryMarker) + QString::number(ref.number) : QString::number(ref.number);
}

std::optional<EntryRef> ParseEntryId(QStringView text)
{
    text = text.trimmed();
    EntryRef ref;
    if (text.startsWith(OwnEntryMarker)) {
        ref.own = true;
        text = text.mid(1);
    }
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    ref.number = text.toInt();
    if (!ref.isValid())
        return std::nullopt;
    return ref;
}

int PlayerNumber(EntryRef ref)
{
    return ref.own ? -ref.number : ref.number;
}

EntryRef EntryOfPlayerNumber(int numar)
{
    if (numar < 0 && numar != std::numeric_limits<int>::min())
        return EntryRef{true, -numar};
    return EntryRef{false, numar};
}

} // namespace helicordia
