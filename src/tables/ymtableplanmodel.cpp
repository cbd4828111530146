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

// Order row fields read by the table.
enum Field { PlanName = 0, MacKey = 2, MacName = 3, FileName = 5, Planned = 6, Completed = 7 };

using GroupFields = QVarLengthArray<int, 3>;

// The order-row fields of the leading columns, in column order. Only the first
// two titles decide; a third column is always the remaining criterion. Empty
// when the order names no grouping (none, four or more, unknown or repeated).
GroupFields groupFields(const QStringList &order)
{
    const QString titles[3] = {YmTablePlanModel::planTitle(), YmTablePlanModel::fileTitle(),
                               YmTablePlanModel::macTitle()};
    const int fields[3] = {PlanName, FileName, MacName};
    const auto criterion = [&titles](const QString &title) {
        for (int i = 0; i < 3; ++i) {
            if (title == titles[i])
                return i;
        }
        return -1;
    };

    GroupFields result;
    const int n = order.size();
    if (n < 1 || n > 3)
        return result;
    const int first = criterion(order.at(0));
    if (first < 0)
        return result;
    if (n == 1) {
        result.append(fields[first]);
        return result;
    }
    const int second = criterion(order.at(1));
    if (second < 0 || second == first)
        return result;
    result.append(fields[first]);
    result.append(fields[second]);
    if (n == 3)
        result.append(fields[3 - first - second]);
    return result;
}

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

QVariant tableRow(const QString *values, int count, qint64 planned, qint64 completed,
                  const QString *macKey)
{
    QVariantList row;
    row.reserve(count + 4);
    for (int i = 0; i < count; ++i)
        row.append(values[i]);
    row.append(clampToInt(planned));
    row.append(clampToInt(completed));
    row.append(rateOf(planned, completed));
    if (macKey)
        row.append(*macKey);
    return QVariant(row);
}

// Whether a table row's leading values are key.
bool hasKey(const QVariant &row, const QStringList &key)
{
    const QVariantList values = row.toList();
    if (values.size() < key.size())
        return false;
    for (int i = 0; i < key.size(); ++i) {
        if (values.at(i).toString() != key.at(i))
            return false;
    }
    return true;
}

} // namespace

YmTablePlanModel::YmTablePlanModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

QString YmTablePlanModel::planTitle()
{
    return tr("订单计划");
}

QString YmTablePlanModel::fileTitle()
{
    return tr("文件");
}

QString YmTablePlanModel::macTitle()
{
    return tr("设备");
}

void YmTablePlanModel::setColumnOrder(const QStringList &order)
{
    m_columnOrder = order;
}

void YmTablePlanModel::refresh()
{
    m_headers = m_columnOrder;
    m_headers << tr("订单数") << tr("完成量") << tr("完成率");
    emit headerDataChanged(Qt::Horizontal, 0, m_headers.size() - 1);
    beginResetModel();
    rebuild();
    endResetModel();
}

void YmTablePlanModel::setPlanList(const QVariantList &plans)
{
    beginResetModel();
    m_planList = plans;
    rebuild();
    endResetModel();
}

void YmTablePlanModel::updateMacProcess(const QString &key, const QVariantList &items)
{
    beginResetModel();
    applyProcess(key, items);
    rebuild();
    endResetModel();
}

void YmTablePlanModel::applyProcess(const QString &key, const QVariantList &items)
{
    for (const QVariant &item : items) {
        const QVariantList entry = item.toList();
        const QString file = entry.value(0).toString();
        for (int i = 0; i < m_planList.size(); ++i) {
            QVariantList row = m_planList.at(i).toList();
            if (row.value(MacKey).toString() != key || row.value(FileName).toString() != file)
                continue;
            while (row.size() <= Completed)
                row.append(QVariant());
            row[Completed] = entry.value(2).toInt();
            m_planList[i] = QVariant(row);
            break;
        }
    }
    m_stale = true;
}

void YmTablePlanModel::rebuildIfStale()
{
    if (!m_stale)
        return;
    beginResetModel();
    rebuild();
    endResetModel();
}

void YmTablePlanModel::rebuild()
{
    m_stale = false;
    m_rows.clear();
    const GroupFields fields = groupFields(m_columnOrder);
    m_groupColumns = fields.size();
    if (fields.isEmpty())
        return;

    if (fields.size() == 3) {
        m_rows.reserve(m_planList.size());
        for (const QVariant &plan : m_planList) {
            const QVariantList r = plan.toList();
            const QString key = r.value(MacKey).toString();
            const QString values[3] = {r.value(fields[0]).toString(), r.value(fields[1]).toString(),
                                       r.value(fields[2]).toString()};
            m_rows.append(
                tableRow(values, 3, r.value(Planned).toInt(), r.value(Completed).toInt(), &key));
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
    for (const QVariant &plan : m_planList) {
        const QVariantList r = plan.toList();
        const QString first = r.value(fields[0]).toString();
        const QString second = pairs ? r.value(fields[1]).toString() : QString();

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
            group.macKey = r.value(MacKey).toString();
            groups.append(group);
        } else {
            index = g.value();
        }
        groups[index].planned += r.value(Planned).toInt();
        groups[index].completed += r.value(Completed).toInt();
    }

    // The machine key travels along wherever a machine column is shown.
    const bool withKey = pairs || fields.at(0) == MacName;
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
    const QVariantList values = m_rows.value(row).toList();
    for (int i = 0; i < m_groupColumns; ++i)
        key << values.value(i).toString();
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
        const QVariant value = m_rows.at(index.row()).toList().value(index.column());
        if (index.column() == columnCount() - 1)
            return QStringLiteral("%1%").arg(value.toString());
        return value;
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
            keys[i] = m_rows.at(i).toList().value(column).toString();
        std::sort(permutation.begin(), permutation.end(), [&keys, descending](int a, int b) {
            return descending ? keys.at(b) < keys.at(a) : keys.at(a) < keys.at(b);
        });
    } else {
        QVector<double> keys(m_rows.size());
        for (int i = 0; i < m_rows.size(); ++i)
            keys[i] = m_rows.at(i).toList().value(column).toDouble();
        std::sort(permutation.begin(), permutation.end(), [&keys, descending](int a, int b) {
            return descending ? keys.at(b) < keys.at(a) : keys.at(a) < keys.at(b);
        });
    }

    QVariantList sorted;
    sorted.reserve(m_rows.size());
    for (int i : qAsConst(permutation))
        sorted.append(m_rows.at(i));
    m_rows = sorted;
    emit dataChanged(index(0, 0), index(m_rows.size() - 1, m_headers.size() - 1));
}
