#include "ymworkshopmanagemainpage.h"
#include "ui_ymworkshopmanagemainpage.h"

#include "ymclock.h"
#include "ymdockwidget.h"
#include "ymmacstatepage.h"
#include "ymnotifymanager.h"
#include "ympayload.h"
#include "ympiecekey.h"
#include "ymtableviewplanpage.h"
#include "ymtableviewwidget.h"
#include "ymworkshopdateplanprogress.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopplanratepage.h"
#include "ymworkshopplantable.h"
#include "ymworkshopverticalbarchart.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QMenu>
#include <QResizeEvent>
#include <QTimer>

namespace {

// How often the plans at risk are looked at; they are recomputed when the
// clock's minute changed since.
constexpr int kRiskCheckInterval = 5000; // ms

// Each plan's planned and completed quantities, summed over its rows, and the
// pieces it made today in [from, to] (seconds of the day). A piece map is
// sorted by its keys, which sort like the times they name, so only the window
// is read: a busy day's rows hold hundreds of thousands of pieces.
QHash<QString, YmDayForecast::PlanPieces> planPieces(const QVector<YmOrderRecord> &rows,
                                                     const QDate &day, int from, int to)
{
    const auto keyAt = [&day](int seconds) -> QString {
        return day.toString(QStringLiteral("yyyy-MM-dd "))
               + QTime(0, 0).addSecs(seconds).toString(QStringLiteral("hh:mm:ss"));
    };
    const QString first = keyAt(from);
    const QString last = keyAt(to);
    QHash<QString, YmDayForecast::PlanPieces> plans;
    for (const YmOrderRecord &row : rows) {
        YmDayForecast::PlanPieces &plan = plans[row.planName];
        plan.planned += row.planned;
        plan.done += row.completed;
        const YmPieceMap &pieces = row.pieces;
        for (auto it = pieces.lowerBound(first); it != pieces.cend() && !(last < it.key()); ++it)
            plan.pieces.append({YmPieceKey::secondsOfDay(it.key()), it.value()});
    }
    return plans;
}

} // namespace

YmWorkshopManageMainPage::YmWorkshopManageMainPage(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::YmWorkshopManageMainPage)
{
    ui->setupUi(this);
    // The board is docks only.
    delete takeCentralWidget();

    setDockNestingEnabled(false);
    setDockOptions(QMainWindow::AllowNestedDocks | QMainWindow::GroupedDragging);

    setDockTitles();
    for (YmDockWidget *dock :
         {ui->dockWidget_table, ui->dockWidget_planRate, ui->dockWidget_datePlanProgress,
          ui->dockWidget_macState, ui->dockWidget_datePlanTotalProgress, ui->dockWidget_planState})
        dock->installEventFilter(this);

    // Left: the statistics table beside completion rate over order progress.
    // Right: machine states over today's progress over production status.
    for (YmDockWidget *dock :
         {ui->dockWidget_table, ui->dockWidget_planRate, ui->dockWidget_planState,
          ui->dockWidget_macState, ui->dockWidget_datePlanTotalProgress,
          ui->dockWidget_datePlanProgress})
        removeDockWidget(dock);
    addDockWidget(Qt::LeftDockWidgetArea, ui->dockWidget_table);
    splitDockWidget(ui->dockWidget_table, ui->dockWidget_planRate, Qt::Horizontal);
    splitDockWidget(ui->dockWidget_planRate, ui->dockWidget_datePlanTotalProgress, Qt::Vertical);
    addDockWidget(Qt::RightDockWidgetArea, ui->dockWidget_macState);
    splitDockWidget(ui->dockWidget_macState, ui->dockWidget_datePlanProgress, Qt::Vertical);
    splitDockWidget(ui->dockWidget_datePlanProgress, ui->dockWidget_planState, Qt::Vertical);
    for (YmDockWidget *dock :
         {ui->dockWidget_table, ui->dockWidget_planRate, ui->dockWidget_datePlanProgress,
          ui->dockWidget_macState, ui->dockWidget_datePlanTotalProgress, ui->dockWidget_planState})
        dock->show();

    // The column proportions follow the window's width.
    installEventFilter(this);

    // Risk follows the clock, not the reports: reading a large workshop's
    // pieces takes milliseconds, more than a report may cost.
    auto *riskTimer = new QTimer(this);
    riskTimer->setInterval(kRiskCheckInterval);
    connect(riskTimer, &QTimer::timeout, this, [this] { updatePlansAtRisk(); });
    riskTimer->start();
}

