#include "ymordermodel.h"

#include <QVarLengthArray>

#include <algorithm>

void YmOrderModel::setMachines(const QVector<YmMachineEntry> &machines)
{
    m_states.clear();
    for (const YmMachineEntry &machine : machines)
        m_states.insert(machine.key, machine.state);
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

void YmOrderModel::setRows(const QVector<YmOrderRecord> &rows)
{
    m_rows = rows;
    m_rowsByMachine.clear();
    m_plans.clear();
    m_groups.clear();
    m_figures.resize(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i) {
        const YmOrderRecord &row = m_rows.at(i);
        m_figures[i] = {m_plans.intern(row.planName), m_groups.intern(row.groupName)};
        // A value that was no record belongs to no machine.
        if (row.isRecord)
            m_rowsByMachine[row.macKey].append(i);
    }
}

bool YmOrderModel::hasMachine(const QString &macKey) const
{
    return m_rowsByMachine.contains(macKey);
}

bool YmOrderModel::renameMachine(const QString &macKey, const QString &macName)
{
    const auto found = m_rowsByMachine.constFind(macKey);
    if (found == m_rowsByMachine.cend())
        return false;
    bool changed = false;
    for (int index : found.value()) {
        YmOrderRecord &row = m_rows[index];
        if (row.macName == macName)
            continue;
        row.macName = macName;
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
    const int newId = m_groups.intern(newName);
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_figures.at(i).group == oldId && m_rows.at(i).isRecord) {
            m_rows[i].groupName = newName;
            m_figures[i].group = newId;
        }
    }
}

YmOrderModel::Change YmOrderModel::applyProcess(const QString &macKey,
                                                const QVector<YmProcessEntry> &process)
{
    Change change;
    const auto found = m_rowsByMachine.constFind(macKey);
    if (found == m_rowsByMachine.cend())
        return change;
    // Rewriting rows never changes machine keys, so the index stays valid.
    const QVector<int> &machineRows = found.value();
    for (const YmProcessEntry &entry : process) {
        QVarLengthArray<int, 16> matches;
        for (int index : machineRows) {
            if (m_rows.at(index).fileName == entry.fileName)
                matches.append(index);
        }
        if (matches.isEmpty())
            continue;
        if (matches.size() > 1) {
            distributePieces(matches.constData(), matches.size(), entry.pieces, change);
            continue;
        }
        const int index = matches.at(0);
        YmOrderRecord &row = m_rows[index];
        bool changed = row.completed != entry.completed;
        row.completed = entry.completed;
        // The row's record of pieces is what the day's timeline plots.
        for (auto it = entry.pieces.cbegin(); it != entry.pieces.cend(); ++it) {
            if (row.pieces.contains(it.key()))
                continue;
            row.pieces.insert(it.key(), it.value());
            change.pieces.append({it.key(), it.value()});
            changed = true;
        }
        if (changed)
            change.rows.append(index);
    }
    std::sort(change.rows.begin(), change.rows.end());
    change.rows.erase(std::unique(change.rows.begin(), change.rows.end()), change.rows.end());
    return change;
}

bool YmOrderModel::distributePieces(const int *matches, int count, YmPieceMap pieces,
                                    Change &change)
{
    bool any = false;
    for (int m = 0; m < count && !pieces.isEmpty(); ++m) {
        const int index = matches[m];
        YmOrderRecord &row = m_rows[index];
        // 64 bits: quantities from the host may be anything an int holds.
        qint64 completed = row.completed;
        bool changed = false;
        // Keys passed over are held by this row and stay so, so one forward walk
        // finds each next key not yet held; at the end every key left is held
        // and the row leaves them to the rows after it.
        auto next = pieces.begin();
        while (completed < row.planned && next != pieces.end()) {
            if (row.pieces.contains(next.key())) {
                ++next;
                continue;
            }
            row.pieces.insert(next.key(), next.value());
            change.pieces.append({next.key(), next.value()});
            completed += next.value();
            next = pieces.erase(next);
            changed = true;
        }
        if (!changed)
            continue;
        row.completed = YmDashboardFigures::saturatedInt(completed);
        change.rows.append(index);
        any = true;
    }
    return any;
}

QVector<YmOrderModel::MachineCounts> YmOrderModel::machineCounts() const
{
    QVector<MachineCounts> machines;
    machines.reserve(m_rowsByMachine.size());
    for (auto it = m_rowsByMachine.cbegin(); it != m_rowsByMachine.cend(); ++it)
        machines.append(machineCounts(it.key()));
    std::sort(machines.begin(), machines.end(),
              [](const MachineCounts &a, const MachineCounts &b) { return a.key < b.key; });
    return machines;
}

YmOrderModel::MachineCounts YmOrderModel::machineCounts(const QString &macKey) const
{
    MachineCounts counts;
    counts.key = macKey;
    const auto found = m_rowsByMachine.constFind(macKey);
    if (found == m_rowsByMachine.cend())
        return counts;
    for (int index : found.value()) {
        const YmOrderRecord &row = m_rows.at(index);
        if (counts.name.isEmpty())
            counts.name = row.macName;
        counts.planned += row.planned;
        counts.completed += row.completed;
    }
    return counts;
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
        = [](QVector<Sums> &sums, QVector<int> &order, int id, const YmOrderRecord &row) -> Sums & {
        Sums &s = sums[id];
        if (!s.seen) {
            s.seen = true;
            order.append(id);
        }
        s.planned += row.planned;
        s.completed += row.completed;
        return s;
    };
    for (int i = 0; i < m_rows.size(); ++i) {
        const YmOrderRecord &row = m_rows.at(i);
        const RowFigures &ids = m_figures.at(i);
        // The plan's last row sets its threshold.
        add(plans, planOrder, ids.plan, row).threshold = row.notifyNum;
        add(groups, groupOrder, ids.group, row);
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
