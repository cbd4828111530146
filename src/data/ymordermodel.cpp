#include "ymordermodel.h"

#include "ymorderrow.h"

#include <QVarLengthArray>

void YmOrderModel::setMachines(const QVariantList &macList)
{
    m_states.clear();
    QVariantList storage;
    for (const QVariant &entryValue : macList) {
        const QVariantList &entry = YmOrderRow::listRef(entryValue, storage);
        m_states.insert(YmOrderRow::stringAt(entry, 0), YmOrderRow::intAt(entry, 2));
    }
}

void YmOrderModel::setMachineState(const QString &macKey, int state)
{
    m_states.insert(macKey, state);
}

YmStateCounts YmOrderModel::stateCounts() const
{
    YmStateCounts counts;
    for (auto it = m_states.cbegin(); it != m_states.cend(); ++it) {
        switch (it.value()) {
        case 0:
            ++counts.offline;
            break;
        case 1:
            ++counts.online;
            break;
        case 2:
            ++counts.working;
            break;
        case 3:
            ++counts.abnormal;
            break;
        default:
            break;
        }
    }
    return counts;
}

int YmOrderModel::NameTable::intern(const QString &name)
{
    const auto found = ids.constFind(name);
    if (found != ids.cend())
        return found.value();
    const int id = names.size();
    names.append(name);
    ids.insert(name, id);
    return id;
}

void YmOrderModel::NameTable::clear()
{
    names.clear();
    ids.clear();
}

void YmOrderModel::setRows(const QVariantList &rows)
{
    m_rows = rows;
    m_rowsByMachine.clear();
    m_plans.clear();
    m_groups.clear();
    m_figures.resize(m_rows.size());
    const QVariantList &all = m_rows;
    QVariantList storage;
    for (int i = 0; i < all.size(); ++i) {
        // A value that is no record reads as an empty row: plan and group ""
        // and zeros, belonging to no machine.
        const QVariantList &row = YmOrderRow::listRef(all.at(i), storage);
        readFigures(i, row);
        if (YmOrderRow::isRecord(all.at(i)))
            m_rowsByMachine[YmOrderRow::stringAt(row, YmOrderRow::MacKey)].append(i);
    }
}

void YmOrderModel::readFigures(int row, const QVariantList &values)
{
    RowFigures &f = m_figures[row];
    f.plan = m_plans.intern(YmOrderRow::stringAt(values, YmOrderRow::PlanName));
    f.group = m_groups.intern(YmOrderRow::stringAt(values, YmOrderRow::GroupName));
    f.planned = YmOrderRow::intAt(values, YmOrderRow::Planned);
    f.completed = YmOrderRow::intAt(values, YmOrderRow::Completed);
    f.threshold = YmOrderRow::intAt(values, YmOrderRow::NotifyNum);
}

void YmOrderModel::storeRow(int row, const QVariantList &values)
{
    m_rows[row] = QVariant(values);
    readFigures(row, values);
}

bool YmOrderModel::hasMachine(const QString &macKey) const
{
    return m_rowsByMachine.contains(macKey);
}

void YmOrderModel::writeField(int row, int field, const QVariant &value)
{
    QVariantList list = m_rows.at(row).toList();
    YmOrderRow::setAt(list, field, value);
    storeRow(row, list);
}

bool YmOrderModel::renameMachine(const QString &macKey, const QString &macName)
{
    const auto found = m_rowsByMachine.constFind(macKey);
    if (found == m_rowsByMachine.cend())
        return false;
    bool changed = false;
    QVariantList storage;
    for (int index : found.value()) {
        const QVariantList &row = YmOrderRow::listRef(m_rows.at(index), storage);
        if (YmOrderRow::stringAt(row, YmOrderRow::MacName) == macName)
            continue;
        writeField(index, YmOrderRow::MacName, macName);
        changed = true;
    }
    return changed;
}

void YmOrderModel::renameGroup(const QString &oldName, const QString &newName)
{
    const auto found = m_groups.ids.constFind(oldName);
    if (oldName == newName || found == m_groups.ids.cend())
        return;
    const int oldId = found.value();
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_figures.at(i).group == oldId && YmOrderRow::isRecord(m_rows.at(i)))
            writeField(i, YmOrderRow::GroupName, newName);
    }
}

