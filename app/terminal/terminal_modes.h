// The modes that work from a terminal without any window: list the catalogue
// for a search text, play an entry through the sound card, or render it to an
// audio file. Only Qt Core: no display is needed.
#pragma once

#include "treatment/export/audio_export.h"

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;
class QTextStream;

namespace helicordia {

class Catalogue;
class Platform;

struct TerminalRequest {
    enum class Mode { List, Play, Render };
    Mode mode = Mode::List;
    QString search;        // --list TEXT
    QString entry;         // an entry number, or a search text naming one playable entry
    QString output;        // --render: the file to write
    int lengthSeconds = 0; // 0: the entry's suggested length
    int rate = DefaultExportRate;
    int volumeSlider = 103; // on the player's volume slider, 0..1024
    int panSlider = 0;      // on the player's pan slider, -512..512
    bool wav16 = false;     // --bits 16: 16-bit WAV instead of float
};

// Reads the arguments (program path first). Nothing when none of --list,
// --play, --render is there (the window starts); otherwise the request, or in
// `error` a one-line reason why the arguments cannot be used.
std::optional<TerminalRequest> ParseTerminalArguments(const QStringList &arguments, QString *error);

// "hh:mm:ss" (hours of any length; "mm:ss" and plain seconds also read) in
// seconds; nothing when the text is not a duration.
std::optional<int> ParseDuration(const QString &text);

// An entry chosen on the command line.
struct EntryChoice {
    int status = 0; // 0: playable entry found; 1: descriptive entry; 2: none or several
    int number = 0;
    QString listText;
    QString message;     // for status 1 and 2
    QStringList matches; // status 2 after a search: the list texts found
};
EntryChoice ChooseEntry(const Catalogue &catalogue, const QString &entry);

// --list: the list texts the main window shows for the search text, then the
// match count as its label shows it.
void PrintCatalogueList(const Catalogue &catalogue, const QString &search, QTextStream &out);

// Runs the program in a terminal mode when the arguments ask for one and
// returns its exit status; nothing when the window should start instead (or
// --help / --version are to be answered). `platform` finds the catalogue; its
// messages are written to the terminal instead.
std::optional<int> RunTerminalMode(int argc, char *argv[], Platform &platform);

// Adds the terminal modes and their options to the --help text.
void DescribeTerminalModes(QCommandLineParser &parser);

} // namespace helicordia
