// The main window's part in the user's own treatments: they are read after
// the catalogue and listed after it, and the list's commands work on them.
#include "app/list_commands.h"
#include "app/mainwindow.h"
#include "app/own_treatment_actions.h"
#include "app/session_actions.h"
#include "catalogue/cataloguelistmodel.h"
#include "platform/application.h"
#include "platform/platform.h"
#include "treatment/own_treatments.h"
#include "treatment/treatment_finder.h"

#include <QLineEdit>
#include <QTreeView>

namespace helicordia {

void MainWindow::buildListCommands()
{
    own_ = std::make_unique<OwnTreatments>();
    finder_ = std::make_unique<TreatmentFinder>(catalogue_, own_.get());
    catalogueList_->setItemDelegate(new UnplayableRowsDelegate(catalogueList_->itemDelegate(), catalogueList_));
    listCommands_ = new ListCommands(catalogueList_, searchBox_, this);
    ownActions_ = new OwnTreatmentActions(*this, *own_, platform_);
    sessionActions_ = new SessionActions(*this, platform_);
    // Every group of commands on the list, in the menu's order.
    ownActions_->addCommands(*listCommands_);
    listCommands_->addSeparator();
    listCommands_->add("historyItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "History…"),
                       QKeySequence(Qt::CTRL | Qt::Key_H), [this] {
                           if (showHistory_)
                               showHistory_();
                       });
    listCommands_->addSeparator();
    sessionActions_->addCommands(*listCommands_);
}

void MainWindow::LoadOwnTreatments()
{
    const QString notice = own_->load(platform_.userFile(QLatin1String(OwnTreatmentsFileName)));
    if (!notice.isEmpty())
        platform_.message(ApplicationTitle, notice);
    model_->setOwnEntries(own_.get());
}

void MainWindow::setToneEngine(ToneEngine &engine)
{
    ownActions_->setToneEngine(&engine);
}

EntryRef MainWindow::selectedEntry() const
{
    const QModelIndex current = catalogueList_->currentIndex();
    return model_ && current.isValid() ? model_->entryAt(current.row()) : EntryRef{};
}

void MainWindow::showEntry(EntryRef entry, int row)
{
    if (!model_)
        return;
    FillList(searchBox_->text().trimmed());
    int target = entry.isValid() ? model_->rowOf(entry) : -1;
    if (entry.isValid() && target < 0 && !searchBox_->text().isEmpty()) {
        searchBox_->setText(QString()); // searches for everything
        target = model_->rowOf(entry);
    }
    if (target < 0 && row >= 0)
        target = std::min(row, model_->rowCount() - 1);
    if (target < 0)
        return;
    const QModelIndex index = model_->index(target, 0);
    catalogueList_->setCurrentIndex(index);
    catalogueList_->scrollTo(index);
}

} // namespace helicordia
