#ifndef YMTABLEMODEL_H
#define YMTABLEMODEL_H

#include "ymordermodel.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

// Machine order statistics: one row per machine (name, planned, completed,
// completion rate), ranked by rising completion rate, equal rates in key order.
//
// A machine's counts are the sums over its order rows (YmOrderModel), the same
// counts every other view shows. The host reports one machine every few
// seconds, so a per-machine change moves only that machine's row to its new
// rank (one rowsMoved plus one dataChanged): views keep their selection on the
// machine and their scroll position.
class YmTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn = 0, PlannedColumn, CompletedColumn, RateColumn, ColumnCount };

    explicit YmTableModel(QObject *parent = nullptr);

    void setHeaderLabels();
    // The full load: resets attached views.
    void setMachineCounts(const QVector<YmOrderModel::MachineCounts> &machines);
    // New sums of one machine; a machine the table does not list is ignored.
    void updateMachineCounts(const YmOrderModel::MachineCounts &machine);
    // Unknown machines are ignored.
    void updateMacName(const QString &key, const QString &name);

    // Name and completed quantity of a row; outputs untouched outside the rows.
    void getRowInfo(int row, QString &name, int &completed) const;
    // True when rows 0 to 2 differ in name or completed quantity from the last
    // call; the cache is refreshed by the same call.
    bool updateTopThree();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Machine key of a row, empty outside the rows.
    QString rowKey(int row) const;
    // The row of a machine key, or -1.
    int rowOf(const QString &key) const { return m_rowOfKey.value(key, -1); }
    // Planned and completed of a row (0, 0 outside the rows).
    QPair<int, int> rowCounts(int row) const;
    // "87.50%": the rate with two decimals.
    static QString rateText(double rate);

private:
    struct Row
    {
        QString key;
        QString name;
        int planned = 0;
        int completed = 0;
        double rate = 0.0;
        QString rateText;
    };

    static Row makeRow(const YmOrderModel::MachineCounts &machine);
    // The ranking order: rate, then key.
    static bool ranksBefore(double rate, const QString &key, const Row &row);
    void rebuildRows();
    // Puts the changed row `from` at its rank, moving it as one row.
    void rerank(int from, Row row);
    void reindex(int first, int last);

    QStringList m_headers;
    QVector<Row> m_rows;
    int fontPointSize = 12;
    QFont m_font;
    QPair<QString, int> m_topThree[3] = {{QString(), 0}, {QString(), 0}, {QString(), 0}};
    QHash<QString, int> m_rowOfKey; // machine key -> its index in m_rows
};

#endif // YMTABLEMODEL_H