void YmWorkshopManageMainPage::setDockTitles()
{
    ui->dockWidget_table->setTitle(tr("机器订单生产统计"));
    ui->dockWidget_planRate->setTitle(QString());
    ui->dockWidget_datePlanProgress->setTitle(tr("今日订单完成进度"));
    ui->dockWidget_macState->setTitle(QString());
    ui->dockWidget_datePlanTotalProgress->setTitle(tr("订单进度"));
    ui->dockWidget_planState->setTitle(tr("车间生产状况"));
}

void YmWorkshopManageMainPage::changeEvent(QEvent *event)
{
    // The context menu is built at each click and needs nothing here.
    if (event->type() == QEvent::LanguageChange)
        setDockTitles();
    QMainWindow::changeEvent(event);
}

YmWorkshopManageMainPage::~YmWorkshopManageMainPage()
{
    // The plan window has no parent; it goes with the board.
    delete m_planPage.data();
    delete ui;
}

YmTableViewPlanPage *YmWorkshopManageMainPage::planPage() const
{
    return m_planPage.data();
}

QList<YmDockWidget *> YmWorkshopManageMainPage::docks() const
{
    return {ui->dockWidget_table,
            ui->dockWidget_planRate,
            ui->dockWidget_datePlanTotalProgress,
            ui->dockWidget_macState,
            ui->dockWidget_datePlanProgress,
            ui->dockWidget_planState};
}

void YmWorkshopManageMainPage::initDatas(const QList<QVariant> &planData,
                                         const QList<QVariant> &macList,
                                         const QList<QVariant> &stopList, const QString &startTime,
                                         const QString &endTime, double workMinutes)
{
    const QVector<YmMachineEntry> machines = YmPayload::machineEntries(macList);
    m_model.setMachines(machines);
    recountMachineStates();
    m_model.setRows(YmPayload::planRows(planData));
    const YmPayload::PlanSettings settings = YmPayload::planSettings(planData);

    if (!m_planPage) {
        m_planPage = new YmTableViewPlanPage();
        YmTableViewPlanPage *page = m_planPage;
        connect(page, &YmTableViewPlanPage::sQueryDatePlan, this,
                &YmWorkshopManageMainPage::sQueryDatePlan);
        connect(page, &YmTableViewPlanPage::sAddDatePlan, this,
                &YmWorkshopManageMainPage::sAddDatePlan);
        connect(page, &YmTableViewPlanPage::sEditDatePlan, this,
                &YmWorkshopManageMainPage::sEditDatePlan);
        connect(page, &YmTableViewPlanPage::sDelDatePlan, this,
                &YmWorkshopManageMainPage::sDelDatePlan);
        // The grouping settings reach the host, which hands them back in initDatas.
        connect(page, &YmTableViewPlanPage::sSaveKeyAttr, this,
                &YmWorkshopManageMainPage::sSaveKeyAttr);
        // The plan window's "today" is the board's.
        YmClock::share(this, page);
        page->showToday();
    }
    m_planPage->initDatas(machines, m_model.rows(), settings.filterCheck, settings.checkOrder,
                          settings.filter);
    ui->dockWidgetContents_table->setTableData(m_model.machineCounts());
    ui->dockWidgetContents_datePlanProgress->setDayData(
        m_model.rows(), YmPayload::stopPeriods(stopList), startTime, endTime, workMinutes);
    refreshDashboard();
    planRiskCheck();
}

