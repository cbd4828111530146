// The figures of the board's performance table, each at the sample day and at
// the large workshop at the end of a busy day (500 machines in 40 groups, 300
// plans, 3,000 order rows, 200,000 pieces): the host's calls through the
// board page, every panel's paint at its size in a 1920 x 1080 board, the
// whole board's render, the two tables' models, and the straightforward
// refresh (linear name lists over the variant rows) next to the model's.
//
// scripts/run-bench runs this program (and the others) and prints the table;
// the peak memory figures come from separate runs of BM_PeakMemory, one day
// per process, so that one day's allocations do not hide the other's.
#include "ymbenchmain.h"
#include "ymclock.h"
#include "ymdateplanprogressdata.h"
#include "ymliteralplanprogress.h"
#include "ymmacstatepage.h"
#include "ymnotifymanager.h"
#include "ymordermodel.h"
#include "ymtablemodel.h"
#include "ymtableplanmodel.h"
#include "ymtablesortproxymodel.h"
#include "ymtableviewwidget.h"
#include "ymworkshopdateplanprogress.h"
#include "ymworkshopday.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopmanage.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopplanratepage.h"
#include "ymworkshopplantable.h"
#include "ymworkshopverticalbarchart.h"

#include <QCoreApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

#include <sys/resource.h>

namespace {

enum Day { SampleDay = 0, LargeWorkshop = 1 };

const QDate kDay(2024, 3, 5);

// The sample day gets a few pieces per row too, so that its progress line has
// points; the large workshop is the busy day of 200,000 pieces.
// (Each day is built on first use only: the sample day's peak memory run
// must not hold the large one.)
const YmWorkshopDay &sampleWorkshop()
{
    static const YmWorkshopDay sample = [] {
        YmWorkshopDay w = YmWorkshopDay::sampleDay(kDay);
        w.fillPieces(400);
        return w;
    }();
    return sample;
}

const YmWorkshopDay &largeWorkshop()
{
    static const YmWorkshopDay large = YmWorkshopDay::busyDay(200000, kDay);
    return large;
}

const YmWorkshopDay &workshop(int day)
{
    return day == SampleDay ? sampleWorkshop() : largeWorkshop();
}

// Late in the day: every label up to 19:00 has its point.
void fixClock()
{
    YmClock::setFixed(QDateTime(kDay, QTime(19, 30)));
}

void label(benchmark::State &state, int day)
{
    state.SetLabel(day == SampleDay ? "sample day" : "large workshop");
}

// One 1920 x 1080 board per day, loaded once and shared; released before the
// application goes.
std::unique_ptr<YmWorkshopManagePage> g_boards[2];

YmWorkshopManagePage &board(int day)
{
    std::unique_ptr<YmWorkshopManagePage> &page = g_boards[day];
    if (!page) {
        fixClock();
        page = std::make_unique<YmWorkshopManagePage>();
        page->setGeometry(0, 0, 1920, 1080);
        page->show();
        const YmWorkshopDay &w = workshop(day);
        page->initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
        QCoreApplication::processEvents();
    }
    return *page;
}

void BM_InitDatas(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    YmWorkshopManagePage &page = board(day);
    for (auto _ : state)
        page.initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
    QCoreApplication::processEvents();
    label(state, day);
}

// initDatas through the public API on a shown 1920 x 1080 board, as a host
// calls it at start and after every plan change; the events it causes (layout,
// repaint, pop-ups) run between the calls, outside the timing.
void BM_InitDatasShownFacade(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    fixClock();
    YmWorkshopManage facade;
    facade.show();
    YmWorkshopManagePage *page = YmWorkshopManagePrivate::get(&facade)->page;
    page->setGeometry(0, 0, 1920, 1080);
    facade.initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        facade.initDatas(w.planData, w.macList, w.stopList, w.startTime, w.endTime, w.workMinutes);
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    label(state, day);
}

// Process reports of the day's process machine, each with 10 pieces at seconds
// no earlier report used (19:00 onwards), spread over its files like the
// generator's; completed is the file's running total of those pieces.
QVector<QVariantList> freshReports(const YmWorkshopDay &w, int count)
{
    QStringList files;
    for (const QVariant &entry : w.process)
        files << entry.toList().value(0).toString();
    QVector<int> totals(files.size(), 0);
    QVector<QVariantList> reports;
    const QDateTime midnight(w.day, QTime(0, 0));
    int second = 19 * 3600;
    for (int r = 0; r < count; ++r) {
        QVariantList report;
        for (int f = 0; f < files.size(); ++f) {
            const int n = 10 * (f + 1) / files.size() - 10 * f / files.size();
            YmPieceMap pieces;
            for (int k = 0; k < n; ++k)
                pieces.insert(
                    midnight.addSecs(second++).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), 1);
            totals[f] += n;
            report << QVariant(QVariantList{files.at(f), QVariant::fromValue(pieces), totals[f]});
        }
        reports << report;
    }
    return reports;
}

