// The main window's texts in the chosen interface language, and the two
// language items of the Options menu.
#include "app/list_commands.h"
#include "app/main_window_access.h"
#include "app/mainwindow.h"
#include "catalogue/cataloguelistmodel.h"
#include "ui/link_label.h"
#include "ui/picture_label.h"

#include <QAction>
#include <QLabel>

namespace helicordia {

void MainWindow::retranslate()
{
    searchCaption_->setText(tr("&Find health problems:"));
    playCaption_->setText(tr("Play"));
    optionsLink_->setText(tr("Options"));
    helpButton_->setToolTip(tr("Help"));
    recentLink_->setText(tr("Recent"));
    matchCountLabel_->setToolTip(tr("Entries listed"));
    aboutItem_->setText(tr("About"));
    helpItem_->setText(tr("Help"));
    exitItem_->setText(tr("Exit"));
    if (listCommands_)
        listCommands_->retranslate();
    if (model_)
        emit model_->headerDataChanged(Qt::Horizontal, 0, 0);
    DescribeMainWindow(*this);
}

void MainWindow::chooseLanguage(InterfaceLanguage language)
{
    const bool romanian = language == InterfaceLanguage::Romanian;
    romanianItem_->setChecked(romanian);
    englishItem_->setChecked(!romanian);
    language_.switchTo(language);
}

} // namespace helicordia
