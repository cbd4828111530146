#include "ymworkshopplanratepage.h"

#include "ymdashboardfigures.h"

#include "ui_ymworkshopplanratepage.h"

#include <QEvent>

YmWorkshopPlanRatePage::YmWorkshopPlanRatePage(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::YmWorkshopPlanRatePage)
{
    ui->setupUi(this);
    setTitles();
}

void YmWorkshopPlanRatePage::setTitles()
{
    ui->widget_completed->setTitle(tr("已完成量"));
    ui->widget_last->setTitle(tr("未完成量"));
}

void YmWorkshopPlanRatePage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        setTitles();
    QWidget::changeEvent(event);
}

YmWorkshopPlanRatePage::~YmWorkshopPlanRatePage()
{
    delete ui;
}

void YmWorkshopPlanRatePage::setCompletion(int total, int completed)
{
    ui->widget_completed->setValue(completed);
    // Subtracted in 64 bits and held to the int range, so that extreme counts
    // neither overflow nor turn the sign of what is left.
    ui->widget_last->setValue(
        YmDashboardFigures::saturatedInt(qint64(total) - qint64(completed)));
    ui->widget->setTotal(total);
    ui->widget->setCompleted(completed);
}

const YmWorkshopPlanRateChart *YmWorkshopPlanRatePage::chart() const
{
    return ui->widget;
}

const YmWorkshopPlanRateLabel *YmWorkshopPlanRatePage::completedLabel() const
{
    return ui->widget_completed;
}

const YmWorkshopPlanRateLabel *YmWorkshopPlanRatePage::outstandingLabel() const
{
    return ui->widget_last;
}