// The next fresh report of the day. 18,000 seconds from 19:00 to midnight:
// enough for every iteration of every repetition.
const QVariantList &nextReport(int day)
{
    static QVector<QVariantList> reports[2];
    static int next[2] = {0, 0};
    if (reports[day].isEmpty())
        reports[day] = freshReports(workshop(day), 1800);
    return reports[day].at(next[day]++ % reports[day].size());
}

// One host report of 10 new pieces at the end of the day: everything the board
// does inside the call (progress panel, plan window, statistics table, order
// rows, refresh and notifications). The board's repaint is the render figure.
void BM_UpdateMacProcess(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    YmWorkshopManagePage &page = board(day);
    fixClock();
    for (auto _ : state)
        page.updateMacProcess(w.processMacKey, nextReport(day));
    QCoreApplication::processEvents();
    label(state, day);
}

// The day's forecast as the progress chart asks for it at every paint after a
// report: at the middle of the working day, where it has a pace and a time left.
void BM_Forecast(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopManagePage &page = board(day);
    const auto *chart = page.findChild<YmWorkshopDatePlanProgress *>();
    const YmDatePlanProgressData &data = chart->dayData();
    const QTime start = QTime::fromString(data.workStart(), YmDatePlanProgressData::timeFormat());
    const QTime end = QTime::fromString(data.workEnd(), YmDatePlanProgressData::timeFormat());
    const QTime now = start.addSecs(start.secsTo(end) / 2);
    if (!data.forecast(now).valid)
        state.SkipWithError("no forecast at the middle of the day");
    for (auto _ : state)
        benchmark::DoNotOptimize(data.forecast(now).projected);
    label(state, day);
}

// The plans at risk as the board recomputes them once a minute: every row's
// pieces read into per-plan lists, then each plan's projection.
void BM_PlansAtRisk(benchmark::State &state)
{
    const int day = int(state.range(0));
    YmWorkshopManageMainPage &main = *board(day).mainPage();
    for (auto _ : state)
        main.updatePlansAtRisk(YmWorkshopManageMainPage::RiskUpdate::Now);
    label(state, day);
}

void BM_RefreshDashboard(benchmark::State &state)
{
    const int day = int(state.range(0));
    YmWorkshopManageMainPage &main = *board(day).mainPage();
    for (auto _ : state)
        main.refreshDashboard();
    label(state, day);
}

// The refresh computed as its algorithm reads: one pass over the variant rows
// with linear name lists and maps per name, bars and notification texts.
struct LiteralFigures
{
    QVariantList planBars;
    QVariantList groupBars;
    int totalPlanned = 0;
    int totalCompleted = 0;
    QStringList notifications;
};

LiteralFigures literalRefresh(const QVariantList &rows)
{
    LiteralFigures out;
    QStringList planNames;
    QStringList groupNames;
    QMap<QString, int> planPlanned, planCompleted, planThreshold, groupPlanned, groupCompleted;
    for (const QVariant &rowValue : rows) {
        const QVariantList row = rowValue.toList();
        const QString plan = row.value(0).toString();
        const QString group = row.value(4).toString();
        const int planned = row.value(6).toInt();
        const int completed = row.value(7).toInt();
        if (!planNames.contains(plan))
            planNames << plan;
        if (!groupNames.contains(group))
            groupNames << group;
        out.totalPlanned += planned;
        planPlanned[plan] += planned;
        groupPlanned[group] += planned;
        out.totalCompleted += completed;
        planThreshold[plan] = row.value(8).toInt();
        planCompleted[plan] += completed;
        groupCompleted[group] += completed;
    }
    for (const QString &group : qAsConst(groupNames))
        out.groupBars << QVariant(
            QVariantList{group, groupPlanned.value(group), groupCompleted.value(group)});
    for (const QString &plan : qAsConst(planNames)) {
        const int q = planPlanned.value(plan);
        const int d = planCompleted.value(plan);
        out.planBars << QVariant(QVariantList{plan, q, d});
        const int t = planThreshold.value(plan);
        if (t == 0 || q == 0)
            continue;
        const int percent = d * 100 / q;
        if (percent > t)
            out.notifications << QStringLiteral("计划订单：%1(%2/%3)%4%")
                                     .arg(plan, QString::number(d), QString::number(q),
                                          QString::number(double(percent), 'f', 2));
    }
    return out;
}

