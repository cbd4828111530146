#include "ymtableplanmodel.h"

#include <QBrush>
#include <QFont>
#include <QHash>
#include <QVarLengthArray>
#include <QVector>

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

double rateOf(qint64 planned, qint64 completed)
{
    return planned == 0 ? 0.0 : double(completed) * 100.0 / double(planned);
}

// Sums may pass the range of the int column on absurd input; they saturate.
int clampToInt(qint64 value)
{
    return int(
        qBound<qint64>(std::numeric_limits<int>::min(), value, std::numeric_limits<int>::max()));
}

struct Group
{
    QString first;
    QString second;
    qint64 planned = 0;
    qint64 completed = 0;
    QString macKey;
};

YmTablePlanModel::TableRow tableRow(const QString *values, int count, qint64 planned,
                                    qint64 completed, const QString *macKey)
{
    YmTablePlanModel::TableRow row;
    for (int i = 0; i < count; ++i)
        row.groups[i] = values[i];
    row.planned = clampToInt(planned);
    row.completed = clampToInt(completed);
    row.rate = rateOf(planned, completed);
    if (macKey)
        row.macKey = *macKey;
    return row;
}

// Whether a table row's leading values are key.
bool hasKey(const YmTablePlanModel::TableRow &row, const QStringList &key)
{
    for (int i = 0; i < key.size() && i < 3; ++i) {
        if (row.groups[i] != key.at(i))
            return false;
    }
    return key.size() <= 3;
}

} // namespace

YmTablePlanModel::YmTablePlanModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

QString YmTablePlanModel::criterionTitle(Criterion criterion)
{
    switch (criterion) {
    case PlanCriterion:
        return tr("订单计划");
    case FileCriterion:
        return tr("文件");
    case MachineCriterion:
        return tr("设备");
    }
    return QString();
}

const QString &YmTablePlanModel::criterionValue(const YmOrderRecord &row, Criterion criterion)
{
    switch (criterion) {
    case PlanCriterion:
        return row.planName;
    case FileCriterion:
        return row.fileName;
    case MachineCriterion:
        break;
    }
    return row.macName;
}

QString YmTablePlanModel::rateText(double rate)
{
    return QString::number(rate, 'f', 2) + QLatin1Char('%');
}

void YmTablePlanModel::setColumnOrder(const ColumnOrder &order)
{
    m_columnOrder = order;
}

void YmTablePlanModel::refresh()
{
    // The reset makes the views read the new titles: a header change signal
    // on top of it would make a header view lay its sections out twice.
    beginResetModel();
    m_headers.clear();
    const ColumnOrder order = groupOrder();
    for (Criterion criterion : order)
        m_headers << criterionTitle(criterion);
    m_headers << tr("订单数") << tr("完成量") << tr("完成率");
    rebuild();
    endResetModel();
}

void YmTablePlanModel::setPlanList(const QVector<YmOrderRecord> &plans)
{
    beginResetModel();
    m_planList = plans;
    rebuild();
    endResetModel();
}

void YmTablePlanModel::takePlanList(const QVector<YmOrderRecord> &plans)
{
    m_planList = plans;
    m_stale = true;
}

void YmTablePlanModel::updateRows(const QVector<YmOrderRecord> &rows, const QVector<int> &changed,
                                  bool rebuildNow)
{
    if (rows.size() == m_planList.size()) {
        for (int index : changed) {
            if (index >= 0 && index < rows.size())
                m_planList[index] = rows.at(index);
        }
    } else {
        m_planList = rows;
    }
    m_stale = true;
    if (rebuildNow)
        rebuildIfStale();
}

void YmTablePlanModel::rebuildIfStale()
{
    if (!m_stale)
        return;
    beginResetModel();
    rebuild();
    endResetModel();
}

YmTablePlanModel::ColumnOrder YmTablePlanModel::groupOrder() const
{
    // Only the first two criteria decide; a third column is always the
    // remaining criterion.
    ColumnOrder order;
    const int n = m_columnOrder.size();
    if (n < 1 || n > 3)
        return order;
    order.append(m_columnOrder.at(0));
    if (n == 1)
        return order;
    if (m_columnOrder.at(1) == m_columnOrder.at(0))
        return ColumnOrder();
    order.append(m_columnOrder.at(1));
    if (n == 3)
        order.append(Criterion(3 - order.at(0) - order.at(1)));
    return order;
}

int YmTablePlanModel::columnCriterion(int column) const
{
    const ColumnOrder order = groupOrder();
    return column >= 0 && column < order.size() ? int(order.at(column)) : -1;
}

