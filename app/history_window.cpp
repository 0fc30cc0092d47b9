#include "app/history_window.h"

#include "app/history_chart.h"
#include "platform/application.h"
#include "platform/platform.h"
#include "platform/user_files.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace helicordia {

HistoryWindow::HistoryWindow(Platform &platform, QString historyPath, PlayAgain playAgain, QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), path_(std::move(historyPath)), playAgain_(std::move(playAgain))
{
    setObjectName(QStringLiteral("historyWindow"));
    resize(760, 560);
    chooseFile_ = [this](const QString &suggested) {
        return QFileDialog::getSaveFileName(this, tr("Export the history"), suggested,
                                            tr("CSV files (*.csv);;All files (*)"));
    };

    auto *layout = new QVBoxLayout(this);
    chart_ = new HistoryChart(this);
    layout->addWidget(chart_, 2);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("historySearch"));
    search_->setClearButtonEnabled(true);
    layout->addWidget(search_);
    table_ = new QTreeWidget(this);
    table_->setObjectName(QStringLiteral("historyTable"));
    table_->setRootIsDecorated(false);
    table_->setUniformRowHeights(true);
    table_->setColumnCount(4);
    table_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    table_->header()->setStretchLastSection(false);
    layout->addWidget(table_, 3);
    notes_ = new QLabel(this);
    notes_->setObjectName(QStringLiteral("historyNotes"));
    notes_->setWordWrap(true);
    notes_->hide();
    layout->addWidget(notes_);

    auto *buttons = new QDialogButtonBox(this);
    playButton_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    playButton_->setObjectName(QStringLiteral("playAgainButton"));
    exportButton_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    exportButton_->setObjectName(QStringLiteral("exportCsvButton"));
    QPushButton *closeButton = buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);

    connect(search_, &QLineEdit::textChanged, this, &HistoryWindow::fillTable);
    connect(search_, &QLineEdit::returnPressed, this, &HistoryWindow::playAgain);
    connect(table_, &QTreeWidget::activated, this, &HistoryWindow::playAgain);
    connect(table_, &QTreeWidget::currentItemChanged, this,
            [this] { playButton_->setEnabled(table_->currentItem() != nullptr); });
    connect(playButton_, &QPushButton::clicked, this, &HistoryWindow::playAgain);
    connect(exportButton_, &QPushButton::clicked, this, &HistoryWindow::exportCsv);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
    retranslate();
}

// The window's texts in the current language; the rows are written anew
// (their endings and dates are words and formats of the language too).
void HistoryWindow::retranslate()
{
    setWindowTitle(tr("History — %1").arg(ApplicationTitle));
    search_->setPlaceholderText(tr("Search by date, treatment or ending"));
    table_->setHeaderLabels({tr("Date"), tr("Treatment"), tr("Heard of planned"), tr("Ending")});
    playButton_->setText(tr("Play again"));
    exportButton_->setText(tr("Export CSV…"));
    fillTable();
}

void HistoryWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void HistoryWindow::reload(QDate today)
{
    History::Read read = History::read(path_);
    records_ = History::newestFirst(std::move(read.records), today, 0);
    chart_->setRecords(records_, today);
    notes_->setText(read.notes.join(QLatin1Char('\n')));
    notes_->setVisible(!read.notes.isEmpty());
    fillTable();
}

void HistoryWindow::fillTable()
{
    table_->clear();
    shown_.clear();
    QList<QTreeWidgetItem *> items;
    for (const HistoryRecord &record : records_) {
        if (!History::matches(record, search_->text()))
            continue;
        auto *item = new QTreeWidgetItem({History::dateText(record), History::treatmentText(record),
                                          History::heardOfPlanned(record), History::endingCell(record)});
        item->setForeground(3, HistoryChart::endingColour(record.ending));
        items << item;
        shown_.push_back(record);
    }
    table_->addTopLevelItems(items);
    for (int column : {0, 2, 3})
        table_->resizeColumnToContents(column);
    if (!items.isEmpty())
        table_->setCurrentItem(items.first());
    playButton_->setEnabled(!items.isEmpty());
}

void HistoryWindow::playAgain()
{
    const int row = table_->indexOfTopLevelItem(table_->currentItem());
    if (row < 0 || row >= int(shown_.size()) || !playAgain_)
        return;
    playAgain_(shown_[std::size_t(row)]);
}

void HistoryWindow::exportCsv()
{
    const QString path = chooseFile_(QDir::home().filePath(QStringLiteral("helicordia-history.csv")));
    if (path.isEmpty())
        return;
    const QString error = WriteFileAtomically(path, History::csv(shown_));
    if (!error.isEmpty())
        platform_.message(ApplicationTitle, tr("The history could not be exported.\n\n%1").arg(error));
}

} // namespace helicordia
