// The list's session commands: "Add to session" (Insert, in the list and the
// search box) adds the selected entry to the session and opens the session
// window the first time; "Session…" opens the window. The window is made when
// it is first needed, with the last session read back from the user's data
// folder.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

namespace helicordia {

class ListCommands;
class MainWindow;
class Platform;
class SessionPlan;
class SessionWindow;

class SessionActions : public QObject {
    Q_OBJECT
public:
    SessionActions(MainWindow &window, Platform &platform);
    ~SessionActions() override;

    void addCommands(ListCommands &commands);
    // Where Play sends a session, and the volume an export is written at.
    void setPlayer(std::function<void(const SessionPlan &)> play, std::function<float()> volume);

    void addSelected();
    void showWindow();
    // The session window, made (and the last session read) on first use.
    SessionWindow &sessionWindow();
    bool windowBuilt() const;

private:
    bool canAdd() const;

    MainWindow &main_;
    Platform &platform_;
    QPointer<SessionWindow> window_;
    std::function<void(const SessionPlan &)> play_;
    std::function<float()> volume_;
    bool placed_ = false;
};

} // namespace helicordia
