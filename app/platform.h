// The few places where the program touches the world outside its windows:
// message boxes, ending the program, its folder, the settings store and the
// user's web browser / mail program. Tests replace these to watch what the
// program did without showing dialogs, exiting, or touching the real user's
// settings.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;
class QSettings;
class QUrl;

namespace helicordia {

struct Platform {
    // Shows a message box with an OK button and returns when the user closed it.
    std::function<void(QWidget *parent, const QString &caption, const QString &text)> message;
    // Ends the program at once with the given exit status. Callers return right
    // after it, so a test's replacement may simply record the call.
    std::function<void(int status)> endProgram;
    // The folder that holds db.db, Background_5.jpg and Dic.ini.
    std::function<QString()> programFolder;
    // Where an installed program finds db.db and Background_5.jpg when they are
    // not in its own folder: share/helicordia beside its bin folder.
    std::function<QString()> installedDataFolder;
    // The per-user settings store, application "Verbarium".
    std::function<std::unique_ptr<QSettings>()> openSettings;
    // Hands a URL to the user's own programs; never goes through a shell.
    std::function<bool(const QUrl &)> openUrl;
    // Set by the main window: saves the settings and the recent list. Run before
    // the program ends because of a failure elsewhere, so nothing is lost.
    std::function<void()> saveBeforeAbruptEnd;
};

// The one instance, filled with the real implementations.
Platform &platform();

// Restores the real implementations (tests call it between cases).
void resetPlatform();

// Convenience: the full path of a file in the program folder.
QString programFile(const QString &name);

// The full path of a shipped data file (db.db, Background_5.jpg): the one in
// the program folder when it is there, so that the build folder and a portable
// copy keep working, otherwise the one in the installed data folder. When
// neither exists, the program folder's path, so that a report names it.
QString dataFile(const QString &name);

} // namespace helicordia
