#include "ymworkshopmanage_p.h"

#include "ymclock.h"
#include "ymmetatypes.h"
#include "ymworkshopmanagepage.h"

#include <QDate>

YmWorkshopManagePrivate::YmWorkshopManagePrivate(YmWorkshopManage *q, QObject *parent)
    : QObject(parent)
    , q_ptr(q)
{
    ymRegisterMetaTypes();
    page = new YmWorkshopManagePage();

    YmWorkshopManagePage *p = page.data();
    connect(p, &YmWorkshopManagePage::sQueryDatePlan, this, [this](const QDate &date) {
        if (queryDatePlanCB)
            queryDatePlanCB(context, date.toString(QStringLiteral("yyyy-MM-dd")));
    });
    connect(p, &YmWorkshopManagePage::sAddDatePlan, this,
            [this](const QString &date, const QString &planName, const QString &fileName,
                   const QMap<QString, int> &mapMacCount, int notifyNum) {
                if (addDatePlanCB)
                    addDatePlanCB(context, date, planName, fileName, mapMacCount, notifyNum);
            });
    connect(p, &YmWorkshopManagePage::sEditDatePlan, this,
            [this](const QString &date, const QString &oldPlanName, const QString &newPlanName,
                   const QString &oldFileName, const QString &newFileName,
                   const QMap<QString, int> &mapMacCount, int notifyNum) {
                if (editDatePlanCB)
                    editDatePlanCB(context, date, oldPlanName, newPlanName, oldFileName,
                                   newFileName, mapMacCount, notifyNum);
            });
    connect(p, &YmWorkshopManagePage::sDelDatePlan, this,
            [this](const QString &date, const QString &planName) {
                if (delDatePlanCB)
                    delDatePlanCB(context, date, planName);
            });
    connect(p, &YmWorkshopManagePage::sPlanStopSettingShow, this, [this] {
        if (planStopSettingPageShowCB)
            planStopSettingPageShowCB(context);
    });
    connect(p, &YmWorkshopManagePage::sPlanWorkTimeSettingShow, this, [this] {
        if (planWorkTimeSettingPageShowCB)
            planWorkTimeSettingPageShowCB(context);
    });
    connect(p, &YmWorkshopManagePage::sUpdateDateInit, this, [this] {
        if (updateDateInitDataCB)
            updateDateInitDataCB(context);
    });
    connect(p, &YmWorkshopManagePage::sSaveKeyAttr, this,
            [this](const QString &key, const QString &value) {
                if (saveKeyAttrCB)
                    saveKeyAttrCB(context, key, value);
            });
}

namespace {
// Each board asks its own host.
QDateTime askHostClock(void *data)
{
    auto *d = static_cast<YmWorkshopManagePrivate *>(data);
    return d->currentDateTimeCB ? d->currentDateTimeCB(d->context) : QDateTime();
}
} // namespace

void YmWorkshopManagePrivate::setCurrentDateTimeCB(YmWorkshopManage::CurrentDateTimeCB cb)
{
    currentDateTimeCB = cb;
    if (!page)
        return;
    YmClock::setSource(page.data(), cb ? &askHostClock : nullptr, this);
    page->syncDay();
}

// The page and the plan window it owns are parentless top-level windows; they
// go with the module instance so that a host that creates and deletes the
// board leaks nothing.
YmWorkshopManagePrivate::~YmWorkshopManagePrivate()
{
    setCurrentDateTimeCB(nullptr);
    delete page.data();
}
