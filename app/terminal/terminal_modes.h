// The modes that work from a terminal without any window: list the catalogue
// for a search text, play an entry through the sound card, or render it to an
// audio file. Only Qt Core: no display is needed.
#pragma once

#include "app/terminal/command_line.h"
#include "app/terminal/terminal_player.h"

#include <optional>

#include <QString>
#include <QStringList>

class QTextStream;

namespace helicordia {

class Catalogue;
class OwnTreatments;
class Platform;
class TreatmentFinder;

// --list: the list texts the main window shows for the search text (the
// user's own treatments after the catalogue), then the match count as its
// label shows it.
void PrintCatalogueList(const Catalogue &catalogue, const OwnTreatments *own, const QString &search, QTextStream &out);

// --add: adds one of the user's own treatments, "name - f1,f2,…", with the
// editor's checks. Returns the exit status: 0 added, 2 refused (one line
// says why), 1 not saved.
int AddOwnTreatment(OwnTreatments &own, const QString &line, QTextStream &out, QTextStream &err);

// --import: adds the lines of a file as the window's import does, without
// asking, and prints the summary. Returns 0 when something was added, 2
// when no line could be, 1 when the file could not be read or saved.
int ImportOwnTreatments(OwnTreatments &own, const QString &path, QTextStream &out, QTextStream &err);

// --history: the history as a table, newest first (only the last `days`
// days when more than 0); skipped lines are noted on `err`.
void PrintHistory(const Platform &platform, int days, QTextStream &out, QTextStream &err);

// --resume: a treatment cut short goes into the history as interrupted; the
// question is asked on the terminal and answered on standard input. The
// player's settings to play it on from where it stopped, or nothing (no such
// treatment, or the answer was no: then it is forgotten).
std::optional<TerminalPlayer::Settings> ResumeSettings(Platform &platform, const TreatmentFinder &finder,
                                                       const CommandLineRequest &request, QTextStream &out,
                                                       QTextStream &err);

// --list-outputs: asks the sound server (for at most a few seconds) and
// prints each output's name, a tab and its description. Returns 0, or 1
// with one line saying why it cannot.
int PrintSoundOutputs(QTextStream &err);

// Does what the command line asks when it is not the window: reports bad
// arguments (status 2), answers --help and --version, or runs a terminal mode.
// Returns the exit status. `platform` finds the catalogue; its messages are
// written to the terminal instead.
int RunCommandLine(const CommandLineRequest &request, int argc, char *argv[], Platform &platform);

} // namespace helicordia
