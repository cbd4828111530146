#ifndef YMORDERMODEL_H
#define YMORDERMODEL_H

#include "ymdashboardfigures.h"
#include "ymmachineentry.h"
#include "ymorderrecord.h"
#include "ymprocessentry.h"
#include "ymstatecounts.h"

#include <QHash>
#include <QMap>
#include <QPair>
#include <QString>
#include <QVector>

// The board's production data and the one owner of the day's counts: the
// order rows in the host's order and the machine state map. Every view of the
// day (bars, gauge, statistics table, plan window, day progress, pop-ups)
// reads its counts from these rows, so one report is read one way.
//
// The host reports every machine every few seconds, so a machine key -> row
// indices index keeps the per-machine calls to that machine's rows, and plan
// and group names are interned so that a refresh walks a compact array.
class YmOrderModel
{
public:
    // What one process report changed: the rows (ascending) and the pieces the
    // rows took (key, quantity), for the views that plot them over the day.
    struct Change
    {
        QVector<int> rows;
        QVector<QPair<QString, int>> pieces;
        bool isEmpty() const { return rows.isEmpty(); }
    };

    // A machine's line in the statistics: the sums over its rows.
    struct MachineCounts
    {
        QString key;
        QString name;
        qint64 planned = 0;
        qint64 completed = 0;
    };

    // Clears the state map; a later entry of the same key wins.
    void setMachines(const QVector<YmMachineEntry> &machines);
    void setMachineState(const QString &macKey, int state);
    const QMap<QString, int> &machineStates() const { return m_states; }
    // 1 online, 0 offline, 2 working, 3 abnormal; other codes count nowhere.
    YmStateCounts stateCounts() const;

    // Replaces the order rows and rebuilds the machine index.
    void setRows(const QVector<YmOrderRecord> &rows);
    const QVector<YmOrderRecord> &rows() const { return m_rows; }

    bool hasMachine(const QString &macKey) const;
    // The machine's rows, in list order.
    QVector<int> machineRows(const QString &macKey) const { return m_rowsByMachine.value(macKey); }
    // Gives every row of the machine whose name differs the new name; true when
    // at least one row changed.
    bool renameMachine(const QString &macKey, const QString &macName);
    // Every row whose group is oldName gets newName.
    void renameGroup(const QString &oldName, const QString &newName);

    // Folds one machine's report into its rows, the one rule every view shows:
    // a file on exactly one row of the machine sets that row's completed count
    // to the report's and adds the unseen pieces to the row's record; a file on
    // several rows hands the report's pieces out in key order, row by row in
    // list order, each row taking unseen pieces while it is below its plan (a
    // row already holding every remaining piece ends its turn). A file that no
    // row of the machine carries is ignored.
    Change applyProcess(const QString &macKey, const QVector<YmProcessEntry> &process);

    // Sums over the rows of each machine, in key order.
    QVector<MachineCounts> machineCounts() const;
    MachineCounts machineCounts(const QString &macKey) const;

    // Per-plan and per-group sums, totals and notification texts of the rows.
    YmDashboardFigures dashboardFigures() const;

private:
    struct RowFigures
    {
        int plan = 0;  // id in m_plans
        int group = 0; // id in m_groups
    };

    // Distinct names with their ids; ids are never reused until the rows are
    // replaced, so a rename just adds a name.
    struct NameTable
    {
        QVector<QString> names;
        QHash<QString, int> ids;
        int intern(const QString &name);
        void clear();
    };

    bool distributePieces(const int *matches, int count, YmPieceMap pieces, Change &change);

    QMap<QString, int> m_states;
    QVector<YmOrderRecord> m_rows;
    QHash<QString, QVector<int>> m_rowsByMachine;
    QVector<RowFigures> m_figures; // parallel to m_rows
    NameTable m_plans;
    NameTable m_groups;
};

#endif // YMORDERMODEL_H
