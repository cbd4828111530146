#include "ymworkshopplantable.h"
#include "ui_ymworkshopplantable.h"

#include "ymitempixmaptext.h"
#include "ymresources.h"
#include "ymtableviewwidget.h"

#include <QPixmap>

namespace {

constexpr int kMedalCount = 3;

} // namespace

YmWorkshopPlanTable::YmWorkshopPlanTable(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::YmWorkshopPlanTable)
{
    ui->setupUi(this);
    ui->widget_top1->setPixmap(ymBoardPixmap(QStringLiteral(":/image/first.png")));
    ui->widget_top2->setPixmap(ymBoardPixmap(QStringLiteral(":/image/second.png")));
    ui->widget_top3->setPixmap(ymBoardPixmap(QStringLiteral(":/image/third.png")));
}

YmWorkshopPlanTable::~YmWorkshopPlanTable()
{
    delete ui;
}

void YmWorkshopPlanTable::setTableData(const QVector<YmOrderModel::MachineCounts> &machines)
{
    ui->widget_table->setMachineCounts(machines);
    refreshMedals();
}

void YmWorkshopPlanTable::updateTableMachine(const YmOrderModel::MachineCounts &machine)
{
    ui->widget_table->updateMachineCounts(machine);
    refreshMedals();
}

void YmWorkshopPlanTable::updateTableName(const QString &macKey, const QString &macName)
{
    ui->widget_table->updateMacName(macKey, macName);
    refreshMedals();
}

YmTableViewWidget *YmWorkshopPlanTable::tableWidget() const
{
    return ui->widget_table;
}

YmItemPixmapText *YmWorkshopPlanTable::medal(int rank) const
{
    switch (rank) {
    case 0:
        return ui->widget_top1;
    case 1:
        return ui->widget_top2;
    case 2:
        return ui->widget_top3;
    default:
        return nullptr;
    }
}

void YmWorkshopPlanTable::refreshMedals()
{
    if (!ui->widget_table->updateTopThree())
        return;
    for (int rank = 0; rank < kMedalCount; ++rank) {
        QString name;
        int completed = 0;
        ui->widget_table->getRowInfo(rank, name, completed);
        // A medal never shows a nameless machine; it keeps its last caption.
        if (!name.isEmpty())
            medal(rank)->setText(name + QLatin1Char('\n') + QString::number(completed));
    }
}
