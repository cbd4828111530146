#ifndef YMTABLEPLANMODEL_H
#define YMTABLEPLANMODEL_H

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariantList>

// The order plan table: the day's order rows grouped by up to three criteria
// (order plan, file, machine) in the user's column order, followed by the
// planned and completed quantities and the completion rate. One or two
// criteria sum the quantities per group; three list every order row.
//
// A table row is a QVariantList: the group values, planned (int), completed
// (int), rate (double, percent) and, with two or three criteria or with the
// machine alone, a hidden trailing machine key that no column shows.
class YmTablePlanModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit YmTablePlanModel(QObject *parent = nullptr);

    // The criterion titles as the model recognises them.
    static QString planTitle();
    static QString fileTitle();
    static QString macTitle();

    // Stores the criterion titles in use; takes effect with the next rebuild.
    void setColumnOrder(const QStringList &order);
    QStringList columnOrder() const { return m_columnOrder; }
    // Rebuilds the headers and the rows from the column order.
    void refresh();
    void setPlanList(const QVariantList &plans);
    // Sets the completed quantity of the machine's first order row of each
    // entry's file, then rebuilds.
    void updateMacProcess(const QString &key, const QVariantList &items);
    // The same change to the order rows without the rebuild, for a window that
    // nobody looks at: the rows lag behind until rebuildIfStale().
    void applyProcess(const QString &key, const QVariantList &items);
    bool isStale() const { return m_stale; }
    void rebuildIfStale();

    const QVariantList &rows() const { return m_rows; }
    const QVariantList &planList() const { return m_planList; }

    // How many leading group columns the current rows carry (0 to 3).
    int groupColumnCount() const { return m_groupColumns; }
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

    QStringList m_headers;
    QStringList m_columnOrder;
    QVariantList m_rows;
    QVariantList m_planList;
    int m_groupColumns = 0;
    bool m_stale = false;
};

#endif // YMTABLEPLANMODEL_H
