// The few places where the program touches the world outside its windows:
// message boxes, ending the program, its folder, the settings store and the
// user's web browser / mail program. The program makes one real platform at
// start and hands it to whatever needs it; tests hand in their own to watch
// what the program did without showing dialogs, exiting, or touching the real
// user's settings.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QSettings;
class QUrl;

namespace helicordia {

class Platform {
public:
    virtual ~Platform() = default;

    // Shows a message box with an OK button and returns when the user closed it.
    virtual void message(const QString &caption, const QString &text) = 0;
    // Asks a question with Yes and No buttons; true for Yes. One that cannot
    // ask answers No, so that nothing is changed without the user's word.
    virtual bool question(const QString &caption, const QString &text);
    // Ends the program at once with the given exit status. Callers return right
    // after it, so a test's replacement may simply record the call.
    virtual void endProgram(int status) = 0;
    // The folder that holds db.db, Background_5.jpg and Dic.ini.
    virtual QString programFolder() const = 0;
    // Where an installed program finds db.db and Background_5.jpg when they are
    // not in its own folder (share/helicordia beside its bin folder); empty
    // when there is no such place.
    virtual QString installedDataFolder() const { return QString(); }
    // The user's own data folder (own treatments, sessions, history):
    // ~/.local/share/Helicordia, following XDG_DATA_HOME. May not exist yet.
    virtual QString userDataFolder() const;
    // The per-user settings store, application "Verbarium". Nothing when its
    // file is there but is not a regular file (a FIFO would hold the start-up,
    // a device would be replaced at exit); settingsRefusal() then says why.
    virtual std::unique_ptr<QSettings> openSettings() = 0;
    // Why the last openSettings() gave nothing (a sentence naming the file);
    // empty when it did not refuse.
    virtual QString settingsRefusal() const { return QString(); }
    // Hands a URL to the user's own programs; never goes through a shell.
    virtual bool openUrl(const QUrl &url) = 0;
    // Hands a URL over like openUrl, and calls `notOpened` when no program
    // took it: at once, or a moment later when the desktop's opener only
    // finds that out once it runs. By default, openUrl's own answer.
    virtual void openUrlOrReport(const QUrl &url, std::function<void()> notOpened);

    // The full path of a file in the user's data folder.
    QString userFile(const QString &name) const;
    // The full path of a file in the program folder.
    QString programFile(const QString &name) const;

    // True for an installed program (its folder is the install's bin): its
    // catalogue is not in its own folder but in the installed data folder.
    bool installed() const;

    // The full path of a shipped data file (db.db, Background_5.jpg): the one
    // in the program folder when it is there, so that the build folder and a
    // portable copy keep working, otherwise the one in the installed data
    // folder. When neither exists, the program folder's path, so that a report
    // names it.
    QString dataFile(const QString &name) const;
};

} // namespace helicordia
