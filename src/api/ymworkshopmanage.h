#ifndef YMWORKSHOPMANAGE_H
#define YMWORKSHOPMANAGE_H

#include "ymworkshopmanage_export.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariant>

class YmWorkshopManagePrivate;

// The workshop management board. A host creates one instance on its GUI thread,
// registers a context pointer and plain function callbacks, pushes the day's
// production data in with the six data calls and shows the board. Every change
// the user makes reaches the host through the callbacks; the module keeps none
// of it.
class YMWORKSHOPMANAGE_EXPORT YmWorkshopManage : public QObject
{
    Q_OBJECT

public:
    using QueryDatePlanCB = void (*)(void *data, const QString &date);
    using AddDatePlanCB
        = void (*)(void *data, const QString &date, const QString &planName,
                   const QString &fileName, const QMap<QString, int> &mapMacCount, int notifyNum);
    using EditDatePlanCB = void (*)(void *data, const QString &date, const QString &oldPlanName,
                                    const QString &newPlanName, const QString &oldFileName,
                                    const QString &newFileName,
                                    const QMap<QString, int> &mapMacCount, int notifyNum);
    using DelDatePlanCB = void (*)(void *data, const QString &date, const QString &planName);
    using PlanStopSettingPageShowCB = void (*)(void *data);
    using PlanWorkTimeSettingPageShowCB = void (*)(void *data);
    using UpdateDateInitDataCB = void (*)(void *data);
    // Optional extensions; a host that registers neither behaves as before.
    using SaveKeyAttrCB = void (*)(void *data, const QString &key, const QString &value);
    using CurrentDateTimeCB = QDateTime (*)(void *data);

    explicit YmWorkshopManage(QObject *parent = nullptr);
    ~YmWorkshopManage() override;

    void show();
    void hide();
    void retranslateUi(int language);

    // Host context, passed unchanged as the first argument of every callback.
    void setData(void *data);

    // Passing nullptr unregisters a callback; its signals are then dropped.
    void setQueryDatePlanCB(QueryDatePlanCB cb);
    void setAddDatePlanCB(AddDatePlanCB cb);
    void setEditDatePlanCB(EditDatePlanCB cb);
    void setDelDatePlanCB(DelDatePlanCB cb);
    void setPlanStopSettingPageShowCB(PlanStopSettingPageShowCB cb);
    void setPlanWorkTimeSettingPageShowCB(PlanWorkTimeSettingPageShowCB cb);
    void setUpdateDateInitDataCB(UpdateDateInitDataCB cb);

    // The plan window's grouping settings ("PlanFilterCheck", "PlanCheckOrder",
    // "PlanFilter"), each time the user changes one. A host stores them and
    // passes them back in planData[1..3] of its next initDatas.
    void setSaveKeyAttrCB(SaveKeyAttrCB cb);
    // The board's time source: the band's clock, the day change, today's
    // progress and the notification titles all read it. For hosts that replay
    // or simulate a day. Null, or an invalid answer, means the system clock.
    void setCurrentDateTimeCB(CurrentDateTimeCB cb);

    void initDatas(const QList<QVariant> &planData, const QList<QVariant> &macList,
                   const QList<QVariant> &stopList, const QString &startTime,
                   const QString &endTime, double workMinutes);
    void updateMacState(const QString &macKey, int state, const QString &macName);
    void updateMacProcess(const QString &macKey, const QList<QVariant> &process);
    void updateLv1Name(const QString &oldName, const QString &newName);
    void updateWorkTimeData(const QString &startTime, const QString &endTime, int workMinutes);
    void queryDatePlan(const QString &date, const QList<QVariant> &plans);

    // Optional: today's notifications, newest first, one QVariantList each:
    // 0 first raised (QString "yyyy-MM-dd hh:mm:ss"), 1 plan name (empty for a
    // notification without a plan), 2 text (the latest), 3 acknowledged (bool),
    // 4 time of the latest text (as 0).
    QList<QVariant> notifyHistory() const;

private:
    Q_DISABLE_COPY(YmWorkshopManage)
    friend class YmWorkshopManagePrivate;
    YmWorkshopManagePrivate *d;
};

#endif // YMWORKSHOPMANAGE_H