void YmWorkshopManageMainPage::updateMacState(const QString &macKey, int state,
                                              const QString &macName)
{
    // The state panel follows within a second through the page's clock tick.
    m_model.setMachineState(macKey, state);
    if (m_model.renameMachine(macKey, macName)) {
        if (m_planPage)
            m_planPage->updateMacName(macKey, macName);
        ui->dockWidgetContents_table->updateTableName(macKey, macName);
    }
}

void YmWorkshopManageMainPage::updateMacProcess(const QString &macKey,
                                                const QList<QVariant> &process)
{
    if (!m_model.hasMachine(macKey))
        return;
    // The rows take the report under their one rule; every view then shows
    // the rows' counts.
    const YmOrderModel::Change change
        = m_model.applyProcess(macKey, YmPayload::processEntries(process));
    if (!change.pieces.isEmpty())
        ui->dockWidgetContents_datePlanProgress->addPieces(change.pieces);
    if (m_planPage)
        m_planPage->updateRows(m_model.rows(), change.rows);
    ui->dockWidgetContents_table->updateTableMachine(m_model.machineCounts(macKey));
    refreshDashboard();
}

void YmWorkshopManageMainPage::updateLv1Name(const QString &oldName, const QString &newName)
{
    m_model.renameGroup(oldName, newName);
    refreshDashboard();
}

void YmWorkshopManageMainPage::updateWorkTimeData(const QString &startTime, const QString &endTime,
                                                  int workMinutes)
{
    ui->dockWidgetContents_datePlanProgress->setWorkTime(startTime, endTime, workMinutes);
    planRiskCheck();
}

void YmWorkshopManageMainPage::queryDatePlan(const QString &date, const QList<QVariant> &plans)
{
    if (!m_planPage)
        return;
    // Today is the board's day: the window shows its rows as the board counts
    // them, whatever the host's answer holds (its stored counts may lag behind
    // the reports, and a plan edit reaches the board with the next initDatas).
    // Another day shows what the host sent for it.
    if (date == YmClock::today(this).toString(QStringLiteral("yyyy-MM-dd")))
        m_planPage->queryDatePlan(date, m_model.rows());
    else
        m_planPage->queryDatePlan(date, YmPayload::orderRecords(plans));
}

void YmWorkshopManageMainPage::followDay(const QDate &today)
{
    if (m_planPage)
        m_planPage->followDay(today);
}

void YmWorkshopManageMainPage::recountMachineStates()
{
    const YmStateCounts counts = m_model.stateCounts();
    YmMacStatePage *panel = ui->dockWidgetContents_macState;
    panel->setOnlineCount(counts.online);
    panel->setOfflineCount(counts.offline);
    panel->setWorkingCount(counts.working);
    panel->setAbnormalCount(counts.abnormal);
}

void YmWorkshopManageMainPage::refreshDashboard()
{
    const YmDashboardFigures figures = m_model.dashboardFigures();

    ui->dockWidgetContents_datePlanTotalProgress->setBarData(figures.planBars);
    ui->dockWidgetContents_planRate->setCompletion(figures.totalPlanned, figures.totalCompleted);
    ui->dockWidgetContents_planState->setBarData(figures.groupBars);

    // Every refresh tells the notifier which plans are above their thresholds,
    // also when none is: a plan that fell below may cross again later.
    YmNotifyManager *notifier = figures.notifications.isEmpty()
                                    ? YmNotifyManager::existingInstance()
                                    : YmNotifyManager::instance();
    if (notifier) {
        const QString today = YmClock::today(this).toString(QStringLiteral("yyyy-MM-dd"));
        notifier->notifyPlans(today, figures.notifyingPlans, figures.notifications);
    }
}