void YmOrderModel::applyProcess(const QString &macKey, const QVariantList &process)
{
    const auto found = m_rowsByMachine.constFind(macKey);
    if (found == m_rowsByMachine.cend())
        return;
    // Rewriting rows never changes machine keys, so the index stays valid.
    const QVector<int> &machineRows = found.value();
    QVariantList entryStorage;
    QVariantList rowStorage;
    for (const QVariant &entryValue : process) {
        const QVariantList &entry = YmOrderRow::listRef(entryValue, entryStorage);
        const QString fileName = YmOrderRow::stringAt(entry, 0);
        QVarLengthArray<int, 16> matches;
        for (int index : machineRows) {
            const QVariantList &row = YmOrderRow::listRef(m_rows.at(index), rowStorage);
            if (YmOrderRow::stringAt(row, YmOrderRow::FileName) == fileName)
                matches.append(index);
        }
        if (matches.isEmpty())
            continue;
        if (matches.size() == 1) {
            const int completed = YmOrderRow::intAt(entry, 2);
            const int index = matches.at(0);
            const QVariantList &row = YmOrderRow::listRef(m_rows.at(index), rowStorage);
            // Same value read back means the same row; skip the copy.
            if (YmOrderRow::intAt(row, YmOrderRow::Completed) != completed)
                writeField(index, YmOrderRow::Completed, completed);
            continue;
        }
        distributePieces(matches.constData(), matches.size(), YmOrderRow::pieceMapAt(entry, 1));
    }
}

void YmOrderModel::distributePieces(const int *matches, int count, YmPieceMap pieces)
{
    for (int m = 0; m < count; ++m) {
        const int index = matches[m];
        if (pieces.isEmpty())
            return;
        QVariantList row = m_rows.at(index).toList();
        const int planned = YmOrderRow::intAt(row, YmOrderRow::Planned);
        // 64 bits: quantities from the host may be anything an int holds.
        qint64 completed = YmOrderRow::intAt(row, YmOrderRow::Completed);
        YmPieceMap held = YmOrderRow::pieceMapAt(row, YmOrderRow::Pieces);
        bool changed = false;
        // Keys passed over are held by this row and stay so, so one forward walk
        // finds each next key not yet held; at the end every key left is held
        // and the row leaves them to the rows after it.
        auto next = pieces.begin();
        while (completed < planned && next != pieces.end()) {
            if (held.contains(next.key())) {
                ++next;
                continue;
            }
            held.insert(next.key(), next.value());
            completed += next.value();
            next = pieces.erase(next);
            changed = true;
        }
        if (!changed)
            continue;
        YmOrderRow::setAt(row, YmOrderRow::Pieces, QVariant::fromValue(held));
        YmOrderRow::setAt(row, YmOrderRow::Completed, YmDashboardFigures::saturatedInt(completed));
        storeRow(index, row);
    }
}

YmDashboardFigures YmOrderModel::dashboardFigures() const
{
    struct Sums
    {
        qint64 planned = 0;
        qint64 completed = 0;
        int threshold = 0;
        bool seen = false;
    };
    QVector<Sums> plans(m_plans.names.size());
    QVector<Sums> groups(m_groups.names.size());
    // Names in the order the rows first show them (ids follow the order of
    // interning, which a rename can break).
    QVector<int> planOrder;
    QVector<int> groupOrder;
    qint64 totalPlanned = 0;
    qint64 totalCompleted = 0;
    const auto add
        = [](QVector<Sums> &sums, QVector<int> &order, int id, const RowFigures &row) -> Sums & {
        Sums &s = sums[id];
        if (!s.seen) {
            s.seen = true;
            order.append(id);
        }
        s.planned += row.planned;
        s.completed += row.completed;
        return s;
    };
    for (const RowFigures &row : m_figures) {
        // The plan's last row sets its threshold.
        add(plans, planOrder, row.plan, row).threshold = row.threshold;
        add(groups, groupOrder, row.group, row);
        totalPlanned += row.planned;
        totalCompleted += row.completed;
    }

    YmDashboardFigures figures;
    figures.totalPlanned = YmDashboardFigures::saturatedInt(totalPlanned);
    figures.totalCompleted = YmDashboardFigures::saturatedInt(totalCompleted);
    figures.groupBars.reserve(groupOrder.size());
    for (int id : qAsConst(groupOrder)) {
        const Sums &group = groups.at(id);
        figures.groupBars.append(
            YmDashboardFigures::bar(m_groups.names.at(id), group.planned, group.completed));
    }
    figures.planBars.reserve(planOrder.size());
    for (int id : qAsConst(planOrder)) {
        const Sums &plan = plans.at(id);
        const QString &name = m_plans.names.at(id);
        figures.planBars.append(YmDashboardFigures::bar(name, plan.planned, plan.completed));
        if (plan.threshold == 0 || plan.planned == 0)
            continue;
        const qint64 percent = YmDashboardFigures::percentOf(plan.completed, plan.planned);
        if (percent > plan.threshold) {
            figures.notifications.append(
                YmDashboardFigures::notificationText(name, plan.completed, plan.planned, percent));
            figures.notifyingPlans.append(name);
        }
    }
    return figures;
}
