#ifndef YMWORKSHOPPLANTABLE_H
#define YMWORKSHOPPLANTABLE_H

#include "ymordermodel.h"

#include <QString>
#include <QVector>
#include <QWidget>

namespace Ui {
class YmWorkshopPlanTable;
}

class YmItemPixmapText;
class YmTableViewWidget;

// Per-machine order statistics: a podium of three medals (second, first,
// third from left to right) above the ranked table. The medals follow the
// table's first three rows.
class YmWorkshopPlanTable : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopPlanTable(QWidget *parent = nullptr);
    ~YmWorkshopPlanTable() override;

    // One line per machine: the sums over its order rows.
    void setTableData(const QVector<YmOrderModel::MachineCounts> &machines);
    void updateTableMachine(const YmOrderModel::MachineCounts &machine);
    void updateTableName(const QString &macKey, const QString &macName);

    YmTableViewWidget *tableWidget() const;
    // The medal of a rank: 0 first, 1 second, 2 third.
    YmItemPixmapText *medal(int rank) const;

private:
    void refreshMedals();

    Ui::YmWorkshopPlanTable *ui;
};

#endif // YMWORKSHOPPLANTABLE_H
