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

QVariant CatalogueListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() != 0 || index.row() < 0 || index.row() >= rows_)
        return {};
    const int n = found_[index.row()];
    switch (role) {
    case Qt::DisplayRole: return catalogue_.listText(n);
    case EntryNumberRole: return n;
    default: return {};
    }
}

QVariant CatalogueListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return QStringLiteral("health problems:");
    return {};
}

void CatalogueListModel::FillList(const QString &search)
{
    beginResetModel();
    catalogue_.findEntries(search, catalogue_.catalogueLineCount(), found_);
    matches_ = static_cast<int>(found_.size());
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
    return row >= 0 && row < rows_ ? catalogue_.listText(found_[row]) : QString();
}

int CatalogueListModel::entryNumber(int row) const
{
    return row >= 0 && row < rows_ ? found_[row] : 0;
}

} // namespace helicordia
