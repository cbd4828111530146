#include "ymworkshopmanage.h"

#include "ymnotifymanager.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagepage.h"

YmWorkshopManage::YmWorkshopManage(QObject *parent)
    : QObject(parent)
    , d(new YmWorkshopManagePrivate(this, parent))
{}

YmWorkshopManage::~YmWorkshopManage()
{
    delete d;
}

void YmWorkshopManage::show()
{
    YmWorkshopManagePage *page = d->page;
    if (!page)
        return;
    if (!page->isHidden())
        page->activateWindow();
    page->showMaximized();
}

void YmWorkshopManage::hide()
{
    if (d->page)
        d->page->hide();
}

void YmWorkshopManage::retranslateUi(int language)
{
    if (d->page)
        d->page->retranslateUi(language);
}

void YmWorkshopManage::setData(void *data)
{
    d->context = data;
}

void YmWorkshopManage::setQueryDatePlanCB(QueryDatePlanCB cb)
{
    d->queryDatePlanCB = cb;
}

void YmWorkshopManage::setAddDatePlanCB(AddDatePlanCB cb)
{
    d->addDatePlanCB = cb;
}

void YmWorkshopManage::setEditDatePlanCB(EditDatePlanCB cb)
{
    d->editDatePlanCB = cb;
}

void YmWorkshopManage::setDelDatePlanCB(DelDatePlanCB cb)
{
    d->delDatePlanCB = cb;
}

void YmWorkshopManage::setPlanStopSettingPageShowCB(PlanStopSettingPageShowCB cb)
{
    d->planStopSettingPageShowCB = cb;
}

void YmWorkshopManage::setPlanWorkTimeSettingPageShowCB(PlanWorkTimeSettingPageShowCB cb)
{
    d->planWorkTimeSettingPageShowCB = cb;
}

void YmWorkshopManage::setUpdateDateInitDataCB(UpdateDateInitDataCB cb)
{
    d->updateDateInitDataCB = cb;
}

void YmWorkshopManage::setSaveKeyAttrCB(SaveKeyAttrCB cb)
{
    d->saveKeyAttrCB = cb;
}

void YmWorkshopManage::setCurrentDateTimeCB(CurrentDateTimeCB cb)
{
    d->setCurrentDateTimeCB(cb);
}

void YmWorkshopManage::initDatas(const QList<QVariant> &planData, const QList<QVariant> &macList,
                                 const QList<QVariant> &stopList, const QString &startTime,
                                 const QString &endTime, double workMinutes)
{
    if (d->page)
        d->page->initDatas(planData, macList, stopList, startTime, endTime, workMinutes);
}

void YmWorkshopManage::updateMacState(const QString &macKey, int state, const QString &macName)
{
    if (d->page)
        d->page->updateMacState(macKey, state, macName);
}

void YmWorkshopManage::updateMacProcess(const QString &macKey, const QList<QVariant> &process)
{
    if (d->page)
        d->page->updateMacProcess(macKey, process);
}

void YmWorkshopManage::updateLv1Name(const QString &oldName, const QString &newName)
{
    if (d->page)
        d->page->updateLv1Name(oldName, newName);
}

void YmWorkshopManage::updateWorkTimeData(const QString &startTime, const QString &endTime,
                                          int workMinutes)
{
    if (d->page)
        d->page->updateWorkTimeData(startTime, endTime, workMinutes);
}

void YmWorkshopManage::queryDatePlan(const QString &date, const QList<QVariant> &plans)
{
    if (d->page)
        d->page->queryDatePlan(date, plans);
}

QList<QVariant> YmWorkshopManage::notifyHistory() const
{
    // No manager means nothing was ever notified; asking must not make one.
    YmNotifyManager *manager = YmNotifyManager::existingInstance();
    return manager ? manager->historyRecords() : QList<QVariant>();
}
