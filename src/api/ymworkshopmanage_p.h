#ifndef YMWORKSHOPMANAGE_P_H
#define YMWORKSHOPMANAGE_P_H

#include "ymworkshopmanage.h"

#include <QObject>
#include <QPointer>

class YmWorkshopManagePage;

// The facade's private object: owns the dashboard page and turns the page's
// signals into calls of the host's plain function callbacks.
class YmWorkshopManagePrivate : public QObject
{
    Q_OBJECT

public:
    YmWorkshopManagePrivate(YmWorkshopManage *q, QObject *parent = nullptr);
    ~YmWorkshopManagePrivate() override;

    static YmWorkshopManagePrivate *get(YmWorkshopManage *q) { return q ? q->d : nullptr; }

    YmWorkshopManage *const q_ptr;
    // The page is a parentless top-level window; the guard keeps us safe when a
    // host closes it with WA_DeleteOnClose or deletes it behind our back.
    QPointer<YmWorkshopManagePage> page;
    void *context = nullptr;

    YmWorkshopManage::QueryDatePlanCB queryDatePlanCB = nullptr;
    YmWorkshopManage::AddDatePlanCB addDatePlanCB = nullptr;
    YmWorkshopManage::EditDatePlanCB editDatePlanCB = nullptr;
    YmWorkshopManage::DelDatePlanCB delDatePlanCB = nullptr;
    YmWorkshopManage::PlanStopSettingPageShowCB planStopSettingPageShowCB = nullptr;
    YmWorkshopManage::PlanWorkTimeSettingPageShowCB planWorkTimeSettingPageShowCB = nullptr;
    YmWorkshopManage::UpdateDateInitDataCB updateDateInitDataCB = nullptr;
    YmWorkshopManage::SaveKeyAttrCB saveKeyAttrCB = nullptr;
    YmWorkshopManage::CurrentDateTimeCB currentDateTimeCB = nullptr;

    void setCurrentDateTimeCB(YmWorkshopManage::CurrentDateTimeCB cb);
};

#endif // YMWORKSHOPMANAGE_P_H
