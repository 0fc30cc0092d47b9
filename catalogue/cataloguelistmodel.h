#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

namespace helicordia {

class Catalogue;

// The catalogue list under the search box: one column, one row per listed
// entry in ascending entry order, each showing the entry's list text.
class CatalogueListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // At most this many entries are listed by one search.
    static constexpr int MaxListed = 10000;
    // Role that gives a row's entry number.
    static constexpr int EntryNumberRole = Qt::UserRole + 1;

    explicit CatalogueListModel(const Catalogue &catalogue, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Lists every entry whose catalogue line contains `search` (case ignored,
    // the text used as given). An empty line matches nothing, not even the
    // empty search. Rebuilds the model with a single reset.
    void FillList(const QString &search);

    // Caption of the match-count label: empty before the first fill, else the
    // number of listed items, preceded by ">" when the list is full.
    QString matchCountText() const;

    // Every match of the last search, including those beyond MaxListed.
    int matchCount() const { return matches_; }

    // The list text of a row; empty outside the list.
    QString itemText(int row) const;

    // The entry number of a row; 0 outside the list.
    int entryNumber(int row) const;

signals:
    // Emitted after every FillList with the new caption.
    void matchCountTextChanged(const QString &text);

private:
    const Catalogue &catalogue_;
    std::vector<int> found_; // every match, ascending entry numbers
    int rows_ = 0;           // the first rows_ of found_ are listed
    int matches_ = 0;
    bool filled_ = false;
};

} // namespace helicordia
