#include "app/session_actions.h"

#include "app/list_commands.h"
#include "app/mainwindow.h"
#include "app/session_window.h"
#include "platform/platform.h"
#include "treatment/treatment_finder.h"

#include <QScreen>

#include <algorithm>

namespace helicordia {

SessionActions::SessionActions(MainWindow &window, Platform &platform)
    : QObject(&window), main_(window), platform_(platform)
{
}

SessionActions::~SessionActions()
{
    delete window_; // a window of its own, not a child of the main window
}

void SessionActions::addCommands(ListCommands &commands)
{
    commands.add(
        "addToSessionItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "Add to session"),
        QKeySequence(Qt::Key_Insert), [this] { addSelected(); }, [this] { return canAdd(); });
    commands.add("sessionItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "Session…"), QKeySequence(),
                 [this] { showWindow(); });
}

void SessionActions::setPlayer(std::function<void(const SessionPlan &)> play, std::function<float()> volume)
{
    play_ = std::move(play);
    volume_ = std::move(volume);
    if (window_) {
        window_->setPlayer(play_);
        window_->setExportVolume(volume_);
    }
}

bool SessionActions::windowBuilt() const
{
    return !window_.isNull();
}

bool SessionActions::canAdd() const
{
    const auto found = main_.finder().entry(main_.selectedEntry());
    return found && found->playable();
}

SessionWindow &SessionActions::sessionWindow()
{
    if (!window_) {
        window_ = new SessionWindow(main_.finder(), platform_);
        window_->setPlayer(play_);
        window_->setExportVolume(volume_);
        window_->keepIn(platform_.userFile(QLatin1String(LastSessionFileName)));
    }
    return *window_;
}

void SessionActions::addSelected()
{
    const auto found = main_.finder().entry(main_.selectedEntry());
    if (!found || !found->playable())
        return;
    const bool first = !window_ || !window_->isVisible();
    sessionWindow().addTreatment(*found);
    if (first)
        showWindow();
}

void SessionActions::showWindow()
{
    SessionWindow &window = sessionWindow();
    if (!window.isVisible() && !placed_) {
        // Beside the main window where the screen has room, so it covers neither.
        placed_ = true;
        const QRect main = main_.frameGeometry();
        const QRect screen = main_.screen() ? main_.screen()->availableGeometry() : QRect();
        // The side with more room, kept on the screen.
        QPoint at(main.right() + 8, main.top());
        if (screen.isValid()) {
            if (screen.right() - main.right() < main.left() - screen.left())
                at.setX(main.left() - 8 - window.width());
            at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() - window.width())));
        }
        window.move(at);
    }
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace helicordia