// The model's refresh figures (what refreshDashboard computes before handing on).
void BM_RefreshFigures(benchmark::State &state)
{
    const int day = int(state.range(0));
    YmOrderModel model;
    model.setRows(workshop(day).records());
    for (auto _ : state) {
        const YmDashboardFigures figures = model.dashboardFigures();
        benchmark::DoNotOptimize(&figures);
    }
    label(state, day);
}

void BM_LiteralRefreshFigures(benchmark::State &state)
{
    const int day = int(state.range(0));
    const QVariantList &rows = workshop(day).rows;
    for (auto _ : state) {
        const LiteralFigures figures = literalRefresh(rows);
        benchmark::DoNotOptimize(&figures);
    }
    label(state, day);
}

// The progress panel's data on a process report: running counts against every
// piece parsed again on every report.
void BM_ProgressUpdate(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    fixClock();
    YmDatePlanProgressData data;
    data.setDayData(w.records(), w.stops(), w.startTime, w.endTime, w.workMinutes);
    YmOrderModel board;
    board.setRows(w.records());
    const auto pieces = board.applyProcess(w.processMacKey, w.processEntries()).pieces;
    for (auto _ : state)
        data.addPieces(pieces);
    label(state, day);
}

void BM_LiteralProgressUpdate(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    fixClock();
    YmLiteralPlanProgress data;
    data.setDayData(w.rows, w.stopList, w.startTime, w.endTime, w.workMinutes);
    YmOrderModel board;
    board.setRows(w.records());
    const auto pieces = board.applyProcess(w.processMacKey, w.processEntries()).pieces;
    for (auto _ : state) {
        data.added.clear();
        data.addPieces(pieces);
    }
    label(state, day);
}

// Paints one panel of the loaded board into an image of its own size.
template<typename Panel>
void paintPanel(benchmark::State &state, const char *objectName)
{
    const int day = int(state.range(0));
    auto *panel = board(day).findChild<Panel *>(QString::fromLatin1(objectName));
    if (!panel) {
        state.SkipWithError("panel not found");
        return;
    }
    fixClock();
    QImage image(panel->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(QColor(0, 7, 62));
        // Only the panel's own paint: the board paints no window background
        // under a panel.
        panel->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(image.constBits());
    }
    label(state, day);
    state.counters["width"] = panel->width();
    state.counters["height"] = panel->height();
}

void BM_PaintMacState(benchmark::State &state)
{
    paintPanel<YmMacStatePage>(state, "dockWidgetContents_macState");
}

void BM_PaintStatsTable(benchmark::State &state)
{
    paintPanel<YmWorkshopPlanTable>(state, "dockWidgetContents_table");
}

void BM_PaintPlanRate(benchmark::State &state)
{
    paintPanel<YmWorkshopPlanRatePage>(state, "dockWidgetContents_planRate");
}

void BM_PaintOrderBars(benchmark::State &state)
{
    paintPanel<YmWorkshopHorizontalBarChart>(state, "dockWidgetContents_datePlanTotalProgress");
}

void BM_PaintProgress(benchmark::State &state)
{
    paintPanel<YmWorkshopDatePlanProgress>(state, "dockWidgetContents_datePlanProgress");
}

void BM_PaintGroupBars(benchmark::State &state)
{
    paintPanel<YmWorkshopVerticalBarchart>(state, "dockWidgetContents_planState");
}

