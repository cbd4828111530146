#ifndef YMTABLEPLANMODEL_H
#define YMTABLEPLANMODEL_H

#include "ymorderrecord.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

// The order plan table: the day's order rows grouped by up to three criteria
// (order plan, file, machine) in the user's column order, followed by the
// planned and completed quantities and the completion rate. One or two
// criteria sum the quantities per group; three list every order row.
class YmTablePlanModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The grouping criteria; their numbers (plus one) are the digits of the
    // saved "PlanCheckOrder" and "PlanFilter" settings.
    enum Criterion { PlanCriterion = 0, FileCriterion = 1, MachineCriterion = 2 };
    using ColumnOrder = QVector<Criterion>;

    // One table row: the group values in column order, the sums and, where a
    // machine column is shown, the machine key of the row's (first) order row.
    // clang-tidy 14 reports the compiler's index variable in the implicit copy
    // of the array member as a reserved name of ours: it is not.
    struct TableRow // NOLINT(bugprone-reserved-identifier)
    {
        QString groups[3];
        int planned = 0;
        int completed = 0;
        double rate = 0.0;
        QString macKey;
    };

    explicit YmTablePlanModel(QObject *parent = nullptr);

    // The column title of a criterion, in the current language.
    static QString criterionTitle(Criterion criterion);
    // The criterion's value in an order row.
    static const QString &criterionValue(const YmOrderRecord &row, Criterion criterion);
    // "67.83%": the rate with two decimals, as the board shows rates.
    static QString rateText(double rate);

    // Takes effect with the next rebuild. An order of none, or of four or more
    // criteria, groups nothing; with two, the third column is the remaining one.
    void setColumnOrder(const ColumnOrder &order);
    const ColumnOrder &columnOrder() const { return m_columnOrder; }
    // Rebuilds the headers and the rows from the column order.
    void refresh();
    void setPlanList(const QVector<YmOrderRecord> &plans);
    // Takes the plans without regrouping: the next refresh() regroups them.
    void takePlanList(const QVector<YmOrderRecord> &plans);
    // Takes the listed rows of the board's day (the same list the plan list
    // was loaded from) and rebuilds, or only marks the table stale for a
    // window that nobody looks at: it then lags behind until rebuildIfStale().
    void updateRows(const QVector<YmOrderRecord> &rows, const QVector<int> &changed,
                    bool rebuildNow);
    bool isStale() const { return m_stale; }
    void rebuildIfStale();

    const QVector<TableRow> &rows() const { return m_rows; }
    const QVector<YmOrderRecord> &planList() const { return m_planList; }

    // How many leading group columns the current rows carry (0 to 3).
    int groupColumnCount() const { return m_groupColumns; }
    // The criterion of a group column, or -1.
    int columnCriterion(int column) const;
    // A row's group values: what identifies it across a rebuild.
    QStringList rowKey(int row) const;
    // The row carrying key for the occurrence-th time (0 = first), or -1.
    int findRow(const QStringList &key, int occurrence = 0) const;
    // How many rows before row carry the same key.
    int keyOccurrence(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void rebuild();
    ColumnOrder groupOrder() const;

    QStringList m_headers;
    ColumnOrder m_columnOrder;
    QVector<TableRow> m_rows;
    QVector<YmOrderRecord> m_planList;
    int m_groupColumns = 0;
    bool m_stale = false;
};

#endif // YMTABLEPLANMODEL_H
