#include "catalogue/cataloguelistmodel.h"

#include "catalogue/catalogue.h"

#include <algorithm>

namespace helicordia {

CatalogueListModel::CatalogueListModel(const Catalogue &catalogue, QObject *parent)
    : QAbstractTableModel(parent), catalogue_(catalogue)
{
}

int CatalogueListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int CatalogueListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QModelIndex CatalogueListModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || column != 0 || row < 0 || row >= rows_)
        return {};
    return createIndex(row, column);
}

Qt::ItemFlags CatalogueListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.column() != 0 || index.row() < 0 || index.row() >= rows_)
        return {};
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

QVariant CatalogueListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() != 0 || index.row() < 0 || index.row() >= rows_)
        return {};
    const EntryRef entry = entryAt(index.row());
    switch (role) {
    case Qt::DisplayRole: return itemText(index.row());
    case EntryNumberRole: return entry.number;
    case PlayableRole:
        return entry.own ? own_->ownPlayable(entry.number)
                         : !catalogue_.listText(entry.number).startsWith(QLatin1Char('_'));
    default: return {};
    }
}

QVariant CatalogueListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return tr("health problems:");
    return {};
}

void CatalogueListModel::FillList(const QString &search)
{
    beginResetModel();
    catalogue_.findEntries(search, catalogue_.catalogueLineCount(), found_);
    ownFound_.clear();
    if (own_)
        own_->findOwnEntries(search, ownFound_);
    matches_ = static_cast<int>(found_.size() + ownFound_.size());
    rows_ = std::min(matches_, MaxListed);
    filled_ = true;
    endResetModel();
    emit matchCountTextChanged(matchCountText());
}

QString CatalogueListModel::matchCountText() const
{
    if (!filled_)
        return QString();
    const QString number = QString::number(rows_);
    return rows_ >= MaxListed ? u'>' + number : number;
}

QString CatalogueListModel::itemText(int row) const
{
    const EntryRef entry = entryAt(row);
    if (!entry.isValid())
        return QString();
    return entry.own ? own_->ownListText(entry.number) : catalogue_.listText(entry.number);
}

int CatalogueListModel::entryNumber(int row) const
{
    return entryAt(row).number;
}

EntryRef CatalogueListModel::entryAt(int row) const
{
    if (row < 0 || row >= rows_)
        return {};
    const auto catalogueRows = static_cast<int>(found_.size());
    return row < catalogueRows ? EntryRef{false, found_[row]} : EntryRef{true, ownFound_[row - catalogueRows]};
}

int CatalogueListModel::rowOf(EntryRef entry) const
{
    const std::vector<int> &found = entry.own ? ownFound_ : found_;
    const auto at = std::lower_bound(found.begin(), found.end(), entry.number);
    if (at == found.end() || *at != entry.number)
        return -1;
    const int row = static_cast<int>(at - found.begin()) + (entry.own ? static_cast<int>(found_.size()) : 0);
    return row < rows_ ? row : -1;
}

} // namespace helicordia
