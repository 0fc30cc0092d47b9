// The program's command line: one table of every option the program knows
// (its own and the window system's that it hands on to Qt), read by one
// parser. It is read before any window or display is opened, so that a
// question, a terminal mode or a typing mistake is answered in the terminal
// and nothing else happens. Only Qt Core.
#pragma once

#include "treatment/export/audio_export.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace helicordia {

// What the program does for its arguments: open its window, answer a
// question, or work in one of the terminal modes, which need no display.
enum class RunMode { Window, Help, Version, List, Play, Render, Add, Import, History, Resume, PlaySession, RenderSession, ListOutputs };

// Everything the arguments ask for.
struct CommandLineRequest {
    RunMode mode = RunMode::Window;
    QString error;   // not empty: the arguments cannot be used (exit status 2)
    QString program; // the program's own name, for the messages

    QString search;        // --list TEXT
    QString entry;         // an entry number, or a search text naming one playable entry
    QString output;        // --render: the file to write
    QString own;           // --add: "name - f1,f2,…"; --import: the file to read
    QString session;       // --play-session, --render-session: the session file
    int lengthSeconds = 0; // 0: the entry's suggested length
    int rate = DefaultExportRate;
    int volumeSlider = 103;             // on the player's volume slider, 0..1024
    int panSlider = 0;                  // on the player's pan slider, -512..512
    bool wav16 = false;                 // --bits 16: 16-bit WAV instead of float
    bool bitsGiven = false;             // --bits was given (it applies only to WAV)
    int historyDays = 0;                // --history: the last so many days; 0 for all
    std::optional<QString> soundOutput; // --output: the sound server's output to play on

    bool opensWindow() const { return mode == RunMode::Window && error.isEmpty(); }
    bool operator==(const CommandLineRequest &) const = default;
};

// Reads the arguments (the program's own path first). --name=value and
// --name value mean the same, except that a value which looks like an option
// itself (-word, --word; "-50" does not) must follow "=". -name is read as
// --name.
CommandLineRequest ParseCommandLine(const QStringList &arguments);

// The --help text, written from the same table the parser reads.
QString CommandLineHelp(const QString &program);

// "hh:mm:ss" (hours of any length; "mm:ss" and plain seconds also read) in
// seconds; nothing when the text is not a duration.
std::optional<int> ParseDuration(const QString &text);

// argv as text, in the system's encoding.
QStringList ArgumentsOf(int argc, char *argv[]);

} // namespace helicordia
