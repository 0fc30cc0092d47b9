// The modes that work from a terminal without any window: list the catalogue
// for a search text, play an entry through the sound card, or render it to an
// audio file. Only Qt Core: no display is needed.
#pragma once

#include "app/terminal/command_line.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace helicordia {

class Catalogue;
class Platform;

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

// Does what the command line asks when it is not the window: reports bad
// arguments (status 2), answers --help and --version, or runs a terminal mode.
// Returns the exit status. `platform` finds the catalogue; its messages are
// written to the terminal instead.
int RunCommandLine(const CommandLineRequest &request, int argc, char *argv[], Platform &platform);

} // namespace helicordia
