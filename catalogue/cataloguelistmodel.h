#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

#include "catalogue/entrytext.h"

namespace helicordia {

class Catalogue;

// The user's own treatments as the list shows them, after the catalogue.
class OwnEntryList {
public:
    virtual ~OwnEntryList() = default;
    // Replaces `found` with the numbers, ascending, of the user's entries
    // whose line contains `search`, by the catalogue's search rules.
    virtual void findOwnEntries(const QString &search, std::vector<int> &found) const = 0;
    // The entry's list text, marked OwnEntryMarker.
    virtual QString ownListText(int number) const = 0;
    virtual bool ownPlayable(int number) const = 0;
};

// The catalogue list under the search box: one column, one row per listed
// entry in ascending entry order, each showing the entry's list text; the
// user's own treatments (when given) follow the catalogue's entries.
class CatalogueListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // At most this many entries are listed by one search.
    static constexpr int MaxListed = 10000;
    // Role that gives a row's entry number.
    static constexpr int EntryNumberRole = Qt::UserRole + 1;
    // Role that tells whether a row can be played (bool).
    static constexpr int PlayableRole = Qt::UserRole + 2;

    explicit CatalogueListModel(const Catalogue &catalogue, QObject *parent = nullptr);

    // Lists the user's own treatments after the catalogue from the next
    // FillList on; null lists the catalogue alone.
    void setOwnEntries(const OwnEntryList *own) { own_ = own; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // As the base class gives them, without its calls back into the model:
    // the list asks for both for every row each time it is rebuilt.
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
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

    // The entry a row shows; an invalid one outside the list.
    EntryRef entryAt(int row) const;
    // The row that shows `entry`; -1 when it is not listed.
    int rowOf(EntryRef entry) const;

signals:
    // Emitted after every FillList with the new caption.
    void matchCountTextChanged(const QString &text);

private:
    const Catalogue &catalogue_;
    const OwnEntryList *own_ = nullptr;
    std::vector<int> found_;    // every match, ascending entry numbers
    std::vector<int> ownFound_; // the user's own matches, listed after found_
    int rows_ = 0;              // the first rows_ of found_ and ownFound_ are listed
    int matches_ = 0;
    bool filled_ = false;
};

} // namespace helicordia
