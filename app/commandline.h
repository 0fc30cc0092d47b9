// The program's command line: --help, --version, and the options of the
// window system that the program hands on to Qt. It is read before any window
// or display is opened, so that a question or a typing mistake is answered in
// the terminal and nothing else happens.
#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

class QTextStream;

namespace helicordia {

class CommandLine {
public:
    CommandLine();

    // More options may be added before handle().
    QCommandLineParser &parser() { return parser_; }

    // Reads the arguments (the program's own path first). Answers --help and
    // --version on out, and reports a bad argument on err. Returns the exit
    // status when the program should end here (0 after an answer, 2 after a bad
    // argument), or nothing when it should start as usual.
    std::optional<int> handle(const QStringList &arguments, QTextStream &out, QTextStream &err);

private:
    QCommandLineParser parser_;
};

// argv as text, in the system's encoding.
QStringList ArgumentsOf(int argc, char *argv[]);

} // namespace helicordia
