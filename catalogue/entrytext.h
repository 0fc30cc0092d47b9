#pragma once

#include <QString>

// Text rules that turn a catalogue line into the text of its list item, and a
// list item's text back into the entry's number, name and tooltip title.
//
// A catalogue line is playable when it contains the separator " - " (only the
// first occurrence counts): the text before it is the name, the text after it
// the comma-separated frequency list. Any other line is descriptive.
//
// A list text is: marker ("#" playable, "_" descriptive), the entry number with
// at least four digits, ". ", then the name part (for a playable line the name
// with the space that opens the separator; for a descriptive line the line).
namespace helicordia {

inline constexpr QStringView EntrySeparator = u" - ";

// Position of the first separator in `line` (0-based), or -1.
qsizetype FindEntrySeparator(QStringView line);

QString FormatEntryText(const QString &line, int number);

// The number written after the marker (characters 2 to 6, read as a decimal
// number and rounded); 0 when there is none.
int EntryNumber(const QString &text);

// The name part of a list text: everything after the number and ". ".
QString EntryName(const QString &text);

// The name part up to (not including) its first "("; the whole name part when
// it has none. Nothing is trimmed.
QString EntryTitle(const QString &text);

// The frequency list of a playable catalogue line, without spaces at its ends.
// Empty for a line without the separator.
QString EntryFrequencies(const QString &line);

// The refusal shown when a descriptive entry (list text `text`) is played.
QString NotPlayableMessage(const QString &text);

} // namespace helicordia
