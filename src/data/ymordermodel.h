#ifndef YMORDERMODEL_H
#define YMORDERMODEL_H

#include "ymdashboardfigures.h"
#include "ymmetatypes.h"
#include "ymstatecounts.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QVariantList>
#include <QVector>

// The board's production data: the day's order rows in the host's order and
// the machine state map. Rows are kept exactly as pushed; a row that is no
// list (or a list shorter than ten fields) reads as 0 / empty wherever it is
// read. Rows that are no list at all belong to no machine and are never
// rewritten; a short list row is padded to ten fields when it is written.
//
// The host reports every machine every few seconds and every report refreshes
// the whole board, so two things are kept beside the rows: a machine key ->
// row indices index, so that the per-machine calls touch only that machine's
// rows, and the numbers the board sums (plan and group as interned ids,
// planned, completed, threshold) of every row, kept up to date by every write,
// so that a refresh walks a compact array instead of thousands of variants.
class YmOrderModel
{
public:
    // Clears the state map; map[entry 0] = entry 2, a later entry wins.
    void setMachines(const QVariantList &macList);
    void setMachineState(const QString &macKey, int state);
    const QMap<QString, int> &machineStates() const { return m_states; }
    // 1 online, 0 offline, 2 working, 3 abnormal; other codes count nowhere.
    YmStateCounts stateCounts() const;

    // Replaces the order rows and rebuilds the machine index.
    void setRows(const QVariantList &rows);
    const QVariantList &rows() const { return m_rows; }

    // Whether some row carries macKey in field 2.
    bool hasMachine(const QString &macKey) const;
    // Gives every row of the machine whose name differs the new name; true when
    // at least one row changed.
    bool renameMachine(const QString &macKey, const QString &macName);
    // Every row whose group is oldName gets newName.
    void renameGroup(const QString &oldName, const QString &newName);
    // Folds the process entries (file name, piece map, completed quantity) of
    // one machine into its rows. A file on exactly one row sets that row's
    // completed quantity; a file on several rows hands the entry's pieces out
    // in key order, row by row in list order, until each row reaches its plan.
    // A row already holding every remaining piece ends its turn; an entry whose
    // file is on no row of the machine is ignored.
    void applyProcess(const QString &macKey, const QVariantList &process);

    // Per-plan and per-group sums, totals and notification texts of the rows.
    YmDashboardFigures dashboardFigures() const;

private:
    // What a refresh reads of one row.
    struct RowFigures
    {
        int plan = 0;  // id in m_planNames
        int group = 0; // id in m_groupNames
        int planned = 0;
        int completed = 0;
        int threshold = 0;
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

    void distributePieces(const int *matches, int count, YmPieceMap pieces);
    void writeField(int row, int field, const QVariant &value);
    void storeRow(int row, const QVariantList &values);
    void readFigures(int row, const QVariantList &values);

    QMap<QString, int> m_states;
    QVariantList m_rows;
    QHash<QString, QVector<int>> m_rowsByMachine;
    QVector<RowFigures> m_figures; // parallel to m_rows
    NameTable m_plans;
    NameTable m_groups;
};

#endif // YMORDERMODEL_H