void YmWorkshopManageMainPage::planRiskCheck()
{
    // Right after the call rather than inside it: a large workshop's pieces
    // take milliseconds to read, and the host waits for the call.
    m_riskMinute = -1;
    QTimer::singleShot(0, this, [this] { updatePlansAtRisk(); });
}

void YmWorkshopManageMainPage::updatePlansAtRisk(RiskUpdate when)
{
    // A plan's pace is that of a whole hour: once a minute is often enough, and
    // reading every piece of a large workshop's day on every report is not.
    const int now = YmClock::time(this).msecsSinceStartOfDay() / 1000;
    if (when == RiskUpdate::WhenDue && now / 60 == m_riskMinute)
        return;
    m_riskMinute = now / 60;
    const QVector<YmOrderRecord> &rows = m_model.rows();
    const YmDayForecast &forecast = ui->dockWidgetContents_datePlanProgress->dayData().forecaster();
    const QVector<YmDayForecast::Interval> window = forecast.paceWindow(now);
    QSet<QString> plans;
    if (!window.isEmpty()) {
        plans = forecast.plansAtRisk(
            planPieces(rows, YmClock::today(this), window.constFirst().first, now), now);
    }
    QSet<QString> machines;
    if (!plans.isEmpty()) {
        for (const YmOrderRecord &row : rows) {
            if (plans.contains(row.planName))
                machines.insert(row.macKey);
        }
    }
    ui->dockWidgetContents_datePlanTotalProgress->setPlansAtRisk(plans);
    ui->dockWidgetContents_table->tableWidget()->setMachinesAtRisk(machines);
}

QMenu *YmWorkshopManageMainPage::createContextMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    connect(menu->addAction(tr("计划订单数据")), &QAction::triggered, this,
            &YmWorkshopManageMainPage::showPlanPage);
    connect(menu->addAction(tr("计划停机项设置")), &QAction::triggered, this,
            &YmWorkshopManageMainPage::sPlanStopSettingShow);
    connect(menu->addAction(tr("计划上下班时间设置")), &QAction::triggered, this,
            &YmWorkshopManageMainPage::sPlanWorkTimeSettingShow);
    connect(menu->addAction(m_fullScreen ? tr("取消全屏") : tr("全屏")), &QAction::triggered, this,
            &YmWorkshopManageMainPage::sCheckFullScreen);
    connect(menu->addAction(tr("通知记录")), &QAction::triggered, this,
            [] { YmNotifyManager::instance()->showHistory(); });
    return menu;
}

void YmWorkshopManageMainPage::openContextMenu(QContextMenuEvent *event)
{
    contextMenuEvent(event);
}

void YmWorkshopManageMainPage::showPlanPage()
{
    QWidget *page = m_planPage;
    if (!page)
        return;
    if (!page->isHidden())
        page->activateWindow();
    page->showNormal();
}

void YmWorkshopManageMainPage::arrangeColumns()
{
    // Left to itself QMainWindow gives every extra pixel to the right column and
    // squeezes the gauge and the order bars to their minimum width, where their
    // texts no longer fit. Start from 29/27/44 instead; minimums still hold.
    const int w = width();
    resizeDocks({ui->dockWidget_macState}, {w * 44 / 100}, Qt::Horizontal);
    resizeDocks({ui->dockWidget_table, ui->dockWidget_planRate}, {w * 29 / 100, w * 27 / 100},
                Qt::Horizontal);
}

bool YmWorkshopManageMainPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this) {
        if (event->type() == QEvent::Resize) {
            const auto *resize = static_cast<QResizeEvent *>(event);
            if (resize->size().width() != resize->oldSize().width())
                arrangeColumns();
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ContextMenu) {
        auto *dock = qobject_cast<YmDockWidget *>(watched);
        if (dock && docks().contains(dock)) {
            contextMenuEvent(static_cast<QContextMenuEvent *>(event));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void YmWorkshopManageMainPage::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu(this);
    menu->exec(event->globalPos());
    delete menu;
}
