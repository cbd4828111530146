#ifndef YMWORKSHOPMANAGEMAINPAGE_H
#define YMWORKSHOPMANAGEMAINPAGE_H

#include "ymordermodel.h"

#include <QDate>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QVariant>

class QMenu;
class QContextMenuEvent;
class YmDockWidget;
class YmTableViewPlanPage;

namespace Ui {
class YmWorkshopManageMainPage;
}

// The board below the title band: six docked panels, the production data
// model behind them and the board's context menu.
class YmWorkshopManageMainPage : public QMainWindow
{
    Q_OBJECT

public:
    explicit YmWorkshopManageMainPage(QWidget *parent = nullptr);
    ~YmWorkshopManageMainPage() override;

    void initDatas(const QList<QVariant> &planData, const QList<QVariant> &macList,
                   const QList<QVariant> &stopList, const QString &startTime,
                   const QString &endTime, double workMinutes);
    void updateMacState(const QString &macKey, int state, const QString &macName);
    void updateMacProcess(const QString &macKey, const QList<QVariant> &process);
    void updateLv1Name(const QString &oldName, const QString &newName);
    void updateWorkTimeData(const QString &startTime, const QString &endTime, int workMinutes);
    void queryDatePlan(const QString &date, const QList<QVariant> &plans);

    // Pushes the machine state counts into the state panel.
    void recountMachineStates();
    // The board's day changed; the plan window follows when it showed today.
    void followDay(const QDate &today);
    // Rebuilds every figure of the board from the order rows.
    void refreshDashboard();
    // Marks the plans projected below their target at the work end on the
    // order chart, and their machines in the statistics table. Recomputed just
    // after new day data or work times, and otherwise a few seconds after the
    // clock's minute changed (a timer), never inside a host's call.
    enum class RiskUpdate { WhenDue, Now };
    void updatePlansAtRisk(RiskUpdate when = RiskUpdate::WhenDue);

    const YmOrderModel &model() const { return m_model; }
    // Whether two lists name the same plans on the same machines and files
    // with the same quantities, in the same order (counts aside).

    bool isFullScreenFlag() const { return m_fullScreen; }
    void setFullScreenFlag(bool fullScreen) { m_fullScreen = fullScreen; }

    // The board's menu, built fresh for each right click.
    QMenu *createContextMenu(QWidget *parent);
    // Entry point for the page, which shows the same menu over the title band.
    void openContextMenu(QContextMenuEvent *event);

    QList<YmDockWidget *> docks() const;
    // The order-plan window; null before the first initDatas.
    YmTableViewPlanPage *planPage() const;

signals:
    void sChangedTitleFontSize(QString title);
    void sChangedDateTimeFontSize(QString title);
    void sChangedDateTimeLocPos(int pos);
    void sCheckFullScreen();
    void sSaveKeyAttr(QString key, QString attr);
    void sQueryDatePlan(QDate date);
    void sAddDatePlan(QString date, QString planName, QString fileName,
                      QMap<QString, int> mapMacCount, int notifyNum);
    void sEditDatePlan(QString date, QString oldPlanName, QString newPlanName, QString oldFileName,
                       QString newFileName, QMap<QString, int> mapMacCount, int notifyNum);
    void sDelDatePlan(QString date, QString planName);
    void sPlanStopSettingShow();
    void sPlanWorkTimeSettingShow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void setDockTitles();
    void planRiskCheck();
    void showPlanPage();
    void arrangeColumns();

    Ui::YmWorkshopManageMainPage *ui;
    YmOrderModel m_model; // machine state map and the day's order rows
    bool m_fullScreen = false;
    int m_riskMinute = -1; // minute of the day of the last risk marking
    // The order-plan window: parentless, created by the first initDatas, shown by the menu.
    QPointer<YmTableViewPlanPage> m_planPage;
};

#endif // YMWORKSHOPMANAGEMAINPAGE_H
