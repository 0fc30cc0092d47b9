// The history window: the picture of the last 30 days above the list of
// every treatment played, newest first, with a search box. "Play again" (or
// Enter) plays the chosen row's treatment with its length; "Export CSV…"
// writes the rows shown for a spreadsheet. The file is read each time the
// window is opened.
#pragma once

#include "treatment/history.h"

#include <QDate>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace helicordia {

class HistoryChart;
class Platform;

class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    using PlayAgain = std::function<void(const HistoryRecord &record)>;
    HistoryWindow(Platform &platform, QString historyPath, PlayAgain playAgain, QWidget *parent = nullptr);

    // Reads the history again and shows it as of `today`.
    void reload(QDate today = QDate::currentDate());

    // Where a test puts its own hand: how the CSV file is chosen (empty gives up).
    using FileChooser = std::function<QString(const QString &suggested)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    void playAgain();
    void exportCsv();

    // The rows shown, in order, and the notes about skipped lines.
    const std::vector<HistoryRecord> &shownRecords() const { return shown_; }
    QTreeWidget *table() const { return table_; }
    QLineEdit *searchBox() const { return search_; }
    HistoryChart *chart() const { return chart_; }
    QLabel *notes() const { return notes_; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void fillTable();
    void retranslate();

    Platform &platform_;
    QString path_;
    PlayAgain playAgain_;
    FileChooser chooseFile_;
    std::vector<HistoryRecord> records_; // newest first
    std::vector<HistoryRecord> shown_;
    HistoryChart *chart_ = nullptr;
    QLineEdit *search_ = nullptr;
    QTreeWidget *table_ = nullptr;
    QLabel *notes_ = nullptr;
    QPushButton *playButton_ = nullptr;
    QPushButton *exportButton_ = nullptr;
};

} // namespace helicordia