// The whole page (title band, docks and every panel) rendered into a
// 1920 x 1080 image.
void BM_RenderBoard(benchmark::State &state)
{
    const int day = int(state.range(0));
    YmWorkshopManagePage &page = board(day);
    fixClock();
    QImage image(page.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        page.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    label(state, day);
    state.counters["width"] = page.width();
    state.counters["height"] = page.height();
}

// A frame after new data, as the window has it: one report of 10 new pieces,
// then the repaint of what it changed into the window's backing store (the
// offscreen platform's image). New numbers are new texts, so part of every
// changed panel is painted afresh.
void BM_UpdateAndRepaint(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    YmWorkshopManagePage &page = board(day);
    fixClock();
    QCoreApplication::sendPostedEvents();
    for (auto _ : state) {
        page.updateMacProcess(w.processMacKey, nextReport(day));
        QCoreApplication::sendPostedEvents(); // the update request: the repaint
    }
    label(state, day);
}

// A new day list in the plan model with all three grouping criteria, then a
// click on the rate column through the proxy.
void BM_PlanModelRebuildSort(benchmark::State &state)
{
    const int day = int(state.range(0));
    const QVector<YmOrderRecord> rows = workshop(day).records();
    YmTablePlanModel model;
    YmTableSortProxyModel proxy;
    proxy.setSourceModel(&model);
    model.setColumnOrder({YmTablePlanModel::PlanCriterion, YmTablePlanModel::FileCriterion,
                          YmTablePlanModel::MachineCriterion});
    model.refresh();
    bool descending = false;
    for (auto _ : state) {
        model.setPlanList(rows);
        proxy.sort(5, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        descending = !descending;
    }
    label(state, day);
    state.counters["order rows"] = double(rows.size());
    state.counters["table rows"] = double(model.rowCount());
}

// The statistics model's load: every machine's record ranked.
void BM_StatsModelLoad(benchmark::State &state)
{
    const int day = int(state.range(0));
    YmOrderModel board;
    board.setRows(workshop(day).records());
    const QVector<YmOrderModel::MachineCounts> machines = board.machineCounts();
    YmTableModel model;
    model.setHeaderLabels();
    for (auto _ : state) {
        model.setMachineCounts(machines);
        benchmark::DoNotOptimize(model.rowCount());
    }
    label(state, day);
    state.counters["machines"] = model.rowCount();
}

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// Run alone, one day per process: the peak resident size after the board has
// loaded the day (and painted once), then after 10,000 process reports.
void BM_PeakMemory(benchmark::State &state)
{
    const int day = int(state.range(0));
    const YmWorkshopDay &w = workshop(day);
    YmWorkshopManagePage &page = board(day);
    QImage image(page.size(), QImage::Format_ARGB32_Premultiplied);
    page.render(&image);
    const double loaded = peakMiB();
    const QVector<QVariantList> reports = freshReports(w, 1700);
    int i = 0;
    for (auto _ : state) {
        page.updateMacProcess(w.processMacKey, reports.at(i++ % reports.size()));
        if (i % 100 == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    label(state, day);
    state.counters["peak MiB after the day"] = loaded;
    state.counters["peak MiB after 10000 updates"] = peakMiB();
}

} // namespace

#define YM_BOTH_DAYS(bm)                                                                           \
    BENCHMARK(bm)->Arg(SampleDay)->Arg(LargeWorkshop)->Unit(benchmark::kMicrosecond)

YM_BOTH_DAYS(BM_InitDatas);
YM_BOTH_DAYS(BM_InitDatasShownFacade);
YM_BOTH_DAYS(BM_UpdateMacProcess)->Iterations(300);
YM_BOTH_DAYS(BM_RefreshDashboard);
YM_BOTH_DAYS(BM_Forecast);
YM_BOTH_DAYS(BM_PlansAtRisk);
YM_BOTH_DAYS(BM_RefreshFigures);
YM_BOTH_DAYS(BM_LiteralRefreshFigures);
YM_BOTH_DAYS(BM_ProgressUpdate);
// Every piece of the busy day parsed for every axis label: seconds per call.
BENCHMARK(BM_LiteralProgressUpdate)->Arg(SampleDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralProgressUpdate)
    ->Arg(LargeWorkshop)
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMicrosecond);
YM_BOTH_DAYS(BM_PaintMacState);
YM_BOTH_DAYS(BM_PaintStatsTable);
YM_BOTH_DAYS(BM_PaintPlanRate);
YM_BOTH_DAYS(BM_PaintOrderBars);
YM_BOTH_DAYS(BM_PaintProgress);
YM_BOTH_DAYS(BM_PaintGroupBars);
YM_BOTH_DAYS(BM_RenderBoard);
YM_BOTH_DAYS(BM_UpdateAndRepaint)->Iterations(60);
YM_BOTH_DAYS(BM_PlanModelRebuildSort);
YM_BOTH_DAYS(BM_StatsModelLoad);
YM_BOTH_DAYS(BM_PeakMemory)->Iterations(10000);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, true, [] {
        for (auto &page : g_boards)
            page.reset();
        YmNotifyManager::destroyInstance();
        YmClock::setFixed(QDateTime());
    });
}