void YmTablePlanModel::rebuild()
{
    m_stale = false;
    m_rows.clear();
    const ColumnOrder fields = groupOrder();
    m_groupColumns = fields.size();
    if (fields.isEmpty())
        return;

    if (fields.size() == 3) {
        m_rows.reserve(m_planList.size());
        for (const YmOrderRecord &r : qAsConst(m_planList)) {
            const QString values[3] = {criterionValue(r, fields[0]), criterionValue(r, fields[1]),
                                       criterionValue(r, fields[2])};
            m_rows.append(tableRow(values, 3, r.planned, r.completed, &r.macKey));
        }
        return;
    }

    // Groups in order of first appearance; with two criteria the second values
    // are kept in order of first appearance under their first value.
    const bool pairs = fields.size() == 2;
    QVector<Group> groups;
    QHash<QString, int> firstIndex;          // first value -> position in outer
    QVector<QVector<int>> outer;             // per first value: its groups in order
    QVector<QHash<QString, int>> innerIndex; // per first value: second value -> group
    for (const YmOrderRecord &r : qAsConst(m_planList)) {
        const QString &first = criterionValue(r, fields[0]);
        const QString second = pairs ? criterionValue(r, fields[1]) : QString();

        auto found = firstIndex.constFind(first);
        int o = 0;
        if (found == firstIndex.cend()) {
            o = outer.size();
            firstIndex.insert(first, o);
            outer.append(QVector<int>());
            innerIndex.append(QHash<QString, int>());
        } else {
            o = found.value();
        }
        QHash<QString, int> &inner = innerIndex[o];
        auto g = inner.constFind(second);
        int index = 0;
        if (g == inner.cend()) {
            index = groups.size();
            inner.insert(second, index);
            outer[o].append(index);
            Group group;
            group.first = first;
            group.second = second;
            group.macKey = r.macKey;
            groups.append(group);
        } else {
            index = g.value();
        }
        groups[index].planned += r.planned;
        groups[index].completed += r.completed;
    }

    // The machine key travels along wherever a machine column is shown.
    const bool withKey = pairs || fields.at(0) == MachineCriterion;
    m_rows.reserve(groups.size());
    for (const QVector<int> &members : qAsConst(outer)) {
        for (int index : members) {
            const Group &g = groups.at(index);
            const QString values[2] = {g.first, g.second};
            m_rows.append(tableRow(values, pairs ? 2 : 1, g.planned, g.completed,
                                   withKey ? &g.macKey : nullptr));
        }
    }
}

QStringList YmTablePlanModel::rowKey(int row) const
{
    QStringList key;
    if (row < 0 || row >= m_rows.size())
        return key;
    for (int i = 0; i < m_groupColumns; ++i)
        key << m_rows.at(row).groups[i];
    return key;
}

int YmTablePlanModel::findRow(const QStringList &key, int occurrence) const
{
    if (key.size() != m_groupColumns || key.isEmpty())
        return -1;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (hasKey(m_rows.at(row), key) && occurrence-- == 0)
            return row;
    }
    return -1;
}

int YmTablePlanModel::keyOccurrence(int row) const
{
    const QStringList key = rowKey(row);
    int count = 0;
    for (int i = 0; i < row && i < m_rows.size(); ++i)
        count += hasKey(m_rows.at(i), key) ? 1 : 0;
    return count;
}

int YmTablePlanModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int YmTablePlanModel::columnCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    return m_headers.size();
}

QVariant YmTablePlanModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_headers.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole: {
        const TableRow &row = m_rows.at(index.row());
        const int column = index.column();
        if (column < m_groupColumns)
            return row.groups[column];
        switch (column - m_groupColumns) {
        case 0:
            return row.planned;
        case 1:
            return row.completed;
        default:
            return rateText(row.rate);
        }
    }
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::FontRole: {
        QFont font;
        font.setPointSize(12);
        return font;
    }
    default:
        return QVariant();
    }
}

QVariant YmTablePlanModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        if (orientation == Qt::Vertical)
            return QStringLiteral("%1").arg(section + 1);
        if (section >= 0 && section < m_headers.size())
            return m_headers.at(section);
        return QVariant();
    case Qt::BackgroundRole:
        return QBrush(Qt::transparent);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return QVariant();
    }
}

void YmTablePlanModel::sort(int column, Qt::SortOrder order)
{
    if (m_rows.isEmpty() || column < 0 || column >= m_headers.size())
        return;

    // Each row's key is read once; the comparisons then touch no QVariant.
    const bool descending = order == Qt::DescendingOrder;
    QVector<int> permutation(m_rows.size());
    std::iota(permutation.begin(), permutation.end(), 0);
    if (column < m_groupColumns) {
        QVector<QString> keys(m_rows.size());
        for (int i = 0; i < m_rows.size(); ++i)
            keys[i] = m_rows.at(i).groups[column];
        std::sort(permutation.begin(), permutation.end(), [&keys, descending](int a, int b) {
            return descending ? keys.at(b) < keys.at(a) : keys.at(a) < keys.at(b);
        });
    } else {
        QVector<double> keys(m_rows.size());
        for (int i = 0; i < m_rows.size(); ++i) {
            const TableRow &row = m_rows.at(i);
            const int value = column - m_groupColumns;
            keys[i] = value == 0 ? row.planned : value == 1 ? row.completed : row.rate;
        }
        std::sort(permutation.begin(), permutation.end(), [&keys, descending](int a, int b) {
            return descending ? keys.at(b) < keys.at(a) : keys.at(a) < keys.at(b);
        });
    }

    QVector<TableRow> sorted;
    sorted.reserve(m_rows.size());
    for (int i : qAsConst(permutation))
        sorted.append(m_rows.at(i));
    m_rows = sorted;
    emit dataChanged(index(0, 0), index(m_rows.size() - 1, m_headers.size() - 1));
}
