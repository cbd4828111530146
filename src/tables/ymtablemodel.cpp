#include "ymtablemodel.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

namespace {

constexpr int kTopCount = 3;

} // namespace

YmTableModel::YmTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    ymRegisterMetaTypes();
    m_font.setPointSize(fontPointSize);
}

void YmTableModel::setHeaderLabels()
{
    m_headers.clear();
    m_headers << tr("设备名称") << tr("今日订单量") << tr("完成量") << tr("完成率");
    emit headerDataChanged(Qt::Horizontal, 0, m_headers.size() - 1);
}

void YmTableModel::setMachineCounts(const QVector<YmOrderModel::MachineCounts> &machines)
{
    // Rows go and come rather than the model being reset: a reset makes the
    // view measure its header texts again, which costs more than the reload
    // (a host pushes the day again after every plan change). The same number
    // of machines only changes data.
    const int before = m_rows.size();
    const int after = machines.size();
    if (before > after) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        m_rows.resize(after);
        endRemoveRows();
    }
    QVector<Row> rows;
    rows.reserve(after);
    for (const YmOrderModel::MachineCounts &machine : machines)
        rows.append(makeRow(machine));
    if (after > before)
        beginInsertRows(QModelIndex(), before, after - 1);
    m_rows = std::move(rows);
    rebuildRows();
    if (after > before)
        endInsertRows();
    const int changed = qMin(before, after);
    if (changed > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(changed - 1, columnCount() - 1));
}

void YmTableModel::updateMachineCounts(const YmOrderModel::MachineCounts &machine)
{
    const int from = m_rowOfKey.value(machine.key, -1);
    if (from < 0)
        return;
    Row row = makeRow(machine);
    // The name is the table's own since the last full load or rename.
    row.name = m_rows.at(from).name;
    rerank(from, std::move(row));
}

void YmTableModel::updateMacName(const QString &key, const QString &name)
{
    const int from = m_rowOfKey.value(key, -1);
    if (from < 0)
        return;
    Row row = m_rows.at(from);
    row.name = name;
    rerank(from, std::move(row));
}

QPair<int, int> YmTableModel::rowCounts(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {0, 0};
    return {m_rows.at(row).planned, m_rows.at(row).completed};
}

void YmTableModel::getRowInfo(int row, QString &name, int &completed) const
{
    if (row < 0 || row >= m_rows.size())
        return;
    name = m_rows.at(row).name;
    completed = m_rows.at(row).completed;
}

bool YmTableModel::updateTopThree()
{
    if (m_rows.isEmpty())
        return false;
    bool changed = false;
    for (int i = 0; i < kTopCount && i < m_rows.size(); ++i) {
        const Row &row = m_rows.at(i);
        if (m_topThree[i].first != row.name) {
            m_topThree[i].first = row.name;
            changed = true;
        }
        if (m_topThree[i].second != row.completed) {
            m_topThree[i].second = row.completed;
            changed = true;
        }
    }
    return changed;
}

int YmTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int YmTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_headers.size();
}

QVariant YmTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= ColumnCount)
        return QVariant();
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return row.name;
        case PlannedColumn:
            return row.planned;
        case CompletedColumn:
            return row.completed;
        default:
            return row.rateText;
        }
    case Qt::DecorationRole:
        // The key travels to the delegate as is; it is not drawn as an icon.
        return index.column() == NameColumn ? QVariant(row.key) : QVariant();
    case Qt::FontRole:
        return m_font;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ForegroundRole:
        return QColor(Qt::white);
    default:
        return QVariant();
    }
}

QVariant YmTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        if (orientation == Qt::Vertical)
            return QString::number(section + 1);
        return section >= 0 && section < m_headers.size() ? QVariant(m_headers.at(section))
                                                          : QVariant();
    case Qt::BackgroundRole:
        return QBrush(Qt::transparent);
    case Qt::ForegroundRole:
        return orientation == Qt::Vertical ? QVariant(QColor(Qt::white)) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return QVariant();
    }
}

QString YmTableModel::rowKey(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).key : QString();
}

QString YmTableModel::rateText(double rate)
{
    return QString::number(rate, 'f', 2) + QLatin1Char('%');
}

YmTableModel::Row YmTableModel::makeRow(const YmOrderModel::MachineCounts &machine)
{
    Row row;
    row.key = machine.key;
    row.name = machine.name;
    row.planned = YmDashboardFigures::saturatedInt(machine.planned);
    row.completed = YmDashboardFigures::saturatedInt(machine.completed);
    row.rate
        = machine.planned == 0 ? 0.0 : double(machine.completed) * 100.0 / double(machine.planned);
    row.rateText = rateText(row.rate);
    return row;
}

bool YmTableModel::ranksBefore(double rate, const QString &key, const Row &row)
{
    if (rate < row.rate)
        return true;
    if (row.rate < rate)
        return false;
    return key < row.key;
}

void YmTableModel::rebuildRows()
{
    // Machines come in key order; a stable sort by rate keeps equal rates in it.
    std::sort(m_rows.begin(), m_rows.end(),
              [](const Row &a, const Row &b) { return a.key < b.key; });
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const Row &a, const Row &b) { return a.rate < b.rate; });
    m_rowOfKey.clear();
    m_rowOfKey.reserve(m_rows.size());
    reindex(0, m_rows.size() - 1);
}

void YmTableModel::rerank(int from, Row row)
{
    const auto lessThan = [](const Row &a, const Row &b) {
        return ranksBefore(a.rate, a.key, b);
    };
    const auto first = m_rows.begin();
    const int count = m_rows.size();
    int to = from;
    if (from > 0 && lessThan(row, m_rows.at(from - 1)))
        to = int(std::lower_bound(first, first + from, row, lessThan) - first);
    else if (from + 1 < count && lessThan(m_rows.at(from + 1), row))
        to = int(std::lower_bound(first + from + 1, m_rows.end(), row, lessThan) - first) - 1;

    const Row &old = m_rows.at(from);
    const bool valuesChanged = old.name != row.name || old.planned != row.planned
                               || old.completed != row.completed || old.rateText != row.rateText;
    if (to != from) {
        beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
        m_rows[from] = std::move(row);
        if (to > from)
            std::rotate(first + from, first + from + 1, first + to + 1);
        else
            std::rotate(first + to, first + from, first + from + 1);
        reindex(qMin(from, to), qMax(from, to));
        endMoveRows();
    } else {
        m_rows[from] = std::move(row);
    }
    if (valuesChanged && !m_headers.isEmpty())
        emit dataChanged(index(to, 0), index(to, m_headers.size() - 1));
}

void YmTableModel::reindex(int first, int last)
{
    for (int i = first; i <= last; ++i)
        m_rowOfKey.insert(m_rows.at(i).key, i);
}
