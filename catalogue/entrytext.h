#pragma once

#include <QString>

#include <optional>

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

// The user's own treatments are listed after the catalogue, each with this
// marker in place of "#" or "_" («+0003. My set »), whether it can be played
// or not. The number after it is the treatment's line in the user's file.
inline constexpr char16_t OwnEntryMarker = u'+';

// One listed entry: a catalogue entry (its line in the catalogue file) or one
// of the user's own treatments (its line in the user's file).
struct EntryRef {
    bool own = false;
    int number = 0; // from 1; 0 is no entry
    bool isValid() const { return number > 0; }
    bool operator==(const EntryRef &) const = default;
};

// FormatEntryText with OwnEntryMarker as the marker.
QString FormatOwnEntryText(const QString &line, int number);

// "42" for catalogue entry 42, "+3" for the user's own treatment 3.
QString EntryIdText(EntryRef ref);

// Reads an entry's id as typed: "42", "0042", "+3", "+0003" (spaces around
// are ignored). Nothing for any other text.
std::optional<EntryRef> ParseEntryId(QStringView text);

// The number the player is handed (Player_Start's numar): the catalogue
// entry's number, or minus the number of the user's own treatment.
int PlayerNumber(EntryRef ref);
EntryRef EntryOfPlayerNumber(int numar);

} // namespace helicordia
