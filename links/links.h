// Opening web pages and new e-mail messages in the user's own programs.
// Everything goes through the desktop's URL handler; nothing is ever run as a
// command line, so a link cannot smuggle in commands.
#pragma once

#include <QString>

#include <functional>

class QUrl;

namespace helicordia {

class Platform;

class LinkLauncher {
public:
    explicit LinkLauncher(Platform &platform) : platform_(platform) {}

    // Opens a link. A link written with a leading backslash and the "mailto"
    // scheme is a mail link: its spaces are encoded as %20 and it is opened as
    // a mail URL. Anything else (without its leading backslash, if it had one)
    // goes to ShellOpen. Returns false when the mail link could not be handed
    // over.
    bool OpenLink(const QString &link) const;

    // Hands a target (a web address) to the user's programs. An empty target
    // opens nothing. The result of the hand-over is not reported.
    void ShellOpen(const QString &target) const;

    // Starts a new e-mail message to the maker with the fixed subject; failures
    // are silent.
    void MailCommand() const;

    // Opens the program's own help page, a file, and calls `notOpened` when
    // no program took it (at once, or a moment later).
    void OpenHelpPage(const QString &file, std::function<void()> notOpened) const;

private:
    // The one door to the desktop's URL handler.
    bool HandOver(const QUrl &url) const;

    Platform &platform_;
};

// The mail link's space encoding: every space becomes "%20", nothing else
// changes.
QString EncodeMailSpaces(const QString &link);

// Whether a URL may be handed to the desktop: http and https addresses with a
// host, mailto addresses, and the program's own help page (`ownHelpFile`) as a
// file URL. Nothing else leaves the program, and nothing that starts with "-"
// (which an opener would take for an option).
bool MayLeaveProgram(const QUrl &url, const QString &ownHelpFile);

// The URL the mail command opens.
QString MailCommandUrl();

} // namespace helicordia
