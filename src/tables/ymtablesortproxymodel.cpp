#include "ymtablesortproxymodel.h"

YmTableSortProxyModel::YmTableSortProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{}

void YmTableSortProxyModel::setFilter(int column, const QRegExp &rx)
{
    invalidateFilter();
    m_filterColumn = column;
    // Read once here rather than per row: filterRegExp() copies the
    // expression, which cost more than the comparison on a large day.
    m_pattern = rx.pattern();
    m_fixedString = rx.patternSyntax() == QRegExp::FixedString;
    setFilterRegExp(rx);
}

int YmTableSortProxyModel::columnCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    return sourceModel() ? sourceModel()->columnCount() : 0;
}

QVariant YmTableSortProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return QString::number(section + 1);
    return sourceModel() ? sourceModel()->headerData(section, orientation, role) : QVariant();
}

void YmTableSortProxyModel::sort(int column, Qt::SortOrder order)
{
    if (sourceModel())
        sourceModel()->sort(column, order);
}

bool YmTableSortProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_pattern.isEmpty())
        return true;
    const QModelIndex cell = sourceModel()->index(sourceRow, m_filterColumn, sourceParent);
    const QString text = cell.isValid() ? cell.data(Qt::DisplayRole).toString() : QString();
    if (m_fixedString)
        return text.compare(m_pattern, Qt::CaseSensitive) == 0;
    return text.indexOf(m_pattern, 0, Qt::CaseSensitive) != -1;
}
